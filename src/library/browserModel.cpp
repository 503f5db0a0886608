// The thumbnail browser without its window.
#include "browserModel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <strings.h>

#include "workspace/fileIo.h"

namespace orx {

namespace {

constexpr int32_t kHorizontalFirstCellX = 32;
constexpr int32_t kVerticalFirstCellY = 30;
constexpr int32_t kStripHeight = 140;
constexpr int32_t kStripBottomGap = 25;
constexpr int32_t kStripWidth = 110;
constexpr int32_t kStripTop = 40;

}  // namespace

BrowserGeometry browserGeometry(int32_t layout, int32_t sw, int32_t sh)
{
    BrowserGeometry g;
    if (layout == BrowserVertical) {
        g.window = {sw - kStripWidth, kStripTop, kStripWidth, sh - kStripTop};
        g.innerWidth = 104;
        g.innerHeight = sh - 84;
        g.cellsPerView = std::max(0, (sh - 84 - 30) / kBrowserCellHeight);
        for (int i = 0; i < 3; ++i) g.buttons[i] = {2 + 26 * i, 2, kBrowserButtonSize, kBrowserButtonSize};
    } else {
        g.window = {0, sh - kStripHeight - kStripBottomGap, sw, kStripHeight};
        g.innerWidth = sw - 6;
        g.innerHeight = 96;
        g.cellsPerView = std::max(0, (sw - 6 - 25) / kBrowserCellStep);
        for (int i = 0; i < 3; ++i) g.buttons[i] = {2, 2 + 26 * i, kBrowserButtonSize, kBrowserButtonSize};
    }
    return g;
}

BrowserCellBoxes browserCellBoxes(int32_t layout, int32_t k)
{
    BrowserCellBoxes b;
    const bool vertical = layout == BrowserVertical;
    const int32_t x = vertical ? 2 : kHorizontalFirstCellX + kBrowserCellStep * k;
    const int32_t y = vertical ? kVerticalFirstCellY + kBrowserCellHeight * k : 0;
    b.cell = {x, y, kBrowserCellWidth, kBrowserCellHeight};
    b.name = {x, y, kBrowserLabelWidth, kBrowserLabelHeight};
    // The horizontal cell puts the picture under the name and the size at
    // the foot; the vertical one has both labels on top.
    b.thumbnail = {x + 1, y + (vertical ? 32 : 16), 70, 60};
    b.size = {x, y + (vertical ? 16 : 77), kBrowserLabelWidth, kBrowserLabelHeight};
    return b;
}

std::string browserCellName(const std::string& name) { return name.substr(0, kBrowserNameChars); }

std::string browserCellSize(int32_t width, int32_t height)
{
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", width, height);
    return text;
}

void BrowserModel::setLayout(int32_t layout, int32_t sw, int32_t sh)
{
    layout_ = layout == BrowserVertical ? BrowserVertical : BrowserHorizontal;
    cellsPerView_ = browserGeometry(layout_, sw, sh).cellsPerView;
}

void BrowserModel::setFileCount(int32_t count)
{
    fileCount_ = std::max(0, count);
    setFirstVisible(firstVisible_);
}

void BrowserModel::setFirstVisible(int32_t first)
{
    firstVisible_ = std::clamp(first, 1, std::max(1, fileCount_));
}

int32_t BrowserModel::hitTest(int32_t x, int32_t y) const
{
    int32_t k;
    if (layout_ == BrowserVertical) {
        if (y < kVerticalFirstCellY || x < 2 || x >= 72) return -1;
        k = (y - kVerticalFirstCellY) / kBrowserCellHeight;
    } else {
        if (x < kHorizontalFirstCellX || y < 2 || y >= 79) return -1;
        k = (x - kHorizontalFirstCellX) / kBrowserCellStep;
    }
    if (k >= cellsPerView_) return -1;
    const int32_t index = firstVisible_ - 1 + k;
    return index < fileCount_ ? index : -1;
}

int32_t BrowserModel::cellOf(int32_t index) const
{
    const int32_t k = index - (firstVisible_ - 1);
    return k >= 0 && k < cellsPerView_ && index < fileCount_ ? k : -1;
}

void BrowserModel::scroll(BrowserScroll how, int32_t thumb)
{
    switch (how) {
    case BrowserScroll::LineBack: setFirstVisible(firstVisible_ - 1); break;
    case BrowserScroll::LineForward: setFirstVisible(firstVisible_ + 1); break;
    case BrowserScroll::PageBack: setFirstVisible(firstVisible_ - cellsPerView_); break;
    case BrowserScroll::PageForward: setFirstVisible(firstVisible_ + cellsPerView_); break;
    case BrowserScroll::Thumb: setFirstVisible(thumb); break;
    case BrowserScroll::Top: setFirstVisible(1); break;
    case BrowserScroll::Bottom: setFirstVisible(fileCount_); break;
    }
}

bool BrowserModel::search(char letter, const std::vector<std::string>& names)
{
    if (fileCount_ < kBrowserSearchMinFiles) return false;
    const int up = std::toupper(static_cast<unsigned char>(letter));
    const int32_t n = std::min<int32_t>(fileCount_, int32_t(names.size()));
    for (int32_t i = 0; i < n; ++i) {
        if (!names[i].empty() && std::toupper(static_cast<unsigned char>(names[i][0])) == up) {
            setFirstVisible(i + 1);
            return true;
        }
    }
    return false;
}

int32_t readBrowserLayout(const std::string& path, int32_t current)
{
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return BrowserHorizontal;
    char word[32] = {};
    const int got = std::fscanf(f, "%31s", word);
    std::fclose(f);
    if (got != 1) return current;
    if (::strcasecmp(word, "HORIZONTAL") == 0) return BrowserHorizontal;
    if (::strcasecmp(word, "VERTICAL") == 0) return BrowserVertical;
    return current;
}

bool writeBrowserLayout(const std::string& path, int32_t layout)
{
    const std::string line = layout == BrowserVertical ? "VERTICAL\n" : "HORIZONTAL\n";
    return writeFileAtomically(path, line.data(), line.size());
}

}  // namespace orx
