// KOVAHELP: the help program. Shows the page named in KOVA.HLP (the file
// beside the program, or the one given as the first argument), with links
// followed inside the window.
//
//   KOVAHELP [HANDOVER] [--check]
//
// --check loads the page, prints its title and ends: 0 when it was found.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <cstdio>

namespace {

QString handOverFile(const QStringList& args)
{
    for (const QString& a : args.mid(1))
        if (!a.startsWith(QLatin1String("--"))) return a;
    return QApplication::applicationDirPath() + QStringLiteral("/KOVA.HLP");
}

// The hand-over file holds the page path and nothing else (no newline).
QString pageOf(const QString& handOver)
{
    QFile f(handOver);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString page = pageOf(handOverFile(args));
    const bool found = !page.isEmpty() && QFileInfo::exists(page);

    QTextBrowser browser;
    browser.setOpenLinks(true);
    browser.setOpenExternalLinks(false);
    browser.resize(900, 700);
    if (found) {
        browser.setSource(QUrl::fromLocalFile(page));
    } else {
        browser.setPlainText(QStringLiteral("Can not open help page %1").arg(page));
    }
    const QString title = browser.documentTitle();
    browser.setWindowTitle(title.isEmpty() ? QStringLiteral("KOVAHELP") : title);

    if (args.contains(QLatin1String("--check"))) {
        std::printf("%s\n", qPrintable(browser.windowTitle()));
        return found ? 0 : 1;
    }
    browser.show();
    return QApplication::exec();
}
