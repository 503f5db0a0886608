// The main window.
#include "mainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QKeySequence>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "airBrushPalette.h"
#include "colourBoxWindow.h"
#include "commandContext.h"
#include "commandTable.h"
#include "commands.h"
#include "cursors.h"
#include "dialogs.h"
#include "imageFileBrowser.h"
#include "focusAfterModal.h"
#include "menus.h"
#include "printing.h"
#include "paintPalette.h"
#include "qtPlatform.h"
#include "shellLayer.h"
#include "runProgress.h"
#include "scanDialog.h"
#include "textEditor.h"
#include "thumbnailBrowser.h"
#include "view.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

struct Shortcut {
    int32_t id;
    QKeySequence::StandardKey standard;
    QKeyCombination keys;  // when there is no standard key
};

// The usual keys: open and save the colour image, print, undo and redo of
// the colour image and of the mask, and F to fit the whole image.
const Shortcut kShortcuts[] = {
    {IdLoadRgb, QKeySequence::Open, {}},
    {IdSaveRgb, QKeySequence::Save, {}},
    {IdPrint, QKeySequence::Print, {}},
    {IdRgbUndo, QKeySequence::Undo, {}},
    {IdRgbRedo, QKeySequence::UnknownKey, Qt::CTRL | Qt::Key_Y},
    {IdMskUndo, QKeySequence::UnknownKey, Qt::CTRL | Qt::ALT | Qt::Key_Z},
    {IdMskRedo, QKeySequence::UnknownKey, Qt::CTRL | Qt::ALT | Qt::Key_Y},
    {IdAll, QKeySequence::UnknownKey, Qt::Key_F},
};

QKeySequence shortcutOf(const Shortcut& s)
{
    return s.standard != QKeySequence::UnknownKey ? QKeySequence(s.standard) : QKeySequence(s.keys);
}

constexpr char kShortWord[] = "ORXWEB";

// Where the paint tools' windows first appear, from the screen's top left.
const QPoint kPaintPalettePlace(10, 45), kColourBoxPlace(95, 45), kAirBrushPlace(300, 45);

// A tool window comes up where it was, or at its first place.
void bringUp(QWidget* window, QPoint first, bool created)
{
    if (created) window->move(first);
    window->show();
    window->raise();
}

}  // namespace

CMainFrame::CMainFrame(Studio& studio, const CursorTable& cursors, QtPlatform* platform, QWidget* parent)
    : QMainWindow(parent), studio_(studio), cursors_(cursors)
{
    view_ = new CVLX98View(studio.ws, this);
    view_->setCursorTable(&cursors_);
    setCentralWidget(view_);
    progress_ = new RunProgress(view_);
    new FocusAfterModal(this, view_);
    if (platform) {
        platform->attach(view_, progress_);
        platform->onStatesChanged([this] { refreshCommandStates(); });
    }
    installMenuBar(menuBarOf(studio.ws.screenLanguage));
    setWindowTitle(captionText());
    view_->setFocus();
}

QString CMainFrame::captionText() const
{
    const int32_t lang = studio_.ws.screenLanguage;
    if (knownLanguage(lang))
        return QString::fromUtf8(langText(lang, Msg::CaptionTitle));
    return QString::fromLatin1(kShortWord);
}

QAction* CMainFrame::makeAction(int32_t id, int32_t language)
{
    if (auto it = actions_.find(id); it != actions_.end()) return it->second;
    const Command* c = findCommand(id);
    auto* a = new QAction(QString::fromUtf8(commandLabel(*c, language)), this);
    a->setCheckable(isCheckable(*c));
    for (const Shortcut& s : kShortcuts)
        if (s.id == id) a->setShortcut(shortcutOf(s));
    connect(a, &QAction::triggered, this, [this, id] { execute(id); });
    actions_[id] = a;
    return a;
}

// Builds the bar from its items: popups nest until their End, commands
// share one action per id however many menus show them.
void CMainFrame::installMenuBar(int32_t id)
{
    menuBarId_ = id;
    const int32_t language = menuLanguage(id);
    auto* bar = new QMenuBar(this);
    for (auto& [cid, a] : actions_) a->deleteLater();
    actions_.clear();
    std::vector<QMenu*> open;
    for (const MenuItem& m : menuBarItems(id)) {
        switch (m.kind) {
        case MenuItem::Popup: {
            const QString title = QString::fromUtf8(langText(language, m.english, m.chinese));
            QMenu* menu = open.empty() ? bar->addMenu(title) : open.back()->addMenu(title);
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommandStates);
            open.push_back(menu);
            break;
        }
        case MenuItem::Command:
            if (open.empty()) bar->addAction(makeAction(m.id, language));
            else open.back()->addAction(makeAction(m.id, language));
            break;
        case MenuItem::Separator: open.back()->addSeparator(); break;
        case MenuItem::End: open.pop_back(); break;
        }
    }
    setMenuBar(bar);  // the old bar is deleted by the window
    refreshCommandStates();
}

