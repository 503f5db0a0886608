#include "testSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

namespace orx::test {

TestWorkspace::TestWorkspace(uint64_t blockBytes, int32_t language)
{
    ws.platform = &platform;
    ws.screenLanguage = language;
    const std::string bytes = std::to_string(blockBytes);
    ::setenv("ORX_BLOCK_BYTES", bytes.c_str(), 1);
    bool started = startWorkspace(ws);
    ::unsetenv("ORX_BLOCK_BYTES");
    if (!started) ADD_FAILURE() << "workspace did not start with a block of " << blockBytes;
}

TempDir::TempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "orxtest-XXXXXX").string();
    char* made = ::mkdtemp(templ.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    dir_ = made;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::vector<uint8_t> readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void fillPattern(Workspace& ws, int32_t w, int32_t h)
{
    layoutPlanes(ws, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = ws.image + (uint64_t(y) * w + x) * 3;
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 5 + x * 3);
            p[2] = uint8_t(x ^ y);
        }
    clearMask(ws);
    ws.imageLoaded = 1;
}

}  // namespace orx::test
