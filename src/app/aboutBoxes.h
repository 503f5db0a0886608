// The about boxes: 100 speaks the screen language, 192 is the Chinese box
// and 214 the English one. The web edition's About shows the box of the
// screen language.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx::app {

constexpr int32_t kAboutOfLanguage = 100;

struct AboutBox {
    int32_t box;
    int32_t language;
};

constexpr AboutBox kAboutBoxes[] = {{192, LangTaiwan}, {214, LangEnglish}};

// The box in a language's own words: the English one for any language
// without a box.
constexpr int32_t aboutBoxOf(int32_t language)
{
    for (const AboutBox& a : kAboutBoxes)
        if (a.language == language) return a.box;
    return 214;
}

// The language a box speaks: its own, or the screen language for 100.
constexpr int32_t aboutBoxLanguage(int32_t box, int32_t screenLanguage)
{
    for (const AboutBox& a : kAboutBoxes)
        if (a.box == box) return a.language;
    return screenLanguage;
}

}  // namespace orx::app
