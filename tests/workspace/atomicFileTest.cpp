// Saving over what is already there: the old file's mode stays, nodes that
// are no regular file are refused, long names work, an interrupt leaves no
// temp file, and a raw image with its companion is replaced as a pair.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/fileKinds.h"

namespace orx {
namespace {

namespace fs = std::filesystem;
using test::readFileBytes;
using test::TempDir;
using test::writeFileBytes;

// The names in the folder that are temp files of a save.
std::vector<std::string> tempFilesIn(const TempDir& dir)
{
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(dir.dir()))
        if (e.path().filename().string().find(".orxtmp-") != std::string::npos) found.push_back(e.path().string());
    return found;
}

mode_t modeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(AtomicFile, AReplacedFileKeepsItsModeAndALinkKeepsPointingAtIt)
{
    TempDir dir;
    for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0755)}) {
        const std::string target = dir.path("kept");
        writeFileBytes(target, {1});
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        ASSERT_TRUE(writeFileAtomically(target, "new", 3));
        EXPECT_EQ(modeOf(target), mode);
        EXPECT_EQ(readFileBytes(target).size(), 3u);
    }
    // A new file gets what the umask allows, as any file the user creates.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(dir.path("fresh"), "x", 1));
    ::umask(mask);
    EXPECT_EQ(modeOf(dir.path("fresh")), mode_t(0644));

    writeFileBytes(dir.path("real"), {1, 2});
    fs::create_symlink("real", dir.path("link"));
    ASSERT_TRUE(writeFileAtomically(dir.path("link"), "abc", 3));
    EXPECT_TRUE(fs::is_symlink(dir.path("link")));
    EXPECT_EQ(readFileBytes(dir.path("real")), (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_TRUE(tempFilesIn(dir).empty());
}

TEST(AtomicFile, ANodeThatIsNoRegularFileIsRefusedAndLeftAsItWas)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.path("fifo").c_str(), 0600), 0);
    fs::create_symlink(dir.path("fifo"), dir.path("to-fifo"));
    fs::create_directory(dir.path("folder"));
    // Only nodes of the test's own folder: a regression must not be able to
    // replace a device of the machine.
    for (const char* name : {"fifo", "to-fifo", "folder"}) {
        SCOPED_TRACE(name);
        const fs::file_status before = fs::symlink_status(dir.path(name));
        AtomicFile f(dir.path(name));
        EXPECT_FALSE(f.ok());
        EXPECT_NE(f.error(), 0);
        EXPECT_FALSE(f.commit());
        EXPECT_EQ(fs::symlink_status(dir.path(name)).type(), before.type());
    }
    EXPECT_TRUE(fs::is_fifo(dir.path("fifo")));
    EXPECT_TRUE(tempFilesIn(dir).empty());
}

TEST(AtomicFile, NamesUpToTheLongestAFolderTakesAreWritten)
{
    TempDir dir;
    for (size_t length : {size_t(238), size_t(241), size_t(250), size_t(255)}) {
        const std::string target = dir.path(std::string(length - 4, 'n') + ".RGB");
        ASSERT_TRUE(writeFileAtomically(target, "x", 1)) << length;
        EXPECT_TRUE(fileExists(target)) << length;
    }
    EXPECT_TRUE(tempFilesIn(dir).empty());
}

TEST(AtomicFile, AnInterruptDuringASaveLeavesNoTempFile)
{
    for (int sig : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(sig);
        TempDir dir;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The default actions, as a program started from a shell has them.
            std::signal(sig, SIG_DFL);
            AtomicFile a(dir.path("A.RGB")), b(dir.path("A.IPR"));
            a.write("half", 4);
            b.write("done", 4);
            b.finish();
            ::raise(sig);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "status " << status;
        EXPECT_TRUE(tempFilesIn(dir).empty());
        EXPECT_FALSE(fileExists(dir.path("A.RGB")));
    }
}

// A raw image and its companion: when the companion cannot be completed
// (here the file-size limit cuts its last bytes, which go out only when it
// is closed), neither file is replaced, so the old companion still
// describes the old raw file.
TEST(PairSave, ACompanionThatCannotBeCompletedKeepsTheOldPair)
{
    for (FileKind kind : {FileKind::RGB, FileKind::MSK}) {
        const FileKindInfo& k = fileKindInfo(kind);
        SCOPED_TRACE(k.extension);
        TempDir dir;
        const std::string name = dir.path(std::string("P.") + k.extension);
        test::TestWorkspace t;
        test::fillPattern(t.ws, 16, 2);
        ASSERT_TRUE(k.save(t.ws, name));
        const auto oldRaw = readFileBytes(name), oldCompanion = readFileBytes(companionOf(name));

        test::fillPattern(t.ws, 8, 1);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{oldCompanion.size() - 1, oldCompanion.size() - 1};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(k.save(t.ws, name) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the save reported success";
        EXPECT_EQ(readFileBytes(name), oldRaw);
        EXPECT_EQ(readFileBytes(companionOf(name)), oldCompanion);
        EXPECT_TRUE(tempFilesIn(dir).empty());
    }
}

// The companion completes but cannot be renamed in (its temp file went
// away): the raw file already renamed is put back, or removed when there
// was none before, so the pair on disk is never half new.
TEST(PairSave, ACompanionThatCannotBeRenamedInPutsTheRawFileBack)
{
    for (bool oldPair : {true, false}) {
        SCOPED_TRACE(oldPair ? "over an old pair" : "a new pair");
        TempDir dir;
        const std::string raw = dir.path("P.RGB"), companion = dir.path("P.IPR");
        if (oldPair) {
            writeFileBytes(raw, {1, 1});
            writeFileBytes(companion, {2, 2});
        }
        AtomicFile newRaw(raw), newCompanion(companion);
        newRaw.write("new raw", 7);
        newCompanion.write("new companion", 13);
        for (const std::string& temp : tempFilesIn(dir))
            if (temp.find("P.IPR.orxtmp-") != std::string::npos) ASSERT_EQ(::unlink(temp.c_str()), 0);
        EXPECT_FALSE(commitTogether({&newRaw, &newCompanion}));
        EXPECT_EQ(fileExists(raw), oldPair);
        EXPECT_EQ(fileExists(companion), oldPair);
        if (oldPair) {
            EXPECT_EQ(readFileBytes(raw), (std::vector<uint8_t>{1, 1}));
            EXPECT_EQ(readFileBytes(companion), (std::vector<uint8_t>{2, 2}));
        }
        EXPECT_TRUE(tempFilesIn(dir).empty());
    }
}

}  // namespace
}  // namespace orx
