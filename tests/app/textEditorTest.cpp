// The "Editor": the question on closing, a failed save, the display mode,
// find and replace, and the two commands that open it, played as macros.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include "app/commandTable.h"
#include "app/macroPlayer.h"
#include "app/textEditor.h"
#include "studioFixture.h"

namespace orx {
namespace {

using namespace orx::app;

std::string fileText(const std::string& path)
{
    const std::vector<uint8_t> b = test::readFileBytes(path);
    return {b.begin(), b.end()};
}

struct EditorFixture {
    test::TempDir dir;
    test::TestWorkspace t;
    std::string path = dir.path("S.MMP");
    std::vector<QString> asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;

    EditorFixture() { test::writeFileBytes(path, {'A', '.', 'M', 'D', 'L', '\n', 'R', 'E', 'P', 'E', 'A', 'T', '\n'}); }

    std::unique_ptr<TextEditor> open(bool editable = true, const std::string& name = {})
    {
        TextDocument doc;
        readTextFile(name.empty() ? path : name, doc);
        auto e = std::make_unique<TextEditor>(t.ws, name.empty() ? path : name, doc, editable);
        e->askToSave = [this](const QString& q) {
            asked.push_back(q);
            return answer;
        };
        e->show();
        return e;
    }
};

TEST(Editor, ClosingAsksOnlyAfterChanges)
{
    EditorFixture f;
    auto e = f.open();
    EXPECT_EQ(e->edit()->toPlainText(), "A.MDL\nREPEAT\n");
    e->reject();
    EXPECT_TRUE(f.asked.empty()) << "nothing changed";
    EXPECT_FALSE(e->isVisible());

    const std::string before = fileText(f.path);
    for (auto [answer, stays, written] : {std::tuple{QMessageBox::Cancel, true, false},
                                          std::tuple{QMessageBox::No, false, false},
                                          std::tuple{QMessageBox::Yes, false, true}}) {
        e = f.open();
        f.asked.clear();
        f.answer = answer;
        QTest::keyClicks(e->edit(), "DELAY 3");
        QTest::keyClick(e->edit(), Qt::Key_Return);
        e->reject();
        ASSERT_EQ(f.asked.size(), 1u);
        EXPECT_EQ(f.asked[0], "Data been midified, do you want to update ?");
        EXPECT_EQ(e->isVisible(), stays) << answer;
        EXPECT_EQ(fileText(f.path) != before, written) << answer;
    }
    EXPECT_EQ(fileText(f.path), "DELAY 3\r\nA.MDL\r\nREPEAT\r\n");
    ASSERT_TRUE(e->saved().has_value());
    EXPECT_EQ(e->saved()->front(), "DELAY 3");
}

TEST(Editor, AFailedSaveKeepsTheText)
{
    EditorFixture f;
    auto e = f.open(true, f.dir.path("gone/S.MMP"));
    QTest::keyClicks(e->edit(), "ZOOM 2 10 10");
    f.answer = QMessageBox::Yes;
    e->reject();
    EXPECT_TRUE(e->isVisible()) << "Yes with a failing save stays";
    EXPECT_TRUE(f.t.platform.said("Can not open " + f.dir.path("gone/S.MMP") + " file."));
    EXPECT_EQ(e->edit()->toPlainText(), "ZOOM 2 10 10");
    EXPECT_FALSE(e->saved().has_value());
}

TEST(Editor, DisplayModeNeverWrites)
{
    EditorFixture f;
    auto e = f.open(false);
    EXPECT_FALSE(e->saveButton()->isEnabled());
    EXPECT_TRUE(e->edit()->isReadOnly());
    e->edit()->document()->setModified(true);
    EXPECT_FALSE(e->save());
    e->reject();
    EXPECT_TRUE(f.asked.empty());
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(fileText(f.path), "A.MDL\nREPEAT\n");
}

TEST(Editor, FindReplaceAndLines)
{
    EditorFixture f;
    test::writeFileBytes(f.path, {'a', 'b', ' ', 'a', 'b', '\n', 'c', '\n', 'a', 'b', '\n'});
    auto e = f.open();
    e->findField()->setText("ab");
    EXPECT_TRUE(e->findNext());
    EXPECT_EQ(e->edit()->textCursor().selectionStart(), 0);
    e->goToLine(3);
    EXPECT_EQ(e->edit()->textCursor().blockNumber(), 2);
    EXPECT_TRUE(e->findNext());  // the last "ab", then round to the first
    EXPECT_EQ(e->edit()->textCursor().blockNumber(), 2);
    EXPECT_TRUE(e->findNext());
    EXPECT_EQ(e->edit()->textCursor().selectionStart(), 0);
    e->replaceField()->setText("ZOOM ab");
    EXPECT_EQ(e->replaceAll(), 3);
    EXPECT_EQ(e->edit()->toPlainText(), "ZOOM ab ZOOM ab\nc\nZOOM ab\n");
    e->edit()->undo();
    EXPECT_EQ(e->edit()->toPlainText(), "ab ab\nc\nab\n") << "one undo takes the lot back";
    e->findField()->setText("none");
    EXPECT_FALSE(e->findNext());
    EXPECT_TRUE(f.t.platform.said("none is not found."));

    // Show scripts are coloured by how the player reads each line.
    test::writeFileBytes(f.path, {'A', '.', 'M', 'D', 'L', '\n', 'x', '\n'});
    e = f.open();
    const auto colourOf = [&](int line) {
        const QList<QTextLayout::FormatRange> r = e->edit()->document()->findBlockByNumber(line).layout()->formats();
        return r.isEmpty() ? QColor() : r[0].format.foreground().color();
    };
    EXPECT_NE(colourOf(0), colourOf(1));
    EXPECT_EQ(colourOf(1), QColor(128, 128, 128)) << "an ignored line is grey";
}

// 32875 and 32812 as a person uses them, answered by a macro.
TEST(Editor, CommandsOpenItOnTheChosenScript)
{
    test::StudioFixture s;
    auto play = [&](const std::string& text) {
        Macro m;
        std::string error;
        EXPECT_TRUE(parseMacro(text, s.dir.path("m.mac"), "", m, error)) << error;
        MacroPlayer player(*s.frame, m);
        ::testing::internal::CaptureStderr();
        player.play();
        ::testing::internal::GetCapturedStderr();
        return player.error();
    };
    // A new script: the extension is added, the text written with CR LF.
    EXPECT_EQ(play("answer save show\nanswer editor\nA.MDL\n..dots\n\n.\ncommand " + std::to_string(IdEditMmp) + "\n"),
              "");
    EXPECT_EQ(fileText(s.dir.path("show.MMP")), "A.MDL\r\n.dots\r\n");
    // The ORX editor needs a ready workspace, and opens an existing file.
    EXPECT_EQ(play("answer save show.ORX\nanswer ok\ncommand " + std::to_string(IdEditOrx) + "\n"), "");
    EXPECT_FALSE(fileExists(s.dir.path("show.ORX.ORX")));
    // Refusals before the editor opens.
    test::writeFileBytes(s.dir.path("bin.MMP"), {'A', 0, '\n'});
    EXPECT_EQ(play("answer save bin.MMP\nexpect message " + s.dir.path("bin.MMP") + " is not a text file.\ncommand " +
                   std::to_string(IdEditMmp) + "\n"),
              "");
    EXPECT_EQ(play("answer cancel\ncommand " + std::to_string(IdEditMmp) + "\n"), "");
}

}  // namespace
}  // namespace orx
