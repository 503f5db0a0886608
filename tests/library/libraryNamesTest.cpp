// Names from servers and users are only names, and the lists' wildcards.
#include <gtest/gtest.h>

#include "library/libraryNames.h"

namespace orx {
namespace {

TEST(LibraryNames, PlainNamesStayInTheLibraryDirectory)
{
    for (const char* good : {"A.MDL", "a b.clo", "..MDL", "x..y.CLO", "\xe5\xb8\x83.CLO", "-rf.MDL"})
        EXPECT_TRUE(isPlainName(good)) << good;
    const std::string tooLong(256, 'A');
    for (const std::string& bad : {std::string(), std::string("."), std::string(".."), std::string("/etc/passwd"),
                                   std::string("sub/A.MDL"), std::string("..\\A.MDL"), std::string("A\\B.MDL"),
                                   std::string("A\r\nDELE B.MDL"), std::string("A\x01.MDL"), std::string("A\x7f"),
                                   std::string("A\0B", 3), tooLong})
        EXPECT_FALSE(isPlainName(bad)) << printableName(bad);
    EXPECT_TRUE(isPlainName(std::string(255, 'A')));
}

TEST(LibraryNames, AskedNamesLoseTheDotSlashOfResolvedNamesOnly)
{
    std::string leaf;
    ASSERT_TRUE(libraryFileName("./A.MSK", leaf));
    EXPECT_EQ(leaf, "A.MSK");
    ASSERT_TRUE(libraryFileName("././B.MAP", leaf));
    EXPECT_EQ(leaf, "B.MAP");
    leaf = "kept";
    for (const char* bad : {"./", "./../A.MDL", "./sub/A.MDL", "../A.MDL", "/A.MDL", ".//A.MDL", "C:/A.MDL"}) {
        EXPECT_FALSE(libraryFileName(bad, leaf)) << bad;
        EXPECT_EQ(leaf, "kept") << "a refused name leaves the output alone";
    }
}

TEST(LibraryNames, OnlyTheLibraryDirectoryCanBeListed)
{
    for (const char* f : {"", ".", "./"}) EXPECT_TRUE(isLibraryFolder(f)) << f;
    for (const char* f : {"..", "/", "sub", "./sub", "/tmp"}) EXPECT_FALSE(isLibraryFolder(f)) << f;
}

TEST(LibraryNames, WildcardsIgnoreCaseAndMatchWholeNames)
{
    EXPECT_TRUE(wildcardMatch("*.MDL", "a.mdl"));
    EXPECT_TRUE(wildcardMatch("*.MDL", "A.Mdl"));
    EXPECT_TRUE(wildcardMatch("*.CLO", ".CLO"));
    EXPECT_TRUE(wildcardMatch("?.CLO", "x.clo"));
    EXPECT_FALSE(wildcardMatch("*.MDL", "A.MDL.BAK"));
    EXPECT_FALSE(wildcardMatch("*.MDL", "A.MD"));
    EXPECT_FALSE(wildcardMatch("*.CLO", "A.MDL"));
    EXPECT_FALSE(wildcardMatch("?.CLO", "xy.CLO"));
    // Brackets in a name are characters, not a set.
    EXPECT_TRUE(wildcardMatch("*.MDL", "[1].MDL"));
}

TEST(LibraryNames, PrintableNamesShowControlCharacters)
{
    EXPECT_EQ(printableName("A\x01.MDL"), "A\\x01.MDL");
    EXPECT_EQ(printableName("A\r\n"), "A\\x0d\\x0a");
    EXPECT_EQ(printableName("plain.CLO"), "plain.CLO");
}

}  // namespace
}  // namespace orx
