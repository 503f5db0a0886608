// Activation back to the main window after a modal dialog.
#include "focusAfterModal.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace orx::app {

FocusAfterModal::FocusAfterModal(QWidget* window, QWidget* focus) : QObject(window), window_(window), focus_(focus)
{
    qApp->installEventFilter(this);
}

bool FocusAfterModal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto* w = static_cast<QWidget*>(watched);
        // After the dialog's own hiding is done: a dialog may open another.
        if (w->isWindow() && w->isModal() && w != window_) QTimer::singleShot(0, this, &FocusAfterModal::restore);
    }
    return QObject::eventFilter(watched, event);
}

void FocusAfterModal::restore()
{
    if (!window_ || !window_->isVisible() || QApplication::activeModalWidget()) return;
    window_->activateWindow();
    if (focus_ && !(QApplication::focusWidget() && window_->isAncestorOf(QApplication::focusWidget())))
        focus_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace orx::app
