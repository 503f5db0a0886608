// The 256-byte container: model (MDL), material (CLO), parts (PRT), NIT and
// EMB files. Header, pixels, thumbnail in one file.
#pragma once

#include <optional>
#include <string>

#include "fileIo.h"
#include "langText.h"
#include "workspace.h"

namespace orx {

enum class ContainerKind { Link, Model };

// The header buffer filled for the image-link kinds or for a model.
void makeLinkHeader(Workspace& ws, int32_t w, int32_t h, int32_t value100);
void makeModelHeader(Workspace& ws, int32_t w, int32_t h, int32_t value100, int16_t x0, int16_t y0, int16_t x1,
                     int16_t y1, int16_t wx0, int16_t wy0, int16_t wx1, int16_t wy1);
// Parse ws.fileHeader.raw into its fields (both forms take every field).
void readModelHeader(Workspace& ws);
void readLinkHeader(Workspace& ws);

// Writers: header, pixels, thumbnail; the old file stays until the new one is
// complete.
bool saveLinkFile(Workspace& ws, const std::string& name);
bool saveModelFile(Workspace& ws, const std::string& name, int16_t x0, int16_t y0, int16_t x1, int16_t y1);
bool saveLinkRegion(Workspace& ws, const std::string& name, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Parses 256 raw header bytes into their fields.
void parseContainerHeader(FileHeader& fh);

// What is wrong with a parsed header for a file of fileSize bytes (-1 when
// the size is unknown): a size that is not positive, pixels that overlap
// the header or lie past the end. A file whose first bytes are not one of
// our headers and whose sizes do not fit is no container at all, which
// reads as a damaged header rather than as a large picture. Nothing when
// the header holds.
std::optional<Msg> containerHeaderFault(const FileHeader& fh, int64_t fileSize);

// Reads a container's header from the stream into ws.fileHeader and checks
// it against the file: positive sizes that fit the image block, and the
// pixels (at the offset of header byte 74) inside the file. Shows the
// reason and returns false otherwise.
bool readContainerHeader(Workspace& ws, InStream& in, const std::string& name);

// Loads a container's picture as the working image (mask cleared). Models
// also keep their area rectangle and a copy of the photograph in
// secondImage.
bool openContainerImage(Workspace& ws, const std::string& name, FileSource& src = localFiles());
bool loadModel(Workspace& ws, const std::string& name, FileSource& src = localFiles());

}  // namespace orx
