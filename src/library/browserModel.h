// The thumbnail browser without its window: the strip's geometry in both
// layouts, which cell a click lands on, scrolling, the first-letter search
// and the layout file VLXHV.CFG. The desktop program draws what this says.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx {

enum BrowserLayout : int32_t { BrowserHorizontal = 1, BrowserVertical = 2 };

constexpr int32_t kBrowserCellWidth = 73;
constexpr int32_t kBrowserCellHeight = 95;
constexpr int32_t kBrowserCellStep = 80;      // horizontal: one cell every 80 pixels
constexpr int32_t kBrowserLabelWidth = 72;
constexpr int32_t kBrowserLabelHeight = 18;
constexpr int32_t kBrowserButtonSize = 24;
constexpr int32_t kBrowserNameChars = 10;     // a cell shows the first 10 characters of a name
constexpr int32_t kBrowserSearchMinFiles = 11;  // the first-letter search needs more than 10 files

struct BrowserBox {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// Where everything of the strip goes on a screen of sw x sh pixels.
struct BrowserGeometry {
    BrowserBox window;         // screen coordinates
    int32_t innerWidth = 0, innerHeight = 0;
    int32_t cellsPerView = 0;
    BrowserBox buttons[3];     // BROWSE, EXIT, HV, client coordinates
};

BrowserGeometry browserGeometry(int32_t layout, int32_t screenWidth, int32_t screenHeight);

// The parts of a cell, in client coordinates of the strip.
struct BrowserCellBoxes {
    BrowserBox cell, thumbnail, name, size;
};
BrowserCellBoxes browserCellBoxes(int32_t layout, int32_t k);

// What a cell says: the first 10 characters of the name, and "%dx%d".
std::string browserCellName(const std::string& name);
std::string browserCellSize(int32_t width, int32_t height);

enum class BrowserScroll { LineBack, LineForward, PageBack, PageForward, Thumb, Top, Bottom };

class BrowserModel {
public:
    void setLayout(int32_t layout, int32_t screenWidth, int32_t screenHeight);
    void setFileCount(int32_t count);
    int32_t layout() const { return layout_; }
    int32_t fileCount() const { return fileCount_; }
    int32_t cellsPerView() const { return cellsPerView_; }
    // 1-based index of the first cell shown.
    int32_t firstVisible() const { return firstVisible_; }
    void setFirstVisible(int32_t first);

    // The file index (0-based) under a client point, or -1: only cells of
    // the view that hold a file count.
    int32_t hitTest(int32_t x, int32_t y) const;
    // The cell position (0-based within the view) of a file index, or -1
    // when it is not shown.
    int32_t cellOf(int32_t index) const;

    void scroll(BrowserScroll how, int32_t thumbPosition = 0);

    // The first-letter search: with more than 10 files the first name that
    // starts with the letter (compared in upper case) becomes the first
    // cell. True when the strip moved.
    bool search(char letter, const std::vector<std::string>& names);

private:
    int32_t layout_ = BrowserHorizontal;
    int32_t fileCount_ = 0;
    int32_t cellsPerView_ = 0;
    int32_t firstVisible_ = 1;
};

// VLXHV.CFG: "HORIZONTAL" or "VERTICAL", read without regard to case. A
// missing file gives the horizontal layout; any other word keeps current.
int32_t readBrowserLayout(const std::string& path, int32_t current);
// Writes the word with a newline; false (and nothing said) when it cannot.
bool writeBrowserLayout(const std::string& path, int32_t layout);

}  // namespace orx