QAction* CMainFrame::action(int32_t id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::refreshCommandStates()
{
    const Workspace& ws = studio_.ws;
    for (auto& [id, a] : actions_) {
        const Command* c = findCommand(id);
        a->setEnabled(orx::app::isEnabled(*c, ws));
        if (a->isCheckable()) a->setChecked(orx::app::isChecked(*c, ws));
    }
    emit commandStatesChanged();
}

bool CMainFrame::execute(int32_t id)
{
    // Esc or a right click ends what this command starts, not what ran before.
    view_->forgetStopPress();
    const bool ran = runCommand(studio_, shell(), id);
    view_->forgetStopPress();
    // What the mouse was doing belongs to the tool before the command.
    if (ran) view_->forgetGesture();
    refreshCommandStates();
    if (ran) emit commandRan(id);
    return ran;
}

namespace {

// Answers the show's file dialog with a file named beforehand.
class GivenShowFile : public PlatformForwarder {
public:
    GivenShowFile(Platform& inner, std::string path) : PlatformForwarder(inner), path_(std::move(path)) {}
    std::string chooseOpenFile(const std::string&, const std::string&) override { return std::exchange(path_, {}); }

private:
    std::string path_;
};

}  // namespace

bool CMainFrame::playShowFile(const std::string& path)
{
    Workspace& ws = studio_.ws;
    Platform* inner = ws.platform;
    GivenShowFile given(*inner, path);
    ws.platform = &given;
    const bool ran = execute(IdRunMmp);
    ws.platform = inner;
    return ran;
}

bool CMainFrame::openStartFile(const std::string& name)
{
    // A command-line file is opened as the load commands open theirs; a
    // model is loaded and dressed as "Load Model MDL File" does.
    static const Command kOpen{CommandId(0), "", "", NoIssuer, ModeNone, kCursorArrow, 0, Always, {}, nullptr};
    CommandContext ctx(studio_, shell(), kOpen);
    studio_.ws.toolMode = ModeNone;
    bool ok;
    if (fileKindOf(name).kind == FileKind::MDL) {
        ok = openModel(ctx, name);
        if (ok && !startMaterial_.empty()) dressInMaterial(ctx, startMaterial_, 0);
    } else {
        ok = openWorkingFile(studio_.ws, name, localFiles());
        if (ok) fitWholeImage(ctx);
    }
    refreshCommandStates();
    return ok;
}

void CMainFrame::offerMaterials()
{
    Workspace& ws = studio_.ws;
    if (!ws.modelLoaded || !ws.modelMapped) return;
    ws.platform->status(langText(ws, Msg::StartHintMaterial), Rgb{0, 0, 255});
    execute(IdChangeMaterial);
}

int32_t CMainFrame::viewWidth() { return view_->width(); }
int32_t CMainFrame::viewHeight() { return view_->height(); }

void CMainFrame::setViewCursor(int32_t cursor) { view_->showCursor(cursor); }

std::string CMainFrame::chooseFromLibrary(const std::string& title, const std::string& extension)
{
    ThumbnailBrowser browser(studio_, title, extension, this);
    if (browser.exec() != QDialog::Accepted) return {};
    return browser.choice();
}

int32_t CMainFrame::chooseContrast(int32_t entry)
{
    ContrastDialog dialog(studio_.ws, entry, this);
    if (!contrastPosition_.isNull()) dialog.move(contrastPosition_);
    const int result = dialog.exec();
    contrastPosition_ = dialog.pos();
    return result == QDialog::Accepted ? dialog.entry() : -1;
}

bool CMainFrame::askNewImageSize(int32_t& width, int32_t& height)
{
    NewImageDialog dialog(studio_.ws, width, height, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    width = dialog.imageWidth();
    height = dialog.imageHeight();
    return true;
}

bool CMainFrame::askLanguage()
{
    LanguageDialog dialog(studio_.ws, this);
    return dialog.exec() == QDialog::Accepted;
}

void CMainFrame::showAbout(int32_t dialog) { showAboutBox(studio_.ws, dialog, this); }

std::string CMainFrame::chooseTextFile(const std::string& title, const std::string& filter)
{
    return QFileDialog::getSaveFileName(this, QString::fromStdString(title), QString::fromStdString(studio_.ws.WORKDIR),
                                        qtFileFilter(filter), nullptr, QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

std::string CMainFrame::chooseImageFile(int32_t imageType)
{
    ImageFileBrowser browser(studio_, imageType, this);
    if (browser.exec() != QDialog::Accepted) return {};
    return browser.choice();
}

// The save dialog of the toolkit's own kind, so that the quality field can
// sit under the file name.
std::string CMainFrame::chooseJpegFile(const std::string& title, const std::string& filter, int32_t& quality)
{
    QFileDialog dialog(this, QString::fromStdString(title), QString::fromStdString(studio_.ws.WORKDIR),
                       qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* box = new QSpinBox;
    box->setRange(1, 100);
    box->setValue(std::clamp(quality, 1, 100));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromUtf8(langText(studio_.ws, Msg::JpegQuality))), row, 0);
        grid->addWidget(box, row, 1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    quality = box->value();
    return dialog.selectedFiles().front().toStdString();
}

bool CMainFrame::scanPicture(ScannedPicture& out)
{
    ScanDialog dialog(studio_, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    ScanImage scan = dialog.takePicture();
    out.rgb = std::move(scan.rgb);
    out.width = scan.width;
    out.height = scan.height;
    out.device = dialog.device();
    out.dpi = dialog.scannedDpi();
    return true;
}

int32_t CMainFrame::choosePrintType(int32_t type)
{
    PrintTypeDialog dialog(studio_.ws, type, this);
    return dialog.exec() == QDialog::Accepted ? dialog.type() : 0;
}

bool CMainFrame::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CMainFrame::keepAlive(int32_t ms)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, std::max<int>(1, ms - int(clock.elapsed())));
        if (view_->stopKeysDown()) return false;
        if (clock.elapsed() < ms) QThread::msleep(std::min<qint64>(10, ms - clock.elapsed()));
    } while (clock.elapsed() < ms);
    return true;
}

bool CMainFrame::previewPage(int32_t type, QPrinter& printer)
{
    PrintPreviewDialog dialog(studio_.ws, type, printer, this);
    connect(&dialog, &PrintPreviewDialog::printRequested, &dialog, [&] {
        if (choosePrinter(printer)) dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::vector<std::string>> CMainFrame::editText(const std::string& path, const TextDocument& doc,
                                                             bool editable)
{
    TextEditor editor(studio_.ws, path, doc, editable, this);
    editor.exec();
    return editor.saved();
}

void CMainFrame::openToolWindow(ToolWindow window)
{
    const bool created = window == OpenColourBox ? !colourBox_ : window == OpenPaintPalette ? !paintPalette_ : !airBrush_;
    switch (window) {
    case OpenColourBox:
        if (created) {
            colourBox_ = new ColourBoxWindow(studio_.ws, this);
            colourBox_->setWindowTitle(QString::fromUtf8(langText(studio_.ws, Msg::ColourBoxTitle)));
            connect(view_, &CVLX98View::penPicked, colourBox_, &ColourBoxWindow::refresh);
            connect(colourBox_, &ColourBoxWindow::penChanged, this, &CMainFrame::penChanged);
        }
        bringUp(colourBox_, kColourBoxPlace, created);
        break;
    case OpenPaintPalette:
        if (created) {
            paintPalette_ = new PaintPaletteWindow(*this, this);
            connect(paintPalette_, &PaintPaletteWindow::penChanged, this, &CMainFrame::penChanged);
        }
        bringUp(paintPalette_, kPaintPalettePlace, created);
        break;
    case OpenAirBrush:
        if (created) airBrush_ = new AirBrushPaletteWindow(*this, this);
        bringUp(airBrush_, kAirBrushPlace, created);
        break;
    }
}

void CMainFrame::showPen()
{
    if (colourBox_) colourBox_->refresh();
    if (paintPalette_) paintPalette_->refresh();
}

bool CMainFrame::askPenWidth(int32_t& width)
{
    bool ok = false;
    const Workspace& ws = studio_.ws;
    const int w = QInputDialog::getInt(this, QString::fromUtf8(langText(ws, Msg::PenWidthTitle)),
                                       QString::fromUtf8(langText(ws, Msg::PenWidthLabel)), width, 1, 5, 1, &ok);
    if (ok) width = w;
    return ok;
}

bool CMainFrame::askFont(std::string& font, Rgb& colour)
{
    TextFontDialog dialog(studio_.ws, font, colour, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    font = dialog.fontDescription();
    colour = dialog.colour();
    return true;
}

std::string CMainFrame::askText()
{
    bool ok = false;
    const Workspace& ws = studio_.ws;
    const QString text = QInputDialog::getText(this, QString::fromUtf8(langText(ws, Msg::TextTitle)),
                                               QString::fromUtf8(langText(ws, Msg::TextLabel)), QLineEdit::Normal, {}, &ok);
    return ok ? text.toStdString() : std::string();
}

void CMainFrame::languageChanged()
{
    // Chinese and English have their own bars; any other language keeps the
    // bar that is there, rebuilt.
    const int32_t bar = menuBarOf(studio_.ws.screenLanguage);
    installMenuBar(bar == MenuDefault ? menuBarId_ : bar);
    setWindowTitle(captionText());
    view_->update();
}

void CMainFrame::terminate(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

void CMainFrame::closeProgram()
{
    // Asked from inside a command, which still counts as running: the
    // window closes once the command has returned.
    QTimer::singleShot(0, this, &QWidget::close);
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (placed_) return;
    placed_ = true;
    // The frame covers the whole screen from its top-left corner.
    if (QScreen* s = screen()) setGeometry(s->geometry());
    setWindowTitle(captionText());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // A running command lets events through while it polls for Esc; the
    // window stays until it has finished.
    if (studio_.busy) event->ignore();
    else QMainWindow::closeEvent(event);
}

}  // namespace orx::app
