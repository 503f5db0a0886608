// Screen texts in two languages, the language file and the language message.
#pragma once

#include <cstdio>
#include <string>

#include "workspace.h"

namespace orx {

enum class Msg {
#define MSG(id, en, zh) id,
#include "strings/messages.inc"
#undef MSG
    Count
};

// The text of the screen language: Chinese for language 1, English otherwise.
const char* langText(const Workspace& ws, Msg id);
const char* langText(int32_t language, Msg id);
// The same choice for the tables that carry their own two labels per row
// (commands, menu titles); the only place a language picks a text.
const char* langText(int32_t language, const char* english, const char* chinese);
// Whether the language file can name the language (1, 3 or 4).
bool knownLanguage(int32_t language);

// printf-style formatting of a table text into a std::string.
template <typename... Args>
std::string formatText(const char* format, Args... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return format;
    } else {
        int n = std::snprintf(nullptr, 0, format, args...);
        if (n <= 0) return {};
        std::string out(size_t(n) + 1, '\0');
        std::snprintf(out.data(), out.size(), format, args...);
        out.resize(size_t(n));
        return out;
    }
}

template <typename... Args>
std::string langFormat(const Workspace& ws, Msg id, Args... args)
{
    return formatText(langText(ws, id), args...);
}

// Beeps and shows the text of the screen language with the stop icon.
void showLangText(Workspace& ws, const std::string& text);

template <typename... Args>
void showLangMessage(Workspace& ws, Msg id, Args... args)
{
    showLangText(ws, langFormat(ws, id, args...));
}

// ORX10.CFG: one word, TAIWAN, ENGLISH or KOREA, compared exactly. A
// missing file gives language 1 and an unknown word leaves the language as
// it was.
constexpr char kLanguageFile[] = "ORX10.CFG";
void readScreenLanguage(Workspace& ws, const std::string& path = kLanguageFile);
// Writes the word of the language to the settings folder's ORX10.CFG
// (filePlaces.h); false when it cannot.
bool writeScreenLanguage(const Workspace& ws);

}  // namespace orx
