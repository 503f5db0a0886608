// Layers between the commands and the window: a shell and a platform that
// pass every call on to the ones below. The command macros build on them:
// the player answers the dialogs from its script, the recorder lets the
// person answer and writes the answers down.
//
// A new dialog is a Shell method (shell.h), its line here, its answer in the
// player's answer table (macroPlayer.cpp) and its record in the recorder
// (macroRecorder.cpp).
#pragma once

#include "platform/platform.h"
#include "shell.h"

namespace orx::app {

class ShellForwarder : public Shell {
public:
    explicit ShellForwarder(Shell& inner) : inner_(inner) {}

    int32_t viewWidth() override { return inner_.viewWidth(); }
    int32_t viewHeight() override { return inner_.viewHeight(); }
    void setViewCursor(int32_t cursor) override { inner_.setViewCursor(cursor); }
    std::string chooseFromLibrary(const std::string& title, const std::string& extension) override
    {
        return inner_.chooseFromLibrary(title, extension);
    }
    int32_t chooseContrast(int32_t entry) override { return inner_.chooseContrast(entry); }
    bool askNewImageSize(int32_t& width, int32_t& height) override { return inner_.askNewImageSize(width, height); }
    bool askLanguage() override { return inner_.askLanguage(); }
    void showAbout(int32_t dialog) override { inner_.showAbout(dialog); }
    std::string chooseTextFile(const std::string& title, const std::string& filter) override
    {
        return inner_.chooseTextFile(title, filter);
    }
    std::optional<std::vector<std::string>> editText(const std::string& path, const TextDocument& doc,
                                                     bool editable) override
    {
        return inner_.editText(path, doc, editable);
    }
    std::string chooseImageFile(int32_t imageType) override { return inner_.chooseImageFile(imageType); }
    std::string chooseJpegFile(const std::string& title, const std::string& filter, int32_t& quality) override
    {
        return inner_.chooseJpegFile(title, filter, quality);
    }
    bool scanPicture(ScannedPicture& out) override { return inner_.scanPicture(out); }
    int32_t choosePrintType(int32_t type) override { return inner_.choosePrintType(type); }
    bool choosePrinter(QPrinter& printer) override { return inner_.choosePrinter(printer); }
    void defaultPrinter(QPrinter& printer) override { inner_.defaultPrinter(printer); }
    bool previewPage(int32_t type, QPrinter& printer) override { return inner_.previewPage(type, printer); }
    bool keepAlive(int32_t ms) override { return inner_.keepAlive(ms); }
    void openToolWindow(ToolWindow window) override { inner_.openToolWindow(window); }
    bool askPenWidth(int32_t& width) override { return inner_.askPenWidth(width); }
    bool askFont(std::string& font, Rgb& colour) override { return inner_.askFont(font, colour); }
    std::string askText() override { return inner_.askText(); }
    void languageChanged() override { inner_.languageChanged(); }
    void terminate(int code) override { inner_.terminate(code); }
    void closeProgram() override { inner_.closeProgram(); }

protected:
    Shell& inner_;
};

class PlatformForwarder : public Platform {
public:
    explicit PlatformForwarder(Platform& inner) : inner_(inner) {}

    void message(const std::string& text, Icon icon) override { inner_.message(text, icon); }
    void beep() override { inner_.beep(); }
    bool askYesNo(const std::string& text) override { return inner_.askYesNo(text); }
    std::string chooseOpenFile(const std::string& title, const std::string& filter) override
    {
        return inner_.chooseOpenFile(title, filter);
    }
    std::string chooseSaveFile(const std::string& title, const std::string& filter) override
    {
        return inner_.chooseSaveFile(title, filter);
    }
    void waitCursor(bool on) override { inner_.waitCursor(on); }
    bool stopRequested() override { return inner_.stopRequested(); }
    void status(const std::string& text, Rgb band) override { inner_.status(text, band); }
    void redraw(const Rect* rect) override { inner_.redraw(rect); }
    void progress(int done, int total) override { inner_.progress(done, total); }
    void undoStateChanged() override { inner_.undoStateChanged(); }

protected:
    Platform& inner_;
};

}  // namespace orx::app
