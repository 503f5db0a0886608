// What the command handlers ask of the window around them: the view's size
// and cursor, the program's dialogs, the menu and caption after a language
// change, and the end of the process. CMainFrame is the real one; tests
// script their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workspace/textFile.h"

class QPrinter;
#include "platform/platform.h"

namespace orx::app {

// A scan handed over by the scan dialog.
struct ScannedPicture {
    std::vector<uint8_t> rgb;   // R, G, B rows
    int32_t width = 0, height = 0;
    std::string device;
    double dpi = 0;
};

class Shell {
public:
    virtual ~Shell() = default;

    // The view's client size (the picture and the 20-pixel band below it).
    virtual int32_t viewWidth() = 0;
    virtual int32_t viewHeight() = 0;
    // A cursor of the cursor table (kCursorArrow or a resource id).
    virtual void setViewCursor(int32_t cursor) = 0;

    // The thumbnail browser, modal: the chosen file's name, empty on "Exit".
    virtual std::string chooseFromLibrary(const std::string& title, const std::string& extension) = 0;
    // The "Contrast Control" dialog: the entry chosen with "Apply", -1 on "Exit".
    virtual int32_t chooseContrast(int32_t entry) = 0;
    // The new-image size dialog; false on Cancel.
    virtual bool askNewImageSize(int32_t& width, int32_t& height) = 0;
    // The language dialog: sets ws.screenLanguage as its buttons are
    // clicked; true when it ended with OK.
    virtual bool askLanguage() = 0;
    // About box 100, 192 or 214.
    virtual void showAbout(int32_t dialog) = 0;
    // A save dialog for a text file to edit (ORX, MMP): an existing file or
    // a new name, without asking whether to replace it. Empty on Cancel.
    virtual std::string chooseTextFile(const std::string& title, const std::string& filter) = 0;
    // The "Editor" on a text file, modal; not editable, it only shows it.
    // The lines last saved, or nothing when it was not saved.
    virtual std::optional<std::vector<std::string>> editText(const std::string& path, const TextDocument& doc,
                                                             bool editable) = 0;
    // "Select Print Type": 1, 2, 4 or 5 with "Print", 0 with "Cancel".
    virtual int32_t choosePrintType(int32_t type) = 0;
    // The system's print dialog on the printer (a PDF file too); false on Cancel.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // The printer that prints without a dialog: the system's default as
    // the printer was made; a macro may put a PDF file there instead.
    virtual void defaultPrinter(QPrinter& printer) = 0;
    // The page of `type` in a preview: true when the person chose "Print"
    // there and then a printer (in printer).
    virtual bool previewPage(int32_t type, QPrinter& printer) = 0;

    // Lets the window answer for ms milliseconds (0: what is waiting now,
    // the paint of a new picture too). False, at once, when Esc or the
    // right button has asked to stop.
    virtual bool keepAlive(int32_t ms) = 0;

    // "Open Image File" on a type (2 BMP, 3 TIF, 4 JPG, 5 PCX, 6 PNG): the
    // full path of the file shown when OK was pressed, empty on Cancel.
    virtual std::string chooseImageFile(int32_t imageType) = 0;
    // The JPEG save dialog: a file name and the quality, which comes in as
    // the one last used. Empty on Cancel.
    virtual std::string chooseJpegFile(const std::string& title, const std::string& filter, int32_t& quality) = 0;

    // The scan dialog, modal: true with the scan when it ended with "To Screen".
    virtual bool scanPicture(ScannedPicture& out) = 0;

    // The paint tools' windows, each opened when it is not open.
    enum ToolWindow : int32_t { OpenColourBox, OpenPaintPalette, OpenAirBrush };
    virtual void openToolWindow(ToolWindow window) = 0;
    // "筆寬設定": the pen width, 1 to 5; false on Cancel.
    virtual bool askPenWidth(int32_t& width) = 0;
    // The text tool's font (as a font description) and colour; false on Cancel.
    virtual bool askFont(std::string& font, Rgb& colour) = 0;
    // The text tool's text; empty on Cancel.
    virtual std::string askText() = 0;

    // The menu of the language and the caption, after a language change.
    virtual void languageChanged() = 0;
    // Ends the process at once, without closing the window first.
    virtual void terminate(int code) = 0;
    // Closes the main window the ordinary way; the program then ends.
    virtual void closeProgram() = 0;
};

}  // namespace orx::app
