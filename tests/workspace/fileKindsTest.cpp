// The file-kind table: every row's reader, writer and size reader agree
// with each other and with the companion the row names.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/fileKinds.h"

namespace orx {
namespace {

using test::TempDir;
using test::TestWorkspace;

std::string lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What a kind keeps of the working picture: the mask for masks, the
// colour image otherwise.
std::vector<uint8_t> keptPlane(const Workspace& ws, FileKind kind)
{
    if (kind == FileKind::MSK) return {ws.mask, ws.mask + pixelCount(ws)};
    return {ws.image, ws.image + imageBytes(ws)};
}

TEST(FileKinds, EveryKindReadsBackWhatItWritesUnderItsOwnExtension)
{
    TempDir dir;
    int roundTrips = 0;
    for (const FileKindInfo& kind : fileKinds()) {
        if (!kind.open || !kind.save) continue;
        SCOPED_TRACE(kind.extension);
        TestWorkspace t;
        test::fillPattern(t.ws, 9, 5);
        for (uint64_t i = 0; i < pixelCount(t.ws); ++i) t.ws.mask[i] = (i % 3) ? 0 : 255;
        t.ws.modelArea[2] = 8, t.ws.modelArea[3] = 4;
        // Extensions are found in any case.
        const std::string name = dir.path(kind.extension + ("." + lower(kind.extension)));
        ASSERT_EQ(&fileKindOf(name), &kind);
        ASSERT_TRUE(kind.save(t.ws, name));
        if (kind.companion) {
            EXPECT_TRUE(fileExists(companionOf(name))) << companionOf(name);
        }
        if (kind.size) {
            int32_t w = 0, h = 0;
            EXPECT_EQ(kind.size(localFiles(), name, w, h), SizeRead::Ok);
            EXPECT_EQ(w, 9);
            EXPECT_EQ(h, 5);
        }
        TestWorkspace u;
        ASSERT_TRUE(kind.open(u.ws, name, localFiles()));
        EXPECT_EQ(u.ws.imageWidth, 9);
        if (kind.kind == FileKind::JPG) {
            // JPEG keeps the picture only nearly.
            const auto a = keptPlane(u.ws, kind.kind), b = keptPlane(t.ws, kind.kind);
            ASSERT_EQ(a.size(), b.size());
            double error = 0;
            for (size_t i = 0; i < a.size(); ++i) error += std::abs(a[i] - b[i]);
            EXPECT_LT(error / double(a.size()), 8.0);
        } else {
            EXPECT_EQ(keptPlane(u.ws, kind.kind), keptPlane(t.ws, kind.kind));
        }
        EXPECT_TRUE(u.platform.messages.empty());
        ++roundTrips;
    }
    EXPECT_GE(roundTrips, 13);
    EXPECT_EQ(fileKindOfExtension("orx").kind, FileKind::ORX);
    EXPECT_EQ(companionOf("dir.x/A.msk"), "dir.x/A.MPR");
    EXPECT_EQ(companionOf("A.CLO"), "");
    EXPECT_EQ(fileKindOf("noext").kind, FileKind::Unknown);
    // A second spelling names the same kind, under the kind's first name.
    EXPECT_EQ(fileKindOf("a.jpeg").kind, FileKind::JPG);
    EXPECT_EQ(fileKindOf("a.Tiff").kind, FileKind::TIF);
    EXPECT_STREQ(fileKindName(FileKind::TIF), "TIF");
}

}  // namespace
}  // namespace orx
