// The main window: the view in the middle, the menu bar of the screen
// language built from the menu and command tables, the caption, and the
// dialogs the commands ask for.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <map>

#include "shell.h"
#include "studio.h"

class CVLX98View;
class QAction;
class QMenu;

namespace orx::app {

class AirBrushPaletteWindow;
class ColourBoxWindow;
class CursorTable;
class PaintPaletteWindow;
class QtPlatform;
class RunProgress;

class CMainFrame : public QMainWindow, public Shell {
    Q_OBJECT
public:
    // platform may be null (tests that install their own); it is then
    // left alone and the view is not connected to the core.
    CMainFrame(Studio& studio, const CursorTable& cursors, QtPlatform* platform, QWidget* parent = nullptr);

    CVLX98View* view() const { return view_; }
    // The pen changed outside its windows (a macro): the colour box and the
    // paint palette show it.
    void showPen();
    // The paint tools' windows; nullptr until first opened.
    PaintPaletteWindow* paintPalette() const { return paintPalette_; }
    ColourBoxWindow* colourBox() const { return colourBox_; }
    AirBrushPaletteWindow* airBrushPalette() const { return airBrush_; }
    Studio& studio() const { return studio_; }
    RunProgress* runProgress() const { return progress_; }
    int32_t menuBarId() const { return menuBarId_; }
    // The action of a command in the current menu bar (nullptr when absent).
    QAction* action(int32_t id) const;

    // A command from a menu, a shortcut or a tool window. False when it did
    // not run (disabled, busy, or not built yet).
    bool execute(int32_t id);
    // The enabled and checked states of every action, from the table.
    void refreshCommandStates();
    // The caption of the screen language: Chinese title for 1, English
    // title for 3 and 4, the short word otherwise.
    QString captionText() const;
    // "Load and Run MMP" on this script, as if chosen in its dialog.
    bool playShowFile(const std::string& path);
    // Opens a file named on the command line as the working image, or a
    // model to dress (in the start material, when one is set).
    bool openStartFile(const std::string& name);
    // The library material a model named on the command line is dressed in.
    void setStartMaterial(const std::string& name) { startMaterial_ = name; }
    // What a dressed start offers next: a hint in the status band and the
    // material strip, so that one click dresses the model again.
    void offerMaterials();

    // What the commands ask their dialogs of: the frame itself, or a layer
    // over it (shellLayer.h) while a macro plays or records. nullptr puts
    // the frame back.
    void setShellLayer(Shell* layer) { layer_ = layer; }
    Shell& shell() { return layer_ ? *layer_ : *this; }

    // Shell
    int32_t viewWidth() override;
    int32_t viewHeight() override;
    void setViewCursor(int32_t cursor) override;
    std::string chooseFromLibrary(const std::string& title, const std::string& extension) override;
    int32_t chooseContrast(int32_t entry) override;
    bool askNewImageSize(int32_t& width, int32_t& height) override;
    bool askLanguage() override;
    void showAbout(int32_t dialog) override;
    std::string chooseTextFile(const std::string& title, const std::string& filter) override;
    std::optional<std::vector<std::string>> editText(const std::string& path, const TextDocument& doc,
                                                     bool editable) override;
    std::string chooseImageFile(int32_t imageType) override;
    std::string chooseJpegFile(const std::string& title, const std::string& filter, int32_t& quality) override;
    bool scanPicture(ScannedPicture& out) override;
    int32_t choosePrintType(int32_t type) override;
    bool choosePrinter(QPrinter& printer) override;
    void defaultPrinter(QPrinter&) override {}
    bool previewPage(int32_t type, QPrinter& printer) override;
    bool keepAlive(int32_t ms) override;
    void openToolWindow(ToolWindow window) override;
    bool askPenWidth(int32_t& width) override;
    bool askFont(std::string& font, Rgb& colour) override;
    std::string askText() override;
    void languageChanged() override;
    void terminate(int code) override;
    void closeProgram() override;

signals:
    // The enabled and checked states may have changed (after a command,
    // before a menu opens): tool windows refresh their buttons.
    void commandStatesChanged();
    // A command ran (it was enabled and its handler has returned).
    void commandRan(int32_t id);
    // The colour box or the paint palette set the pen (colour, density,
    // width), or a macro did.
    void penChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void installMenuBar(int32_t menuBarId);
    QAction* makeAction(int32_t id, int32_t language);

    Studio& studio_;
    const CursorTable& cursors_;
    CVLX98View* view_;
    RunProgress* progress_;
    int32_t menuBarId_ = 0;
    std::map<int32_t, QAction*> actions_;
    bool placed_ = false;
    QPoint contrastPosition_;  // the contrast dialog reopens where it was closed
    Shell* layer_ = nullptr;
    std::string startMaterial_;
    PaintPaletteWindow* paintPalette_ = nullptr;
    ColourBoxWindow* colourBox_ = nullptr;
    AirBrushPaletteWindow* airBrush_ = nullptr;
};

}  // namespace orx::app
