// orxweb: the desktop program. Starts the environment (language, buffers,
// library, paths, cursors) before any window shows, then the main window;
// a file named on the command line opens as the working image.
//
//   orxweb [FILE] [--first-paint-time]
//
// --first-paint-time prints the milliseconds from the start of main() to
// the end of the view's first paint and quits (bench/startupTime.sh).
// ORX_PLATFORM=console sends the messages to stderr and answers every
// question "no", for runs without a person.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "cursors.h"
#include "mainFrame.h"
#include "qtPlatform.h"
#include "startup.h"
#include "studio.h"
#include "view.h"

namespace {

// Reports when the view has painted for the first time, then quits.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(const QElapsedTimer& clock) : clock_(clock) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued: runs once the paint this event starts is finished.
            QTimer::singleShot(0, [this] {
                std::printf("first paint after %lld ms\n", static_cast<long long>(clock_.elapsed()));
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

private:
    const QElapsedTimer& clock_;
    bool seen_ = false;
};

// RS must hold a full-screen picture: larger screens get a larger buffer.
size_t displayBytesFor(const QScreen* screen)
{
    if (!screen) return orx::kDisplayBytes;
    const QSize s = screen->geometry().size();
    const size_t stride = (size_t(s.width()) * 3 + 3) / 4 * 4;
    return std::max(orx::kDisplayBytes, stride * size_t(s.height()));
}

}  // namespace

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orxweb"));

    bool measure = false;
    QString startFile;
    for (const QString& a : QApplication::arguments().mid(1)) {
        if (a == QLatin1String("--first-paint-time")) measure = true;
        else if (!a.startsWith(QLatin1String("--"))) startFile = a;
    }

    orx::Workspace ws;
    orx::app::QtPlatform platform(ws, qEnvironmentVariable("ORX_PLATFORM") == QLatin1String("console"));
    ws.platform = &platform;
    orx::app::Studio studio(ws);

    orx::app::StartPaths paths = orx::app::processStartPaths();
    paths.displayBytes = displayBytesFor(QGuiApplication::primaryScreen());
    if (!orx::app::startEnvironment(studio, paths)) return orx::app::kStartFailureStatus;
    const orx::app::CursorTable cursors;

    orx::app::CMainFrame frame(studio, cursors, &platform);
    FirstPaintProbe probe(clock);
    if (measure) frame.view()->installEventFilter(&probe);
    frame.show();
    if (!startFile.isEmpty())
        QTimer::singleShot(0, &frame, [&frame, startFile] { frame.openStartFile(startFile.toStdString()); });
    return QApplication::exec();
}
