// The scripts a person writes by hand: the editor on an ORX mapping script
// or an MMP show script.
#include <unistd.h>

#include <algorithm>
#include <iterator>

#include "commandContext.h"
#include "commands.h"
#include "workspace/textFile.h"

namespace orx::app {

namespace {

struct ScriptKind {
    CommandId id;
    const char* extension;
    Msg title;
    Msg filter;
};

const ScriptKind kScriptKinds[] = {
    {IdEditOrx, "ORX", Msg::TitleOrxName, Msg::FilterOrx},
    {IdEditMmp, "MMP", Msg::TitleMmpName, Msg::FilterMmp},
};

// Saves go beside the file and are renamed in: its folder must take a new
// file, and an existing file must be writable itself.
bool canSave(const std::string& path)
{
    return ::access(dirName(path).c_str(), W_OK) == 0 && (!fileExists(path) || ::access(path.c_str(), W_OK) == 0);
}

}  // namespace

void editScript(CommandContext& ctx)
{
    const ScriptKind& kind = *std::find_if(std::begin(kScriptKinds), std::end(kScriptKinds),
                                           [&](const ScriptKind& k) { return k.id == ctx.command.id; });
    Workspace& ws = ctx.ws();
    std::string path = ctx.shell.chooseTextFile(ctx.text(kind.title), ctx.text(kind.filter));
    if (path.empty()) return;
    if (upperExtension(path) != kind.extension) path += std::string(".") + kind.extension;
    TextDocument doc;
    switch (readTextFile(path, doc)) {
    case TextRead::Ok:
    case TextRead::Missing: break;  // a new script starts empty
    case TextRead::TooLarge: showLangMessage(ws, Msg::TextTooLarge, path.c_str()); return;
    case TextRead::NotText: showLangMessage(ws, Msg::TextNotText, path.c_str()); return;
    case TextRead::Unreadable: showLangMessage(ws, Msg::CantOpenFile, path.c_str()); return;
    }
    ctx.shell.editText(path, doc, canSave(path));
}

}  // namespace orx::app
