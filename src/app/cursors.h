// The cursor table: the system arrow and 27 cursors, each drawn in code on
// a 32 x 32 pixmap, in the order of their resource ids.
#pragma once

#include <QCursor>
#include <array>
#include <cstdint>

namespace orx::app {

constexpr int32_t kCursorCount = 28;
// The resource ids after the arrow, in the table's order.
extern const std::array<int32_t, kCursorCount - 1> kCursorResources;

class CursorTable {
public:
    // Draws every cursor; needs a running QGuiApplication.
    CursorTable();
    // kCursorArrow (0) or a resource id; the arrow for an unknown id.
    const QCursor& cursor(int32_t resource) const;
    const QCursor& at(int slot) const { return cursors_[size_t(slot)]; }

private:
    std::array<QCursor, kCursorCount> cursors_;
};

}  // namespace orx::app
