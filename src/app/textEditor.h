// The "Editor": a modal window on a text file (an ORX mapping script or an
// MMP show script) in a fixed-pitch font, with line numbers, undo and redo,
// find (Ctrl+F, F3, Shift+F3), replace, go to line (Ctrl+G) and Save
// (Ctrl+S). Show scripts are coloured line by line as the player reads them.
// Not editable (the file cannot be written), it only shows the file.
//
// Closing with unsaved changes asks "Data been midified, do you want to
// update ?": Yes saves (and stays when the save fails), No discards, Esc
// goes back to the text.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "workspace/textFile.h"
#include "workspace/workspace.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace orx::app {

class TextEditor : public QDialog {
    Q_OBJECT
public:
    TextEditor(Workspace& ws, const std::string& path, const TextDocument& doc, bool editable,
               QWidget* parent = nullptr);

    // The lines last saved; nothing when the file was not saved.
    const std::optional<std::vector<std::string>>& saved() const { return saved_; }
    bool save();

    QPlainTextEdit* edit() const { return edit_; }
    QPushButton* saveButton() const { return save_; }
    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replace_; }
    // Finds the next (or the previous) place of the find field's text,
    // from the caret round to the start; false when there is none.
    bool findNext(bool backward = false);
    // Replaces the found text under the selection, then finds the next one.
    void replaceOne();
    int replaceAll();
    void goToLine(int line);

    // The question before closing with unsaved changes; tests answer it.
    std::function<QMessageBox::StandardButton(const QString&)> askToSave;

public slots:
    void reject() override;

private:
    void showFindBar();
    void askForLine();

    Workspace& ws_;
    std::string path_;
    TextEncoding encoding_;
    bool editable_;
    QPlainTextEdit* edit_;
    QPushButton* save_;
    QWidget* findBar_;
    QLineEdit* find_;
    QLineEdit* replace_;
    std::optional<std::vector<std::string>> saved_;
};

}  // namespace orx::app
