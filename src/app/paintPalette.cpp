// The paint palette.
#include "paintPalette.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <iterator>

#include "commandTable.h"
#include "cursorIds.h"
#include "mainFrame.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

constexpr int kColumns = 3;
constexpr int kListLengths = 50;  // "1" .. "50"

// Tools with a twin on the other plane.
struct Twin {
    int32_t image, mask;
};
const Twin kTwins[] = {
    {ModePen, ModeMaskPen},
    {ModeLine, ModeMaskLine},
    {ModeCircle, ModeMaskCircle},
    {ModeEllipse, ModeMaskEllipse},
    {ModeRectangle, ModeMaskRectangle},
    {ModeCurve, ModeMaskCurve},
    {ModeFill, ModeMaskFill},
    {ModeFilledCircle, ModeMaskFilledCircle},
    {ModeFilledEllipse, ModeMaskFilledEllipse},
    {ModeFilledRectangle, ModeMaskFilledRectangle},
};

// The colour image's tools that have no twin.
const int32_t kImageOnly[] = {ModeGradientCircle, ModeGradientEllipse, ModeGradientRectangle, ModeChangeColour,
                              ModeShadedFill,    ModeShadedFillMaskEdge, ModeReflectionFill, ModeDashedCurve,
                              ModeHoledCurve,    ModeShadedCurve};

// Buttons by their caption; 0 for a tool of the colour image alone.
struct ToolButton {
    const char* caption;
    int32_t imageCommand, maskCommand;
};
const ToolButton kTools[] = {
    {"POINT", IdPen, IdMaskPen},
    {"LINE", IdLine, IdMaskLine},
    {"CURVE", IdCurve, IdMaskCurve},
    {"RECT", IdRectangle, IdMaskRectangle},
    {"RECTFILL", IdFilledRectangle, IdMaskFilledRectangle},
    {"RECTFILLGRAD", IdGradientRectangle, 0},
    {"CIR", IdCircle, IdMaskCircle},
    {"CIRFILL", IdFilledCircle, IdMaskFilledCircle},
    {"CIRFILLGRAD", IdGradientCircle, 0},
    {"ELLIPSE", IdEllipse, IdMaskEllipse},
    {"ELLIPSEFILL", IdFilledEllipse, IdMaskFilledEllipse},
    {"ELLIPSEFILLGRAD", IdGradientEllipse, 0},
    {"FILL", IdFill, IdMaskFill},
    {"CHANGERGB", IdChangeColour, 0},
    {"DCURVE", IdHoledCurve, 0},
    {"DCURVE2", IdDashedCurve, 0},
    {"SCURVE", IdShadedCurve, 0},
    {"SBFILL", IdShadedFill, 0},
    {"SMFILL", IdShadedFillMaskEdge, 0},
    {"RMFILL", IdReflectionFill, 0},
    {"TEXT", IdText, 0},
    {"FONT", IdFont, 0},
};

struct UndoButton {
    const char* caption;
    int32_t command;
};
const UndoButton kUndoButtons[] = {
    {"RGB Undo", IdRgbUndo}, {"MSK Undo", IdMskUndo}, {"RGB Redo", IdRgbRedo}, {"MSK Redo", IdMskRedo}};

QToolButton* makeButton(QWidget* parent, const QString& caption)
{
    auto* b = new QToolButton(parent);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

QComboBox* lengthList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (int k = 1; k <= kListLengths; ++k) list->addItem(QString::number(k));
    return list;
}

}  // namespace

int32_t twinMode(int32_t mode, int32_t paintTarget)
{
    for (const Twin& t : kTwins) {
        if (mode == t.image || mode == t.mask) return paintTarget == PaintMask ? t.mask : t.image;
    }
    if (std::find(std::begin(kImageOnly), std::end(kImageOnly), mode) != std::end(kImageOnly))
        return paintTarget == PaintMask ? ModeNone : mode;
    return mode;
}

