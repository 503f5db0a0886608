// Screen texts: one table of both languages, chosen by screenLanguage.
#include "langText.h"

#include <cstring>

#include "fileIo.h"
#include "filePlaces.h"

namespace orx {

namespace {

struct LangEntry {
    const char* english;
    const char* chinese;
};

const LangEntry kTexts[] = {
#define MSG(id, en, zh) {en, zh},
#include "strings/messages.inc"
#undef MSG
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == size_t(Msg::Count));

struct LanguageWord {
    const char* word;
    int32_t language;
};

const LanguageWord kLanguageWords[] = {
    {"TAIWAN", LangTaiwan},
    {"ENGLISH", LangEnglish},
    {"KOREA", LangKorea},
};

}  // namespace

const char* langText(int32_t language, const char* english, const char* chinese)
{
    return language == LangTaiwan ? chinese : english;
}

const char* langText(int32_t language, Msg id)
{
    const LangEntry& e = kTexts[size_t(id)];
    return langText(language, e.english, e.chinese);
}

bool knownLanguage(int32_t language)
{
    for (const LanguageWord& w : kLanguageWords)
        if (w.language == language) return true;
    return false;
}

const char* langText(const Workspace& ws, Msg id) { return langText(ws.screenLanguage, id); }

void showLangText(Workspace& ws, const std::string& text)
{
    if (!ws.platform) return;
    ws.platform->beep();
    ws.platform->message(text, Icon::Stop);
}

void readScreenLanguage(Workspace& ws, const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        ws.screenLanguage = LangTaiwan;
        return;
    }
    char word[20] = {};
    int got = std::fscanf(f, "%19s", word);
    std::fclose(f);
    if (got != 1) return;
    for (const LanguageWord& w : kLanguageWords)
        if (std::strcmp(word, w.word) == 0) ws.screenLanguage = w.language;
}

bool writeScreenLanguage(const Workspace& ws)
{
    for (const LanguageWord& w : kLanguageWords) {
        if (w.language != ws.screenLanguage) continue;
        std::string line = std::string(w.word) + "\n";
        return writeFileAtomically(configFile(ws, kLanguageFile), line.data(), line.size());
    }
    return false;
}

}  // namespace orx
