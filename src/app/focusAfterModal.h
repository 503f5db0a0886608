// When a modal dialog closes, the main window takes the keyboard back at
// once. Without a window manager nobody hands activation back to it, and
// its shortcuts stay dead until the person clicks into it.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace orx::app {

class FocusAfterModal : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application; `window` is activated and
    // `focus` given the keyboard once the last modal dialog has gone.
    FocusAfterModal(QWidget* window, QWidget* focus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();

    QPointer<QWidget> window_;
    QPointer<QWidget> focus_;
};

}  // namespace orx::app
