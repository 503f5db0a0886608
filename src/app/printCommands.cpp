// Printing the working image: with the print type and the printer chosen
// (57607), straight to the default printer (57608), or from a preview
// (57609). Printing reads the image only: no plane changes.
#include <QPrinter>

#include "commandContext.h"
#include "commands.h"
#include "printing.h"

namespace orx::app {

namespace {

// "Select Print Type"; the choice is kept for the run. 0 on Cancel.
int32_t askPrintType(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    const int32_t type = ctx.shell.choosePrintType(ws.printType);
    if (type) ws.printType = type;
    return type;
}

}  // namespace

void printImage(CommandContext& ctx)
{
    const int32_t type = askPrintType(ctx);
    if (!type) return;
    QPrinter printer(QPrinter::HighResolution);
    if (ctx.shell.choosePrinter(printer)) printImagePage(ctx.ws(), printer, type);
}

void printDirectly(CommandContext& ctx)
{
    QPrinter printer(QPrinter::HighResolution);
    ctx.shell.defaultPrinter(printer);
    printImagePage(ctx.ws(), printer, ctx.ws().printType);
}

void printPreview(CommandContext& ctx)
{
    const int32_t type = askPrintType(ctx);
    if (!type) return;
    QPrinter printer(QPrinter::HighResolution);
    if (ctx.shell.previewPage(type, printer)) printImagePage(ctx.ws(), printer, type);
}

}  // namespace orx::app
