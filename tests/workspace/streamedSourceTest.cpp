// Readers fed by a source that cannot tell a file's size, as the online
// library's streams are: nothing a companion claims may be trusted beyond
// the bytes actually read, and a file far larger than the image costs no
// more than the part that lands in it.
#include <cstring>
#include <map>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/nativeFile.h"

namespace orx {
namespace {

using test::TestWorkspace;

// Files in memory whose streams report no size and only move forward.
// `requested` adds up, per file, the bytes the readers asked for.
class StreamedFiles : public FileSource {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, uint64_t> requested;

    std::unique_ptr<InStream> open(const std::string& name) override
    {
        auto it = files.find(name);
        if (it == files.end()) return nullptr;
        return std::make_unique<Stream>(it->second, requested[name]);
    }
    std::vector<std::string> listFolder(const std::string&) override { return {}; }

private:
    class Stream : public InStream {
    public:
        Stream(const std::string& bytes, uint64_t& requested) : bytes_(bytes), requested_(requested) {}
        size_t read(void* dst, size_t n) override
        {
            requested_ += n;
            const size_t k = pos_ < bytes_.size() ? std::min(n, size_t(bytes_.size() - pos_)) : 0;
            if (k) std::memcpy(dst, bytes_.data() + pos_, k);
            pos_ += k;
            return k;
        }
        bool seekTo(uint64_t offset) override
        {
            if (offset < pos_) return false;
            pos_ = offset;
            return true;
        }
        int64_t size() const override { return -1; }

    private:
        const std::string& bytes_;
        uint64_t& requested_;
        uint64_t pos_ = 0;
    };
};

std::string companion(const char* text)
{
    std::string s = text;
    s.resize(30, '\0');
    return s;
}

TEST(StreamedSource, AMaskClaimingTheWidestRowsIsClippedToTheImage)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 8, 6);
    std::memset(t.ws.mask, 7, 48);
    StreamedFiles src;
    // 2147483647 columns: (w + 7) / 8 must not be worked out in 32 bits.
    src.files["W.MPR"] = companion("2147483647 1");
    src.files["W.MSK"] = std::string("\xa5", 1);
    ASSERT_TRUE(loadMSKClipped(t.ws, "W.MSK", t.ws.mask, src));
    const uint8_t row0[8] = {255, 0, 255, 0, 0, 255, 0, 255};
    EXPECT_EQ(0, std::memcmp(t.ws.mask, row0, 8));
    for (int i = 8; i < 48; ++i) ASSERT_EQ(t.ws.mask[i], 7) << i;
    EXPECT_LE(src.requested["W.MSK"], 1u);
    EXPECT_TRUE(t.platform.messages.empty());

    // A second row would start 268,435,456 bytes in: the stream ends first.
    src.files["W.MPR"] = companion("2147483647 2");
    EXPECT_FALSE(loadMSKClipped(t.ws, "W.MSK", t.ws.mask, src));
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_NE(t.platform.messages[0].find("incomplete or damaged"), std::string::npos);
}

TEST(StreamedSource, APasteOfAVeryWideFileReadsOnlyWhatLands)
{
    TestWorkspace t;
    layoutPlanes(t.ws, 5, 4);
    std::memset(t.ws.image, 10, imageBytes(t.ws));
    clearMask(t.ws);
    StreamedFiles src;
    src.files["P.IPR"] = companion("2147483647 1 0 0");
    std::string pixels(24, '\0');
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = char(100 + i);
    src.files["P.RGB"] = pixels;

    // Placed 3 columns left of the image: file columns 3..7 land.
    ASSERT_TRUE(pasteRGBFile(t.ws, "P.RGB", -3, 0, 255, src));
    for (int x = 0; x < 5; ++x)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(t.ws.image[3 * x + c], 100 + 3 * (x + 3) + c) << x;
    for (uint64_t i = 15; i < imageBytes(t.ws); ++i) ASSERT_EQ(t.ws.image[i], 10) << i;
    EXPECT_LE(src.requested["P.RGB"], 15u);
    EXPECT_TRUE(t.platform.messages.empty());
}

}  // namespace
}  // namespace orx
