// The workspace: the one record that holds the whole state of the system.
//
// Everything the program works on lives here, the way a server keeps its
// state in one global struct: the image block and the planes inside it, the
// display buffers, the scratch buffers, the mesh buffers, the file header,
// the paths and the screen language. Operations are free functions that take
// the Workspace& they read and write. The desktop program owns one instance;
// a test builds a fresh one in a line.
//
// Buffers are obtained once by startWorkspace() and never resized: loading
// an image only moves the plane pointers inside the image block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orx {

// Fixed sizes of the buffers obtained at start-up.
constexpr size_t kDisplayBytes = 5'760'000;    // RS and RS1: 1600 x 1200 x 3
constexpr size_t kDensityBytes = 262'144;      // brush table, 512 x 512
constexpr size_t kBuf1Bytes = 128'000;         // line buffer
constexpr size_t kThumbOffset = 64'000;        // thumbBuffer is the upper half of buf1
constexpr int kThumbWidth = 70;
constexpr int kThumbHeight = 60;
constexpr size_t kThumbBytes = kThumbWidth * kThumbHeight * 3;   // 12,600
constexpr size_t kMaskThumbBytes = kThumbWidth * kThumbHeight;   // 4,200
constexpr size_t kCompanionTextBytes = 30;
constexpr size_t kHeaderBytes = 256;
constexpr uint64_t kMinBlockBytes = 16'000'000;
constexpr uint64_t kBlockStepBytes = 2'000'000;
constexpr int kMaxDisplayRows = 4320;  // an 8K screen

// Mesh buffers: 201 x 201 points of (x, y), and the engine's row table.
constexpr int kMeshMaxPoints = 40'401;
constexpr int kMaxEngineRows = 20'000;

// The paint tools' state: swatches, gradient corners and sets, curve points.
constexpr int kSwatches = 10;
constexpr int kGradientSets = 10;
constexpr int kMaxCurvePoints = 100;

enum ScreenLanguage : int32_t { LangUnset = 0, LangTaiwan = 1, LangEnglish = 3, LangKorea = 4 };

struct Point {
    int32_t x = 0, y = 0;
};

// One run of a scan-line fill: the row and its inclusive columns.
struct FillSpan {
    int32_t y = 0, x0 = 0, x1 = 0;
};

// What secondImage holds now. A dress shades from the model's photograph
// there, so a plane that anything else has written must never be taken for
// it: model loading alone puts the photograph there, and every other writer
// first calls takeSecondImage.
enum class SecondImage : uint8_t {
    Scratch,     // anything else: an edit's backup, a block copy, a whole-image operation's work
    Photograph,  // the model's photograph as model loading left it (the runs re-dress its material area)
};

// Pixels with their coverage floating over the picture until applied
// (engine/piece.h): the text tool's text, the pieces of parts files.
struct FloatingPiece {
    int32_t x = 0, y = 0;           // top-left corner in image pixels, on the picture or not
    int32_t width = 0, height = 0;
    std::vector<uint8_t> pixels;    // width x height x 3: R, G, B
    std::vector<uint8_t> coverage;  // width x height: 0 clear .. 255 opaque
};

// Six look-up curves of 256 levels, each the identity until changed.
struct ToneCurveTables {
    uint8_t level[6][256];
    ToneCurveTables()
    {
        for (auto& curve : level)
            for (int i = 0; i < 256; ++i) curve[i] = uint8_t(i);
    }
    uint8_t* operator[](int curve) { return level[curve]; }
    const uint8_t* operator[](int curve) const { return level[curve]; }
};

struct MeshPoint {
    int32_t x = 0, y = 0;
};

// The engine's current cell: object corners P0..P3 clockwise from top-left,
// material corners Q0 (top-left) and Q2 (bottom-right).
struct MeshCell {
    MeshPoint p[4];
    MeshPoint q0, q2;
};

