// The core's Platform for the desktop program: message boxes with the stop
// icon, Qt file dialogs, the wait cursor, the view's band and redraws, the
// run's progress bar and the Esc / right-button poll.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "platform/platform.h"
#include "workspace/workspace.h"

class CVLX98View;
class QWidget;

namespace orx::app {

class RunProgress;

// "RGB(*.RGB)|*.RGB||" as a Qt file dialog filter: "RGB (*.RGB *.rgb)".
// Patterns take their lower-case twin too, since the system's files are
// named in upper case but may have been copied as lower case.
QString qtFileFilter(const std::string& filter);

class QtPlatform : public Platform {
public:
    // answerFree: messages go to stderr and every question is answered
    // "no" (the start's failure path run without a person, in tests).
    explicit QtPlatform(Workspace& ws, bool answerFree = false);

    void attach(CVLX98View* view, RunProgress* progress);
    // Called when the undo or redo counts change outside a command (an edit
    // made with the mouse): the menus and tool windows refresh.
    void onStatesChanged(std::function<void()> f) { statesChanged_ = std::move(f); }
    bool answerFree() const { return answerFree_; }

    void message(const std::string& text, Icon icon) override;
    void beep() override;
    bool askYesNo(const std::string& text) override;
    std::string chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::string chooseSaveFile(const std::string& title, const std::string& filter) override;
    void waitCursor(bool on) override;
    bool stopRequested() override;
    void status(const std::string& text, Rgb band) override;
    void redraw(const Rect* rect) override;
    void progress(int done, int total) override;
    void undoStateChanged() override;

private:
    QWidget* dialogParent() const;

    Workspace& ws_;
    bool answerFree_;
    int waitDepth_ = 0;
    QPointer<CVLX98View> view_;
    QPointer<RunProgress> progress_;
    std::function<void()> statesChanged_;
};

}  // namespace orx::app
