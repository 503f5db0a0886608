// Standard buttons in the screen language.
#include "buttonNames.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QPushButton>

#include "workspace/langText.h"

namespace orx::app {

namespace {

struct ButtonName {
    QDialogButtonBox::StandardButton button;
    Msg text;
};

// QMessageBox and QDialogButtonBox number their standard buttons alike.
constexpr ButtonName kButtonNames[] = {
    {QDialogButtonBox::Ok, Msg::ButtonOk},
    {QDialogButtonBox::Cancel, Msg::ButtonCancel},
    {QDialogButtonBox::Yes, Msg::ButtonYes},
    {QDialogButtonBox::No, Msg::ButtonNo},
};

QString text(const Workspace& ws, Msg id) { return QString::fromUtf8(langText(ws, id)); }

}  // namespace

void nameButtons(const Workspace& ws, QDialogButtonBox* box)
{
    for (const ButtonName& n : kButtonNames)
        if (QPushButton* b = box->button(n.button)) b->setText(text(ws, n.text));
}

void nameButtons(const Workspace& ws, QMessageBox& box)
{
    for (const ButtonName& n : kButtonNames)
        if (QAbstractButton* b = box.button(QMessageBox::StandardButton(int(n.button)))) b->setText(text(ws, n.text));
}

void nameButtons(const Workspace& ws, QInputDialog& dialog)
{
    dialog.setOkButtonText(text(ws, Msg::ButtonOk));
    dialog.setCancelButtonText(text(ws, Msg::ButtonCancel));
}

QMessageBox::StandardButton askQuestion(const Workspace& ws, QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    nameButtons(ws, box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

}  // namespace orx::app
