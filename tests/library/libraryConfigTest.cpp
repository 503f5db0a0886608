// Where the library is: ORXLIB.CFG, ORX_LIBRARY_URL and the bundled sample
// library.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "library/libraryConfig.h"
#include "support/testSupport.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

// ORX_LIBRARY_URL set for one test and put back afterwards.
class UrlVariable {
public:
    explicit UrlVariable(const char* value)
    {
        if (const char* old = std::getenv(kLibraryUrlVariable)) old_ = old, had_ = true;
        if (value)
            ::setenv(kLibraryUrlVariable, value, 1);
        else
            ::unsetenv(kLibraryUrlVariable);
    }
    ~UrlVariable()
    {
        if (had_)
            ::setenv(kLibraryUrlVariable, old_.c_str(), 1);
        else
            ::unsetenv(kLibraryUrlVariable);
    }

private:
    std::string old_;
    bool had_ = false;
};

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

TEST(LibraryConfig, TheFileSetsEveryValueAndTheVariableWinsOverItsUrl)
{
    TestWorkspace t;
    TempDir dir;
    writeText(dir.path(kLibraryConfigFile),
              "# the studio's server\n"
              "url   ftp://library.example:2121/pub  \r\n"
              "\n"
              "USER studio\n"
              "Password s3cret word\n"
              "DIRECTORY SPRING\n"
              "TIMEOUT 7\n"
              "CONNECTIONS 2\n");
    {
        UrlVariable none(nullptr);
        LibraryConfig cfg;
        ASSERT_TRUE(readLibraryConfig(t.ws, dir.dir().string(), cfg));
        EXPECT_EQ(cfg.location, "ftp://library.example:2121/pub");
        EXPECT_EQ(cfg.user, "studio");
        EXPECT_EQ(cfg.password, "s3cret word");
        EXPECT_EQ(cfg.directory, "SPRING");
        EXPECT_EQ(cfg.timeoutSeconds, 7);
        EXPECT_EQ(cfg.connections, 2);
    }
    {
        UrlVariable url("ftp://127.0.0.1:9");
        LibraryConfig cfg;
        ASSERT_TRUE(readLibraryConfig(t.ws, dir.dir().string(), cfg));
        EXPECT_EQ(cfg.location, "ftp://127.0.0.1:9");
        EXPECT_EQ(cfg.user, "studio") << "the variable replaces the URL only";
    }
    {
        UrlVariable empty("");
        LibraryConfig cfg;
        ASSERT_TRUE(readLibraryConfig(t.ws, dir.dir().string(), cfg));
        EXPECT_EQ(cfg.location, "ftp://library.example:2121/pub") << "an empty variable is no setting";
    }
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST(LibraryConfig, WithNothingConfiguredTheFixedValuesAndTheBundledLibraryApply)
{
    TestWorkspace t;
    UrlVariable none(nullptr);
    TempDir build;
    // The build's layout: build/sample-library, the program in build/src/cli.
    const std::string program = build.path("src/cli");
    std::filesystem::create_directories(program);
    std::filesystem::create_directories(build.path("sample-library"));
    LibraryConfig cfg;
    ASSERT_TRUE(readLibraryConfig(t.ws, program, cfg));
    EXPECT_EQ(cfg.location, build.path("sample-library"));
    EXPECT_EQ(cfg.user, "47302615");
    EXPECT_EQ(cfg.password, "58190374");
    EXPECT_EQ(cfg.directory, "ORXWEBTRY");
    EXPECT_EQ(libraryKindOf(cfg.location), LibraryKind::Folder);

    // One beside the program is nearer than the build's.
    std::filesystem::create_directories(build.path("src/cli/sample-library"));
    EXPECT_EQ(bundledLibraryFolder(program), build.path("src/cli/sample-library"));
    TempDir bare;
    EXPECT_EQ(bundledLibraryFolder(bare.dir().string()), bare.path("sample-library"));
}

TEST(LibraryConfig, LinesThatCannotBeUnderstoodAreReportedWithTheirNumber)
{
    const char* bad[] = {"URL\n", "USER\n", "TIMEOUT 0\n", "TIMEOUT 5s\n", "CONNECTIONS 17\n",
                         "DIRECTORY ../etc\n", "DIRECTORY a/b\n", "PORT 21\n"};
    for (const char* line : bad) {
        TestWorkspace t;
        TempDir dir;
        writeText(dir.path(kLibraryConfigFile), std::string("# comment\n") + line);
        LibraryConfig cfg;
        EXPECT_FALSE(readLibraryConfig(t.ws, dir.dir().string(), cfg)) << line;
        ASSERT_EQ(t.platform.messages.size(), 1u) << line;
        EXPECT_NE(t.platform.messages[0].find("line 2"), std::string::npos) << t.platform.messages[0];
    }
}

TEST(LibraryConfig, TheLocationChoosesTheKindOfLibrary)
{
    TempDir dir;
    EXPECT_EQ(libraryKindOf("ftp://h"), LibraryKind::Ftp);
    EXPECT_EQ(libraryKindOf("FTP://h:21/x"), LibraryKind::Ftp);
    EXPECT_EQ(libraryKindOf("127.0.0.1:2121"), LibraryKind::Ftp) << "the server name alone gets ftp://";
    EXPECT_EQ(libraryKindOf("library.example"), LibraryKind::Ftp);
    EXPECT_EQ(libraryKindOf("http://h/"), LibraryKind::Ftp) << "and is then refused as no FTP URL";
    EXPECT_EQ(libraryKindOf("file:///srv/lib"), LibraryKind::Folder);
    EXPECT_EQ(libraryKindOf("/srv/lib"), LibraryKind::Folder);
    EXPECT_EQ(libraryKindOf("./lib"), LibraryKind::Folder);
    EXPECT_EQ(libraryKindOf(dir.dir().string()), LibraryKind::Folder);
}

}  // namespace
}  // namespace orx
