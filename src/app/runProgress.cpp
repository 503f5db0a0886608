// The run's progress bar.
#include "runProgress.h"

#include <QEvent>
#include <QPainter>

#include "workspace/display.h"

namespace orx::app {

namespace {
constexpr int kBarHeight = 3;
}

RunProgress::RunProgress(QWidget* view) : QWidget(view)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    view->installEventFilter(this);
    hide();
    place();
}

void RunProgress::setProgress(int done, int total)
{
    done_ = done;
    total_ = total;
    setVisible(total > 0 && done > 0 && done < total);
    if (isVisible()) {
        raise();
        repaint();
    }
}

bool RunProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return false;
}

void RunProgress::place()
{
    const QWidget* view = parentWidget();
    setGeometry(0, view->height() - orx::kStatusBandHeight - kBarHeight, view->width(), kBarHeight);
}

void RunProgress::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(64, 64, 64));
    if (total_ > 0) p.fillRect(0, 0, width() * done_ / total_, height(), QColor(255, 0, 0));
}

}  // namespace orx::app
