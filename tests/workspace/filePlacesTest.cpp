// Where the program keeps its own files: beside a writable program folder,
// else under the user's folders, so a read-only install still keeps its
// language and its undo snapshots.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/fileIo.h"
#include "workspace/filePlaces.h"
#include "workspace/langText.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

namespace fs = std::filesystem;

TEST(FilePlaces, BesideAWritableProgramFolder)
{
    test::TempDir program;
    const FilePlaces places = chooseFilePlaces(program.dir().string());
    EXPECT_EQ(places.config, program.dir().string());
    EXPECT_EQ(places.state, program.dir().string());
}

// What a read-only install does, in a child process whose user can not
// write the program folder (root is dropped to nobody). Each failed step
// ends the child with its own status.
int readOnlyInstall(const std::string& program, const std::string& home)
{
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 10;
    if (::access(program.c_str(), W_OK) == 0) return 11;
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);

    const FilePlaces places = chooseFilePlaces(program);
    if (places.config != home + "/.config/orxweb" || places.state != home + "/state/orxweb") return 12;
    if (!fs::is_directory(places.config) || !fs::is_directory(places.state)) return 13;

    test::TestWorkspace t;
    Workspace& ws = t.ws;
    ws.VLX98DIR = program;
    setFilePlaces(ws, program);
    ws.screenLanguage = LangEnglish;
    if (!writeScreenLanguage(ws)) return 14;
    Workspace back;
    readScreenLanguage(back, configFile(ws, kLanguageFile));
    if (back.screenLanguage != LangEnglish) return 15;
    test::fillPattern(ws, 8, 8);
    takeSnapshot(ws, SnapshotImage, 0, 0, 3, 3, 0);
    if (ws.rgbUndoCount != 1 || !fileExists(places.state + "/VLXRGB-0.FIX")) return 16;
    if (!fs::is_empty(program)) return 17;
    return 0;
}

TEST(FilePlaces, AReadOnlyInstallKeepsItsFilesUnderTheUsersFolders)
{
    test::TempDir root;
    const std::string program = root.path("program"), home = root.path("home");
    fs::create_directories(program);
    fs::create_directories(home);
    fs::permissions(root.dir(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    }

    const pid_t child = ::fork();
    if (child == 0) ::_exit(readOnlyInstall(program, home));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10 user, 11 still writable, 12 places, 13 folders, 14 language written, "
                                         "15 language read, 16 snapshot, 17 program folder touched";
    fs::permissions(program, fs::perms::owner_all);
}

}  // namespace
}  // namespace orx
