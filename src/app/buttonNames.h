// The standard buttons of questions and dialogs named in the screen
// language: Qt names them in English whatever the program shows.
#pragma once

#include <QMessageBox>
#include <QString>

#include "workspace/workspace.h"

class QDialogButtonBox;
class QInputDialog;

namespace orx::app {

// Names every OK, Cancel, Yes and No button the box holds.
void nameButtons(const Workspace& ws, QDialogButtonBox* box);
void nameButtons(const Workspace& ws, QMessageBox& box);
void nameButtons(const Workspace& ws, QInputDialog& dialog);

// A modal question whose buttons speak the screen language; the button
// chosen, or NoButton when the box was closed otherwise.
QMessageBox::StandardButton askQuestion(const Workspace& ws, QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

}  // namespace orx::app