PaintPaletteWindow::PaintPaletteWindow(CMainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Tool), frame_(frame), ws_(frame.studio().ws)
{
    const int32_t language = ws_.screenLanguage;
    auto text = [&](Msg id) { return QString::fromUtf8(langText(ws_, id)); };
    setWindowTitle(text(Msg::PaintPaletteTitle));
    auto* grid = new QGridLayout(this);
    grid->setSpacing(1);
    int row = 0;

    const int32_t targets[2] = {PaintImage, PaintMask};
    const char* planeCaptions[2] = {"RGB", "MSK"};
    const Msg planeTips[2] = {Msg::PaintOnImage, Msg::PaintOnMask};
    for (int i = 0; i < 2; ++i) {
        planes_[i] = makeButton(this, QString::fromLatin1(planeCaptions[i]));
        planes_[i]->setCheckable(true);
        planes_[i]->setToolTip(text(planeTips[i]));
        connect(planes_[i], &QToolButton::clicked, this, [this, t = targets[i]] { choosePlane(t); });
        grid->addWidget(planes_[i], row, i == 0 ? 0 : 1, 1, i == 0 ? 1 : 2);
    }
    ++row;

    int n = 0;
    for (const ToolButton& t : kTools) {
        QToolButton* b = makeButton(this, QString::fromLatin1(t.caption));
        b->setCheckable(true);
        b->setToolTip(QString::fromUtf8(commandLabel(*findCommand(t.imageCommand), language)));
        connect(b, &QToolButton::clicked, this, [this, t] {
            // The tool of the plane chosen; the colour image's own tools
            // bring the palette back to the colour image.
            const int32_t id = ws_.paintTarget == PaintMask && t.maskCommand ? t.maskCommand : t.imageCommand;
            frame_.execute(id);
            refresh();
        });
        grid->addWidget(b, row + n / kColumns, n % kColumns);
        tools_.push_back(Slot{b, t.imageCommand, t.maskCommand});
        ++n;
    }
    row += (n + kColumns - 1) / kColumns;

    for (int w = 1; w <= 5; ++w) {
        QToolButton* b = makeButton(this, QStringLiteral("P%1").arg(w, 2, 10, QLatin1Char('0')));
        b->setCheckable(true);
        b->setToolTip(QString::asprintf(langText(ws_, Msg::PenWidthTip), w));
        connect(b, &QToolButton::clicked, this, [this, w] {
            ws_.penWidth = w;
            refresh();
            emit penChanged();
        });
        grid->addWidget(b, row + (w - 1) / kColumns, (w - 1) % kColumns);
        widths_[w - 1] = b;
    }
    row += 2;

    pitch_ = lengthList(this);
    pitch_->setToolTip(text(Msg::DashPitchList));
    connect(pitch_, &QComboBox::activated, this, [this](int i) { ws_.dashPitch = i + 1; });
    gap_ = lengthList(this);
    gap_->setToolTip(text(Msg::DashGapList));
    connect(gap_, &QComboBox::activated, this, [this](int i) { ws_.dashGap = i + 1; });
    grid->addWidget(pitch_, row, 0, 1, 2);
    grid->addWidget(gap_, row, 2);
    ++row;

    for (int i = 0; i < 4; ++i) {
        const UndoButton& u = kUndoButtons[i];
        QToolButton* b = makeButton(this, QString::fromLatin1(u.caption));
        // These carry a tooltip only in Chinese.
        if (language == LangTaiwan) b->setToolTip(QString::fromUtf8(commandLabel(*findCommand(u.command), language)));
        connect(b, &QToolButton::clicked, this, [this, id = u.command] {
            frame_.execute(id);
            refresh();
        });
        grid->addWidget(b, row + i / 2, i % 2 ? 1 : 0, 1, i % 2 ? 2 : 1);
        commandButtons_[u.command] = b;
    }

    connect(&frame, &CMainFrame::commandStatesChanged, this, &PaintPaletteWindow::refresh);
    refresh();
}

QToolButton* PaintPaletteWindow::toolButton(int32_t commandId) const
{
    for (const Slot& s : tools_)
        if (s.imageCommand == commandId || s.maskCommand == commandId) return s.button;
    auto it = commandButtons_.find(commandId);
    return it == commandButtons_.end() ? nullptr : it->second;
}

QToolButton* PaintPaletteWindow::planeButton(int32_t paintTarget) const { return planes_[paintTarget == PaintMask ? 1 : 0]; }

QToolButton* PaintPaletteWindow::widthButton(int32_t width) const
{
    return width >= 1 && width <= 5 ? widths_[width - 1] : nullptr;
}

void PaintPaletteWindow::choosePlane(int32_t paintTarget)
{
    ws_.paintTarget = paintTarget;
    const int32_t twin = twinMode(ws_.toolMode, paintTarget);
    if (twin != ws_.toolMode) {
        // The twin's command arms it as a click on its button would.
        const Slot* slot = nullptr;
        for (const Slot& s : tools_) {
            const int32_t id = paintTarget == PaintMask ? s.maskCommand : s.imageCommand;
            if (id && findCommand(id)->toolMode == twin) slot = &s;
        }
        if (slot) {
            frame_.execute(paintTarget == PaintMask ? slot->maskCommand : slot->imageCommand);
        } else {
            ws_.toolMode = ModeNone;
            frame_.setViewCursor(kCursorArrow);
            frame_.refreshCommandStates();
        }
    }
    refresh();
}

void PaintPaletteWindow::refresh()
{
    const bool onMask = ws_.paintTarget == PaintMask;
    planes_[0]->setChecked(!onMask);
    planes_[1]->setChecked(onMask);
    for (const Slot& s : tools_) {
        const int32_t id = onMask ? s.maskCommand : s.imageCommand;
        const Command* c = id ? findCommand(id) : nullptr;
        s.button->setEnabled(c && orx::app::isEnabled(*c, ws_));
        s.button->setChecked(c && c->toolMode > ModeNone && c->toolMode == ws_.toolMode);
    }
    for (auto& [id, b] : commandButtons_) b->setEnabled(orx::app::isEnabled(*findCommand(id), ws_));
    for (int w = 1; w <= 5; ++w) widths_[w - 1]->setChecked(ws_.penWidth == w);
    pitch_->setCurrentIndex(std::clamp(ws_.dashPitch, 1, kListLengths) - 1);
    gap_->setCurrentIndex(std::clamp(ws_.dashGap, 1, kListLengths) - 1);
}

}  // namespace orx::app
