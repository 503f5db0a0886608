// The paint tools' commands: the pen width, opening the tool windows, the
// text tool's font, and the text tool, which turns typed text into the
// floating piece and arms the piece's move tool.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>

#include "commandContext.h"
#include "commands.h"
#include "cursorIds.h"
#include "engine/piece.h"
#include "tools/paint.h"
#include "workspace/display.h"

namespace orx::app {

namespace {

// The text in the text tool's font: its coverage from the glyphs'
// smoothed edges, every pixel of the text colour.
bool renderText(const Workspace& ws, const QString& text, int32_t& width, int32_t& height, std::vector<uint8_t>& pixels,
                std::vector<uint8_t>& coverage)
{
    QFont font;
    if (!ws.textFont.empty()) font.fromString(QString::fromStdString(ws.textFont));
    const QFontMetrics metrics(font);
    width = metrics.horizontalAdvance(text);
    height = metrics.height();
    if (width < 1 || height < 1) return false;
    QImage glyphs(width, height, QImage::Format_Alpha8);
    glyphs.fill(0);
    {
        QPainter painter(&glyphs);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), text);
    }
    coverage.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) std::copy_n(glyphs.constScanLine(y), width, coverage.begin() + int64_t(y) * width);
    pixels.resize(coverage.size() * 3);
    for (size_t i = 0; i < coverage.size(); ++i) {
        pixels[3 * i] = ws.textColour.r;
        pixels[3 * i + 1] = ws.textColour.g;
        pixels[3 * i + 2] = ws.textColour.b;
    }
    return true;
}

}  // namespace

void penWidthDialog(CommandContext& ctx)
{
    int32_t width = ctx.ws().penWidth;
    if (ctx.shell.askPenWidth(width)) ctx.ws().penWidth = std::clamp(width, kMinPenWidth, kMaxPenWidth);
}

void openPaintWindows(CommandContext& ctx)
{
    ctx.shell.openToolWindow(Shell::OpenColourBox);
    if (ctx.command.id == IdColourBoxAndPaint) ctx.shell.openToolWindow(Shell::OpenPaintPalette);
    if (ctx.command.id == IdColourBoxAndAirBrush) ctx.shell.openToolWindow(Shell::OpenAirBrush);
}

void chooseFont(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    std::string font = ws.textFont;
    Rgb colour = ws.textColour;
    if (!ctx.shell.askFont(font, colour)) return;
    ws.textFont = font;
    ws.textColour = colour;
}

// The piece starts in the middle of the view; the move tool then drags it
// and a double click applies it.
void textTool(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    const QString text = QString::fromStdString(ctx.shell.askText());
    if (text.trimmed().isEmpty()) return;
    int32_t w = 0, h = 0;
    std::vector<uint8_t> pixels, coverage;
    if (!renderText(ws, text, w, h, pixels, coverage)) return;
    if (!setFloatingPiece(ws, ws.viewCentreX - w / 2, ws.viewCentreY - h / 2, w, h, std::move(pixels), std::move(coverage)))
        return;
    redisplay(ctx);
    saveDisplay(ws);
    Rect shown;
    drawPieceOnDisplay(ws, shown);
    ws.platform->redraw(nullptr);
    ws.toolMode = ModeMovePiece;
    ctx.shell.setViewCursor(kCursorMove);
}

}  // namespace orx::app
