// Recording command macros: what the person does at the view, written as a
// macro (macroPlayer.h) that plays it back byte for byte.
//
//   orxweb --record FILE [START]
//
// Written: each command after the answers its dialogs were given and the
// messages it showed ("expect message"); the pen when the colour box or the
// paint palette changed it ("pen"); the picture's mouse events (moves
// only with a button held; a press and release in one place as a click);
// keys the view receives; "view S X Y" before a mouse event whenever the
// scale or the centre changed since the last one; a show or a run the person
// stopped as "answer stop N". The file is written again after every action,
// so it is always a complete macro.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "workspace/display.h"

namespace orx::app {

class CMainFrame;

class MacroRecorder : public QObject {
public:
    MacroRecorder(CMainFrame& frame, const std::string& path);
    ~MacroRecorder() override;

    // False once the file could not be written.
    bool ok() const { return ok_; }

    // ---- for the layers that watch the dialogs
    // An answer or an expected message: written before the next action.
    void note(const std::string& line);
    // A stop poll and its answer.
    void stopPolled(bool stop);
    // A path as the macro names it: relative to its folder when inside it.
    std::string pathText(const std::string& path) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Layers;
    struct Press {
        Point at;
        bool right = false;
        std::string keys;  // " shift", " ctrl"
        bool written = false;
    };
    void action(const std::string& line);
    void viewIfChanged();
    void mouse(QEvent* event, Point at);
    void commandRan(int32_t id);
    void penChanged();

    CMainFrame& frame_;
    std::string path_;
    std::string folder_;
    std::unique_ptr<Layers> layers_;
    std::vector<std::string> lines_;
    std::vector<std::string> notes_;
    std::optional<Press> press_;
    bool afterDoubleClick_ = false;
    std::string pen_;  // a "pen" line waiting for the next action
    bool spaceHeld_ = false;
    bool dispatching_ = false;
    int32_t polls_ = 0;
    bool stopNoted_ = false;
    // The view as the last "view" line left it: scale, centre x and y.
    int32_t viewScale_ = 0, viewX_ = 0, viewY_ = 0;
    bool ok_ = true;
};

}  // namespace orx::app
