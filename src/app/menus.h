// The menu bars: 128 (the default), 129 (Chinese) and 130 (English) with
// the items of the web edition, each followed by the menus that carry every
// other command of the table. Items are commands of the table; their labels
// come from it in the menu's language.
#pragma once

#include <cstdint>
#include <span>

namespace orx::app {

enum MenuBarId : int32_t { MenuDefault = 128, MenuChinese = 129, MenuEnglish = 130 };

struct MenuItem {
    enum Kind : uint8_t { Popup, Command, Separator, End };
    Kind kind;
    int32_t id;            // Command: the command's id
    const char* english;   // Popup: its title
    const char* chinese;
};

// The bar's items in order: a Popup opens a menu that its End closes; a
// Command outside any popup is a top-level item.
std::span<const MenuItem> menuBarItems(int32_t menuBar);

// The menu bar of a screen language: 129 for 1, 130 for 3, 128 otherwise.
int32_t menuBarOf(int32_t language);

// The language a menu bar's labels are in.
int32_t menuLanguage(int32_t menuBar);

}  // namespace orx::app
