// The core's Platform for the desktop program.
#include "qtPlatform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

#include "buttonNames.h"
#include "runProgress.h"
#include "view.h"
#include "workspace/display.h"

namespace orx::app {

QString qtFileFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString title = parts[i].trimmed();
        // The description often carries its own "(*.RGB)"; Qt reads the
        // patterns from the last parentheses, so they are given once, there.
        if (const qsizetype open = title.lastIndexOf('('); open > 0 && title.endsWith(')'))
            title = title.left(open).trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            patterns << p.trimmed();
            if (p.trimmed() != p.trimmed().toLower()) patterns << p.trimmed().toLower();
        }
        out << QStringLiteral("%1 (%2)").arg(title, patterns.join(' '));
    }
    return out.join(QStringLiteral(";;"));
}

QtPlatform::QtPlatform(Workspace& ws, bool answerFree) : ws_(ws), answerFree_(answerFree) {}

void QtPlatform::attach(CVLX98View* view, RunProgress* progress)
{
    view_ = view;
    progress_ = progress;
}

QWidget* QtPlatform::dialogParent() const { return view_ ? view_->window() : nullptr; }

void QtPlatform::message(const std::string& text, Icon icon)
{
    if (answerFree_) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    static const QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                               QMessageBox::Information, QMessageBox::Question};
    QMessageBox box(kIcons[int(icon)], QStringLiteral("ORXWEB"), QString::fromStdString(text), QMessageBox::Ok,
                    dialogParent());
    nameButtons(ws_, box);
    box.exec();
}

void QtPlatform::beep()
{
    if (!answerFree_) QApplication::beep();
}

bool QtPlatform::askYesNo(const std::string& text)
{
    if (answerFree_) {
        std::fprintf(stderr, "%s (answered no)\n", text.c_str());
        return false;
    }
    return askQuestion(ws_, dialogParent(), QStringLiteral("ORXWEB"), QString::fromStdString(text),
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::string QtPlatform::chooseOpenFile(const std::string& title, const std::string& filter)
{
    if (answerFree_) return {};
    return QFileDialog::getOpenFileName(dialogParent(), QString::fromStdString(title),
                                        QString::fromStdString(ws_.WORKDIR), qtFileFilter(filter))
        .toStdString();
}

std::string QtPlatform::chooseSaveFile(const std::string& title, const std::string& filter)
{
    if (answerFree_) return {};
    return QFileDialog::getSaveFileName(dialogParent(), QString::fromStdString(title),
                                        QString::fromStdString(ws_.WORKDIR), qtFileFilter(filter))
        .toStdString();
}

void QtPlatform::waitCursor(bool on)
{
    // Nested jobs each ask for it; only the outermost shows and removes it.
    if (on && waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!on && waitDepth_ > 0 && --waitDepth_ == 0) QApplication::restoreOverrideCursor();
}

bool QtPlatform::stopRequested()
{
    // The Esc key and the right button reach the view as events; let them in.
    QApplication::processEvents();
    return view_ && view_->stopKeysDown();
}

void QtPlatform::status(const std::string& text, Rgb band)
{
    if (view_) view_->showStatus(QString::fromStdString(text), QColor(band.r, band.g, band.b));
}

void QtPlatform::redraw(const Rect* rect)
{
    if (view_) view_->showDisplay(rect);
}

void QtPlatform::progress(int done, int total)
{
    // A part of a run has been mapped into the image: compose it so the
    // redraw that follows shows it.
    if (done > 0 && ws_.imageLoaded == 1 && ws_.displayWidth > 0) redisplayAt(ws_, ws_.viewCentreX, ws_.viewCentreY);
    if (progress_) progress_->setProgress(done, total);
}

}  // namespace orx::app

namespace orx::app {

void QtPlatform::undoStateChanged()
{
    if (statesChanged_) statesChanged_();
}

}  // namespace orx::app