// The parsed 256-byte container header (models, materials, parts, NIT, EMB).
struct FileHeader {
    uint8_t raw[kHeaderBytes] = {};
    char magic[65] = {};
    int32_t one = 0;             // value at 64
    int32_t width = 0, height = 0;
    uint32_t pixelOffset = 0, pixelBytes = 0;
    int32_t value82 = 0, value84 = 0;
    int32_t thumbWidth = 0, thumbHeight = 0;
    uint32_t thumbOffset = 0, thumbBytes = 0, thumbEnd = 0;
    uint8_t flags102[8] = {};
    int16_t area[4] = {};        // model only: x0, y0, x1, y1
    int16_t whole[4] = {};       // model only: 0, 0, W - 1, H - 1
    char text110[61] = {}, text170[41] = {}, text211[41] = {};
    uint8_t byte210 = 0, bytes251[5] = {};
};

struct Workspace {
    Platform* platform = nullptr;

    // ---- configuration and paths
    int32_t screenLanguage = LangUnset;
    std::string VLX98DIR;        // program directory: help pages, the program file
    std::string configDir;       // the program's settings (filePlaces.h); VLX98DIR when empty
    std::string stateDir;        // its working files: undo snapshots, help hand-over
    std::string WORKDIR;         // work directory: temp image and bitmap
    int32_t environmentReady = 0;
    std::string webExePath;        // the program file
    std::string webCompanionPath;  // the program path with "001" as its last three characters

    // ---- tools
    int32_t toolMode = 0;          // the view's tool selector; 0 for no tool
    int32_t paintTarget = 1;       // 1 colour image, 2 mask
    // What a command chose for the mouse to finish: the file an area save
    // (mode 2) or the mask-edge save (mode 711) writes and the kind of save
    // (regionSave.h), and the colour file modes 123 and 124 add, with its size.
    int32_t areaSaveRequest = 0;
    std::string areaSaveName;
    std::string pasteFileName;
    int32_t pasteWidth = 0, pasteHeight = 0;
    int32_t jpegQuality = 92;      // the JPEG save's quality, remembered between saves

    // ---- paint tools, colour box and air brush (src/tools)
    Rgb penColour{};                     // the colour box's R, G, B
    uint8_t penDensity = 0;              // 0..100: 100 writes the colour, less blends it
    int32_t penWidth = 1;                // 1..5, the side of the square stamp
    Rgb paletteSwatches[kSwatches]{};    // swatch 10 (index 9) is the hole colour
    Rgb gradientCorners[4]{};            // top-left, top-right, bottom-left, bottom-right
    Rgb gradientSets[kGradientSets][4]{};
    int32_t dashPitch = 10;              // dash length of the dashed curves, 1..50
    int32_t dashGap = 3;                 // gap length, 1..50
    Point curvePoints[kMaxCurvePoints];  // clicked curve points, window coordinates
    int32_t curvePointCount = 0;
    int32_t brushRadius = 30;            // air brush, 2..255
    int32_t brushStrength = 30;          // air brush, 5..255
    int32_t densityRadius = 0;           // the radius DENSITY was last built for; 0 when never
    int32_t densityStrength = 0;         // and the strength
    Point cloneOffset{100, -100};        // where the copy brush takes its pixels, from the cursor
    std::string textFont;                // the text tool's font, as the font dialog describes it
    Rgb textColour{};
    std::vector<FillSpan> fillSpans;     // the fills' span stack, kept between fills

    // ---- colour tools: automatic mask, tone curves, colour ways (src/tools)
    // Level tables of byte H, S and V: 255 where the level is in.
    uint8_t sampledHue[256]{}, sampledSaturation[256]{}, sampledValue[256]{};
    uint8_t selectedHue[256]{}, selectedSaturation[256]{}, selectedValue[256]{};
    ToneCurveTables toneCurves;               // R, G, B, H, S, V: the output of each input level
    uint8_t toneSamples[6][256]{};            // 255 where a sampled pixel met the level
    double curveExponents[6] = {1, 1, 1, 1, 1, 1};
    int32_t currentCurve = 4;                 // 1..6: R, G, B, H, S, V
    int32_t colourWayCount = 3;               // 2..5 swatches exchanged
    int32_t picturesAcross = 3, picturesDown = 2;  // 1..8 each
    int32_t tilingMode = 0;                   // 0 colour ways, 1 the repeat test

