// The "Editor" window.
#include "textEditor.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>

#include "buttonNames.h"
#include "engine/showScript.h"
#include "workspace/fileIo.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

QString textOf(const Workspace& ws, Msg id) { return QString::fromUtf8(langText(ws, id)); }

// ---- line numbers, in a strip left of the text (as in Qt's code editor example)

class NumberedEdit : public QPlainTextEdit {
public:
    explicit NumberedEdit(QWidget* parent) : QPlainTextEdit(parent), numbers_(new Strip(this))
    {
        connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(stripWidth(), 0, 0, 0); });
        connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& r, int dy) {
            if (dy) numbers_->scroll(0, dy);
            else numbers_->update(0, r.y(), numbers_->width(), r.height());
        });
        setViewportMargins(stripWidth(), 0, 0, 0);
    }

    int stripWidth() const
    {
        const int digits = QString::number(std::max(1, blockCount())).size();
        return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QPlainTextEdit::resizeEvent(e);
        const QRect r = contentsRect();
        numbers_->setGeometry(QRect(r.left(), r.top(), stripWidth(), r.height()));
    }

private:
    class Strip : public QWidget {
    public:
        explicit Strip(NumberedEdit* edit) : QWidget(edit), edit_(edit) {}

    protected:
        void paintEvent(QPaintEvent* e) override
        {
            QPainter p(this);
            p.fillRect(e->rect(), palette().color(QPalette::AlternateBase));
            p.setPen(palette().color(QPalette::PlaceholderText));
            QTextBlock block = edit_->firstVisibleBlock();
            int top = int(edit_->blockBoundingGeometry(block).translated(edit_->contentOffset()).top());
            while (block.isValid() && top <= e->rect().bottom()) {
                const int height = int(edit_->blockBoundingRect(block).height());
                if (block.isVisible() && top + height >= e->rect().top())
                    p.drawText(0, top, width() - 4, edit_->fontMetrics().height(), Qt::AlignRight,
                               QString::number(block.blockNumber() + 1));
                block = block.next();
                top += height;
            }
        }

    private:
        NumberedEdit* edit_;
    };

    Strip* numbers_;
};

// ---- show scripts coloured by the player's own reading of each line

class ShowHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override
    {
        struct Look {
            int kind;
            QColor colour;
            bool bold;
        };
        static const Look kLooks[] = {
            {ShowOther, QColor(128, 128, 128), false},   {ShowModel, QColor(0, 0, 160), true},
            {ShowMaterial, QColor(0, 110, 0), true},     {ShowImage, QColor(120, 0, 140), true},
            {ShowDelay, QColor(170, 60, 0), false},      {ShowRepeat, QColor(170, 0, 0), true},
            {ShowZoom, QColor(0, 110, 130), false},      {ShowZoomOut, QColor(0, 110, 130), false},
            {ShowShift, QColor(0, 110, 130), false},
        };
        const int kind = classifyShowLine(text.toStdString()).kind;
        for (const Look& l : kLooks)
            if (l.kind == kind) {
                QTextCharFormat f;
                f.setForeground(l.colour);
                if (l.bold) f.setFontWeight(QFont::Bold);
                setFormat(0, int(text.size()), f);
            }
    }
};

}  // namespace

