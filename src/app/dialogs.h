// The program's small modal dialogs: screen language (218), "Contrast
// Control" (130), the new image size (148), and the about boxes.
#pragma once

#include <QDialog>
#include <string>

#include "workspace/workspace.h"

class QDialogButtonBox;
class QFontDialog;
class QListWidget;
class QRadioButton;
class QPushButton;
class QSpinBox;

namespace orx::app {

// "SCREEN MESSAGE LANGUAGE ": the radio buttons set ws.screenLanguage at
// once; the caller puts it back when the dialog is not accepted.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    explicit LanguageDialog(Workspace& ws, QWidget* parent = nullptr);
    QRadioButton* taiwanButton() const { return taiwan_; }
    QRadioButton* englishButton() const { return english_; }
    QDialogButtonBox* buttons() const { return buttons_; }

private:
    QRadioButton* taiwan_;
    QRadioButton* english_;
    QDialogButtonBox* buttons_;
};

// "Contrast Control": 20 entries from "0.1<Bright>" to "2.0<Dark>",
// "Apply" accepts with the chosen entry, "Exit" rejects.
class ContrastDialog : public QDialog {
    Q_OBJECT
public:
    ContrastDialog(const Workspace& ws, int32_t entry, QWidget* parent = nullptr);
    int32_t entry() const;
    QListWidget* list() const { return list_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* exitButton() const { return exit_; }

private:
    QListWidget* list_;
    QPushButton* apply_;
    QPushButton* exit_;
};

// "Input new RGB size": "X pixels:" and "Y pixels:".
class NewImageDialog : public QDialog {
    Q_OBJECT
public:
    NewImageDialog(const Workspace& ws, int32_t width, int32_t height, QWidget* parent = nullptr);
    int32_t imageWidth() const;
    int32_t imageHeight() const;
    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }

private:
    QSpinBox* width_;
    QSpinBox* height_;
};

// The text tool's font and colour: the font dialog's choices and a colour
// button.
class TextFontDialog : public QDialog {
    Q_OBJECT
public:
    TextFontDialog(const Workspace& ws, const std::string& font, Rgb colour, QWidget* parent = nullptr);
    std::string fontDescription() const;
    Rgb colour() const { return colour_; }

private:
    QFontDialog* fonts_;
    QPushButton* colourButton_;
    Rgb colour_;
    void showColour();
};

// About box 100, 192 or 214: the product title, version 10.1, an OK button.
void showAboutBox(const Workspace& ws, int32_t dialog, QWidget* parent);

}  // namespace orx::app
