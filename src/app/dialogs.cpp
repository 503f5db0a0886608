// The program's small modal dialogs.
#include "dialogs.h"

#include <algorithm>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "aboutBoxes.h"
#include "buttonNames.h"
#include "engine/shading.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

QString text(const Workspace& ws, Msg id) { return QString::fromUtf8(langText(ws, id)); }

QDialogButtonBox* okCancel(const Workspace& ws, QDialog* dialog)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    nameButtons(ws, box);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

}  // namespace

LanguageDialog::LanguageDialog(Workspace& ws, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(text(ws, Msg::LanguageTitle));
    taiwan_ = new QRadioButton(QStringLiteral("TAIWAN"), this);
    english_ = new QRadioButton(QStringLiteral("English"), this);
    taiwan_->setChecked(ws.screenLanguage == LangTaiwan);
    english_->setChecked(ws.screenLanguage == LangEnglish);
    connect(taiwan_, &QRadioButton::clicked, this, [&ws] { ws.screenLanguage = LangTaiwan; });
    connect(english_, &QRadioButton::clicked, this, [&ws] { ws.screenLanguage = LangEnglish; });
    buttons_ = okCancel(ws, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(taiwan_);
    layout->addWidget(english_);
    layout->addWidget(buttons_);
}

ContrastDialog::ContrastDialog(const Workspace& ws, int32_t entry, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(text(ws, Msg::ContrastTitle));
    list_ = new QListWidget(this);
    for (int k = 0; k < 20; ++k) list_->addItem(QString::fromStdString(contrastEntryText(ws.screenLanguage, k)));
    list_->setCurrentRow(std::clamp(entry, 0, 19));
    apply_ = new QPushButton(text(ws, Msg::ContrastApply), this);
    exit_ = new QPushButton(text(ws, Msg::ContrastExit), this);
    apply_->setDefault(true);
    connect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(apply_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(ws, Msg::ContrastRange), this));
    layout->addWidget(list_);
    layout->addLayout(buttons);
}

int32_t ContrastDialog::entry() const { return list_->currentRow(); }

NewImageDialog::NewImageDialog(const Workspace& ws, int32_t width, int32_t height, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(text(ws, Msg::NewImageTitle));
    width_ = new QSpinBox(this);
    height_ = new QSpinBox(this);
    for (QSpinBox* box : {width_, height_}) box->setRange(1, 1'000'000);
    width_->setValue(width);
    height_->setValue(height);
    auto* form = new QFormLayout(this);
    form->addRow(text(ws, Msg::NewImageX), width_);
    form->addRow(text(ws, Msg::NewImageY), height_);
    form->addRow(okCancel(ws, this));
}

int32_t NewImageDialog::imageWidth() const { return width_->value(); }
int32_t NewImageDialog::imageHeight() const { return height_->value(); }

void showAboutBox(const Workspace& ws, int32_t dialog, QWidget* parent)
{
    const int32_t language = aboutBoxLanguage(dialog, ws.screenLanguage);
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(langText(language, Msg::AboutTitle)),
                    QString::fromUtf8(langText(language, Msg::AboutText)), QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QString::fromUtf8(langText(language, Msg::ButtonOk)));
    box.exec();
}

TextFontDialog::TextFontDialog(const Workspace& ws, const std::string& font, Rgb colour, QWidget* parent)
    : QDialog(parent), colour_(colour)
{
    setWindowTitle(text(ws, Msg::FontTitle));
    // The font dialog's own choosers, inside this one.
    fonts_ = new QFontDialog(this);
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    if (!font.empty()) {
        QFont f;
        if (f.fromString(QString::fromStdString(font))) fonts_->setCurrentFont(f);
    }
    colourButton_ = new QPushButton(text(ws, Msg::FontColour), this);
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(QColor(colour_.r, colour_.g, colour_.b), this);
        if (!c.isValid()) return;
        colour_ = Rgb{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
        showColour();
    });
    showColour();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addWidget(colourButton_);
    layout->addWidget(okCancel(ws, this));
}

std::string TextFontDialog::fontDescription() const { return fonts_->currentFont().toString().toStdString(); }

void TextFontDialog::showColour()
{
    colourButton_->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3)").arg(colour_.r).arg(colour_.g).arg(colour_.b));
}

}  // namespace orx::app
