// orxweb: the desktop program. Starts the environment (language, buffers,
// library, paths, cursors) before any window shows, then the main window;
// a file named on the command line opens as the working image.
//
//   orxweb [FILE] [--material NAME] [--first-paint-time]
//   orxweb --help
//   orxweb --macro MACRO [--exit] [FILE]    plays a command macro (macroPlayer.h)
//   orxweb --record MACRO [FILE]            records one (macroRecorder.h)
//   orxweb --show SCRIPT.MMP                plays a show full-screen, then
//                                           goes on as a normal window
//
// --material dresses the model FILE in the library material NAME, as the
// material road does, and offers the material strip for the next one.
// --first-paint-time prints the milliseconds from the start of main() to
// the end of the view's first paint and quits (bench/startupTime.sh).
// ORX_PLATFORM=console sends the messages to stderr and answers every
// question "no", for runs without a person.
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>

#include "cursors.h"
#include "macroPlayer.h"
#include "macroRecorder.h"
#include "mainFrame.h"
#include "qtPlatform.h"
#include "startup.h"
#include "studio.h"
#include "view.h"
#include "workspace/fileKinds.h"

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

struct Options {
    QString startFile;
    QString material;
    QString macro, record, show;
    bool exitAfterMacro = false;
    bool measure = false;
    bool help = false;
};

// Options that take a value name the field it goes to; the others set a flag.
struct OptionRow {
    const char* name;
    QString Options::*value;
    bool Options::*flag;
    const char* usage;
};

const OptionRow kOptions[] = {
    {"--material", &Options::material, nullptr, "--material NAME   dress the model FILE in the library material NAME"},
    {"--macro", &Options::macro, nullptr, "--macro MACRO     play a command macro"},
    {"--exit", nullptr, &Options::exitAfterMacro, "--exit            end when the macro has played"},
    {"--record", &Options::record, nullptr, "--record MACRO    record the session as a command macro"},
    {"--show", &Options::show, nullptr, "--show SCRIPT     play a show full-screen, then go on as a window"},
    {"--first-paint-time", nullptr, &Options::measure, "--first-paint-time  print the time to the first paint and end"},
    {"--help", nullptr, &Options::help, "--help            print this and end"},
};

void printUsage(FILE* to)
{
    std::fprintf(to, "usage: orxweb [FILE] [options]\n"
                     "  FILE              a picture to open, or a model (.MDL) to dress\n");
    for (const OptionRow& row : kOptions) std::fprintf(to, "  %s\n", row.usage);
}

// False (after saying why and the usage) for an unknown option or one that
// lacks its value.
bool readOptions(const QStringList& args, Options& o)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            o.startFile = a;
            continue;
        }
        const OptionRow* row = nullptr;
        for (const OptionRow& r : kOptions)
            if (a == QLatin1String(r.name)) row = &r;
        if (!row) {
            std::fprintf(stderr, "orxweb: unknown option %s\n", qPrintable(a));
            printUsage(stderr);
            return false;
        }
        if (row->flag) {
            o.*row->flag = true;
        } else if (i + 1 < args.size()) {
            o.*row->value = args[++i];
        } else {
            std::fprintf(stderr, "orxweb: %s needs a value\n", row->name);
            printUsage(stderr);
            return false;
        }
    }
    return true;
}

// --help and mistakes are answered from the words as typed, before the
// application exists, so without a display too. The exit status when the
// program ends here.
std::optional<int> answerBeforeStart(int argc, char** argv)
{
    QStringList typed;
    for (int i = 1; i < argc; ++i) typed << QString::fromLocal8Bit(argv[i]);
    Options o;
    if (!readOptions(typed, o)) return 2;
    if (o.help) {
        printUsage(stdout);
        return 0;
    }
    return std::nullopt;
}

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
    if (const std::optional<int> status = answerBeforeStart(argc, argv)) return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orxweb"));

    // Again as Qt leaves them, less its own (-platform NAME and the like).
    Options options;
    if (!readOptions(QApplication::arguments().mid(1), options)) return 2;
    if (!options.material.isEmpty() && orx::fileKindOf(options.startFile.toStdString()).kind != orx::FileKind::MDL) {
        std::fprintf(stderr, "orxweb: --material needs a model (.MDL) to dress\n");
        printUsage(stderr);
        return 2;
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
    if (options.measure) frame.view()->installEventFilter(&probe);
    std::unique_ptr<orx::app::MacroRecorder> recorder;
    if (!options.record.isEmpty()) {
        recorder = std::make_unique<orx::app::MacroRecorder>(frame, options.record.toStdString());
        if (!recorder->ok()) std::fprintf(stderr, "orxweb: can not write %s\n", qPrintable(options.record));
    }
    frame.setStartMaterial(options.material.toStdString());
    options.show.isEmpty() ? frame.show() : frame.showFullScreen();
    const std::string start = options.startFile.toStdString();
    // One queued start: a show lets events through while it plays, so a
    // macro must wait for its end.
    QTimer::singleShot(0, &frame, [&frame, &options, start] {
        if (!options.show.isEmpty()) {
            frame.playShowFile(options.show.toStdString());
            frame.showNormal();
        }
        if (!options.macro.isEmpty()) {
            const int status = orx::app::playMacroFile(frame, options.macro.toStdString(), start);
            if (options.exitAfterMacro) QApplication::exit(status);
        } else if (!start.empty()) {
            if (frame.openStartFile(start) && !options.material.isEmpty()) frame.offerMaterials();
        }
    });
    return QApplication::exec();
}