    // ---- image block
    uint64_t totalRam = 0;
    uint64_t availableRam = 0;
    uint64_t blockSize = 0;
    uint64_t planeCapacity = 0;  // most pixels (W x H) an image may have
    uint64_t maxRgbBytes = 0;    // planeCapacity x 3
    std::unique_ptr<uint8_t[]> block;

    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    uint64_t imageRowBytes = 0;
    uint8_t* image = nullptr;
    uint8_t* secondImage = nullptr;
    SecondImage secondImageHolds = SecondImage::Scratch;
    uint8_t* mask = nullptr;
    uint8_t* maskBackup = nullptr;
    uint8_t* tempImage = nullptr;
    int32_t tempInMemory = 0;
    int32_t imageLoaded = 0;
    std::string currentFileName;

    // ---- display
    std::unique_ptr<uint8_t[]> RS;
    std::unique_ptr<uint8_t[]> RS1;
    size_t displayCapacity = 0;  // bytes of RS and of RS1
    int32_t displayWidth = 0;
    int32_t displayHeight = 0;
    int32_t displayStride = 0;
    uint64_t displayBytes = 0;
    std::unique_ptr<uint64_t[]> displayRowOffset;  // kMaxDisplayRows entries
    int32_t displayScale16 = 16;
    int32_t displayOriginX = 0, displayOriginY = 0;
    int32_t viewCentreX = 0, viewCentreY = 0;  // image point shown at the view's centre
    int32_t clientWidth = 0;   // the view's client width
    int32_t bandTop = 0;       // client height less the 20-pixel status band: the picture's height
    int32_t showFromPosition = 0;  // next paint shows from the view centre instead of fitting
    int32_t maskVisible = 0;
    int32_t maskOverlayMode = 3;
    uint8_t maskOverlayColour[3] = {255, 0, 0};  // display order B, G, R

    // ---- scratch buffers
    std::unique_ptr<uint8_t[]> DENSITY;
    std::unique_ptr<uint8_t[]> buf1;
    uint8_t* thumbBuffer = nullptr;
    FileHeader fileHeader;

    // ---- mesh buffers
    std::unique_ptr<MeshPoint[]> Cpoint0;  // snapshot and scratch of the mesh tool
    std::unique_ptr<MeshPoint[]> Cpoint1;  // object mesh
    std::unique_ptr<MeshPoint[]> Cpoint2;  // material mesh
    std::unique_ptr<uint64_t[]> OFSTBUF;   // byte offset of each image row
    int32_t meshColumns = 0;               // C
    int32_t meshRows = 0;                  // R
    MeshCell cell;

    // ---- the model being dressed
    std::string modelPath;
    int16_t modelArea[4] = {};   // material area x0, y0, x1, y1 from the model header
    std::string materialPath;

    // ---- mapping options
    int32_t softMapping = 0;     // 0 sharp, 1 soft
    int32_t reflection = 0;      // 0 contrast shading, 1 reflection shading
    int32_t repeatLayout = 0;    // 0 normal, 1 horizontal shifted, 2 vertical shifted
    float contrastExponent = 1.0f;
    int32_t contrastIndex = 9;   // entry of the "Contrast Control" list
    uint8_t maskMode = 0;        // 1 once a mask line of an ORX file was installed
    uint8_t contrastTable[256] = {};
    int32_t mappingThreads = 0;  // workers of a run; 0 picks by the machine and the picture
    int32_t pinholeClosing = 1;  // 1: a mapping closes the pinholes it leaves where cells meet
    int32_t lastRunParts = 0;    // MAP lines the last run mapped
    int32_t lastRunFailures = 0; // mask and MAP lines it could not

    // ---- undo and redo: snapshot files in stateDir, only their counts here
    int32_t rgbUndoCount = 0, rgbUndoDepth = 10;
    int32_t rgbRedoCount = 0, rgbRedoDepth = 10;
    int32_t mskUndoCount = 0, mskUndoDepth = 10;
    int32_t mskRedoCount = 0, mskRedoDepth = 10;