TextEditor::TextEditor(Workspace& ws, const std::string& path, const TextDocument& doc, bool editable,
                       QWidget* parent)
    : QDialog(parent), ws_(ws), path_(path), encoding_(doc.encoding), editable_(editable)
{
    setWindowTitle(textOf(ws, editable ? Msg::EditorTitle : Msg::EditorTitleDisplay));
    auto* name = new QLineEdit(QString::fromStdString(path), this);
    name->setReadOnly(true);
    edit_ = new NumberedEdit(this);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(12);
    edit_->setFont(fixed);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setPlainText(QString::fromStdString(textOfLines(doc.lines)));
    edit_->setReadOnly(!editable);
    edit_->document()->setModified(false);
    if (upperExtension(path) == "MMP") (new ShowHighlighter(edit_->document()))->rehighlight();

    findBar_ = new QWidget(this);
    find_ = new QLineEdit(findBar_);
    replace_ = new QLineEdit(findBar_);
    auto* next = new QPushButton(textOf(ws, Msg::EditorFindNext), findBar_);
    auto* one = new QPushButton(textOf(ws, Msg::EditorReplaceOne), findBar_);
    auto* all = new QPushButton(textOf(ws, Msg::EditorReplaceAll), findBar_);
    auto* bar = new QHBoxLayout(findBar_);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(new QLabel(textOf(ws, Msg::EditorFind), findBar_));
    bar->addWidget(find_, 1);
    bar->addWidget(next);
    bar->addWidget(new QLabel(textOf(ws, Msg::EditorReplace), findBar_));
    bar->addWidget(replace_, 1);
    bar->addWidget(one);
    bar->addWidget(all);
    for (QWidget* w : {static_cast<QWidget*>(replace_), static_cast<QWidget*>(one), static_cast<QWidget*>(all)})
        w->setEnabled(editable);
    findBar_->hide();
    connect(find_, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(one, &QPushButton::clicked, this, &TextEditor::replaceOne);
    connect(all, &QPushButton::clicked, this, &TextEditor::replaceAll);

    save_ = new QPushButton(textOf(ws, Msg::EditorSave), this);
    save_->setEnabled(editable);
    auto* exit = new QPushButton(textOf(ws, Msg::EditorExit), this);
    exit->setAutoDefault(false);
    save_->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &TextEditor::save);
    connect(exit, &QPushButton::clicked, this, &TextEditor::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(textOf(ws, Msg::EditorFileName), this));
    top->addWidget(name, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(edit_, 1);
    layout->addWidget(findBar_);
    layout->addLayout(buttons);

    auto key = [this](QKeySequence k, auto f) { connect(new QShortcut(k, this), &QShortcut::activated, this, f); };
    key(QKeySequence::Find, [this] { showFindBar(); });
    key(QKeySequence::FindNext, [this] { findNext(); });
    key(QKeySequence::FindPrevious, [this] { findNext(true); });
    key(QKeySequence(Qt::CTRL | Qt::Key_G), [this] { askForLine(); });
    if (editable) key(QKeySequence::Save, [this] { save(); });

    askToSave = [this](const QString& text) {
        return askQuestion(ws_, this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Yes);
    };
    // Centred on the screen, large enough for a script.
    resize(760, 560);
    if (const QScreen* s = screen()) move(s->geometry().center() - rect().center());
    edit_->setFocus();
}

bool TextEditor::save()
{
    if (!editable_) return false;
    const std::vector<std::string> lines = linesOfText(edit_->toPlainText().toStdString());
    switch (writeTextFile(path_, lines, encoding_)) {
    case TextWrite::Ok: break;
    case TextWrite::NotInEncoding: showLangMessage(ws_, Msg::TextNotBig5, path_.c_str()); return false;
    case TextWrite::CannotWrite: showLangMessage(ws_, Msg::CantOpenFile, path_.c_str()); return false;
    }
    edit_->document()->setModified(false);
    saved_ = lines;
    return true;
}

void TextEditor::reject()
{
    if (editable_ && edit_->document()->isModified()) {
        switch (askToSave(textOf(ws_, Msg::EditorModified))) {
        case QMessageBox::Yes:
            if (!save()) return;  // the text stays to be saved elsewhere
            break;
        case QMessageBox::No: break;
        default: return;  // back to the text
        }
    }
    QDialog::reject();
}

// ---- find, replace, go to line

void TextEditor::showFindBar()
{
    findBar_->show();
    if (edit_->textCursor().hasSelection()) find_->setText(edit_->textCursor().selectedText());
    find_->setFocus();
    find_->selectAll();
}

bool TextEditor::findNext(bool backward)
{
    const QString what = find_->text();
    if (what.isEmpty()) {
        showFindBar();
        return false;
    }
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (edit_->find(what, flags)) return true;
    // Round to the other end once.
    QTextCursor c = edit_->textCursor();
    c.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    edit_->setTextCursor(c);
    if (edit_->find(what, flags)) return true;
    showLangMessage(ws_, Msg::EditorNotFound, what.toStdString().c_str());
    return false;
}

void TextEditor::replaceOne()
{
    if (!editable_) return;
    QTextCursor c = edit_->textCursor();
    if (c.hasSelection() && c.selectedText() == find_->text()) c.insertText(replace_->text());
    findNext();
}

int TextEditor::replaceAll()
{
    if (!editable_ || find_->text().isEmpty()) return 0;
    // One undo step for the lot.
    QTextCursor c(edit_->document());
    c.beginEditBlock();
    int n = 0;
    for (QTextCursor at = edit_->document()->find(find_->text()); !at.isNull();
         at = edit_->document()->find(find_->text(), at)) {
        at.insertText(replace_->text());
        ++n;
    }
    c.endEditBlock();
    return n;
}

void TextEditor::goToLine(int line)
{
    const QTextBlock block = edit_->document()->findBlockByNumber(std::clamp(line, 1, edit_->blockCount()) - 1);
    edit_->setTextCursor(QTextCursor(block));
    edit_->centerCursor();
}

void TextEditor::askForLine()
{
    QInputDialog ask(this);
    ask.setInputMode(QInputDialog::IntInput);
    ask.setWindowTitle(textOf(ws_, Msg::EditorGoToLine));
    ask.setLabelText(textOf(ws_, Msg::EditorLine));
    ask.setIntRange(1, edit_->blockCount());
    ask.setIntValue(edit_->textCursor().blockNumber() + 1);
    nameButtons(ws_, ask);
    if (ask.exec() == QDialog::Accepted) goToLine(ask.intValue());
}

}  // namespace orx::app
