// A 6000 x 4000 picture in a started workspace, shared by the benchmarks
// of the editing tools; its snapshot files live in a temp folder removed at
// the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "workspace/undoSnapshot.h"
#include "workspace/workspace.h"

struct BenchPicture {
    orx::QuietPlatform platform;
    orx::Workspace ws;
    std::filesystem::path dir;

    explicit BenchPicture(const char* name)
    {
        ::setenv("ORX_BLOCK_BYTES", "200000000", 0);
        ws.platform = &platform;
        ws.screenLanguage = orx::LangEnglish;
        dir = std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ws.VLX98DIR = dir.string();
        ws.WORKDIR = dir.string();
        orx::startWorkspace(ws);
        orx::layoutPlanes(ws, 6000, 4000);
        for (uint64_t i = 0; i < orx::imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 31);
        orx::clearMask(ws);
    }
    ~BenchPicture()
    {
        orx::deleteSnapshotFiles(ws);
        std::filesystem::remove_all(dir);
    }
};