    // ---- printing: the placement chosen last (printLayout.h), kept for the run
    int32_t printType = 1;

    // ---- area filters: the block copied by the mirror and flip tools
    int32_t blockX = 0, blockY = 0, blockWidth = 0, blockHeight = 0;

    // ---- flags of the command table
    int32_t meshPresent = 0;
    int32_t modelLoaded = 0;
    int32_t modelMapped = 0;
    int32_t materialChosen = 0;
    int32_t pieceFloating = 0;
    FloatingPiece piece;          // the floating piece while pieceFloating is 1
    int32_t pieceChosen = 0;      // a piece was chosen in the file browser
    int32_t materialVariant = 0;  // material layout variant 0, 1 or 2
};

// Start-up of the workspace, in order: RS, RS1, DENSITY, buf1, the mesh
// buffers, then the image block. The first step that fails shows its
// message and returns false. displayBytes may be raised above kDisplayBytes
// for screens larger than 1600 x 1200.
bool startWorkspace(Workspace& ws, size_t displayBufferBytes = kDisplayBytes);

// Obtains RS and RS1 of at least `bytes` (never below kDisplayBytes), for a
// picture area larger than the screen's: a command that shows pictures of
// its own size. False (with the message) when they cannot be had.
bool reserveDisplay(Workspace& ws, size_t bytes);

// Sizes and allocates the image block from the machine's memory (or from
// ORX_BLOCK_BYTES when it is set).
bool sizeImageBlock(Workspace& ws);

// ORX_BLOCK_BYTES, which fixes the image block's size: unset, a whole
// number of bytes (in `bytes`), or anything else (its text in `text`).
enum class BlockBytesSetting { Unset, Valid, Invalid };
BlockBytesSetting blockBytesSetting(uint64_t& bytes, std::string& text);

// Points the planes for an image of W x H. The caller has checked that
// W x H fits planeCapacity. A new layout leaves no photograph in
// secondImage (model loading puts it back).
void layoutPlanes(Workspace& ws, int32_t width, int32_t height);

// Called before secondImage is written by anything but model loading: it
// holds `what` from now on, and with the photograph gone there is no model
// left to dress (modelLoaded and modelMapped are cleared).
void takeSecondImage(Workspace& ws, SecondImage what = SecondImage::Scratch);

inline uint64_t pixelCount(const Workspace& ws) { return uint64_t(ws.imageWidth) * uint64_t(ws.imageHeight); }
inline uint64_t imageBytes(const Workspace& ws) { return pixelCount(ws) * 3; }
// True when an image of w x h fits the block. Zero and negative sizes never fit.
bool imageFits(const Workspace& ws, int64_t width, int64_t height);

// A rectangle dragged either way (inclusive corners), held to the image:
// corners ordered, then clipped. False when nothing of it lies on the image.
bool clipToImage(const Workspace& ws, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1);

void clearMask(Workspace& ws);
void invertMask(Workspace& ws);
void fillImageWhite(Workspace& ws);
// New image command: lays out w x h and fills it white. False when it does not fit.
bool newImage(Workspace& ws, int32_t width, int32_t height);
void fillOffsetTable(Workspace& ws);

// Display buffer geometry and helpers.
void setDisplaySize(Workspace& ws, int32_t width, int32_t height);
void fillDisplay(Workspace& ws, uint8_t grey);
void saveDisplay(Workspace& ws);     // RS -> RS1
void restoreDisplay(Workspace& ws);  // RS1 -> RS
void restoreDisplayRect(Workspace& ws, Rect r);

// Whole-image operations; each works on image and mask together.
void halveImage(Workspace& ws);
void rotateImage(Workspace& ws, bool clockwise);
void mirrorImage(Workspace& ws, bool leftRight);

// The memory information command's two texts.
std::string memoryRamText(const Workspace& ws);
std::string memoryCapacityText(const Workspace& ws);

}  // namespace orx
