// Shared by the unit tests: a scripted platform, a fresh workspace with a
// small image block, and a temporary folder.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "workspace/workspace.h"

namespace orx::test {

// Records every call; answers questions and file dialogs from queues and
// reports a stop request once `stopAfterPolls` polls have been made.
class FakePlatform : public Platform {
public:
    std::vector<std::string> messages;
    std::vector<std::string> statuses;
    int beeps = 0;
    int polls = 0;
    int stopAfterPolls = -1;
    int redraws = 0;
    std::deque<bool> answers;
    std::deque<std::string> files;

    void message(const std::string& text, Icon) override { messages.push_back(text); }
    void beep() override { ++beeps; }
    bool askYesNo(const std::string& text) override
    {
        messages.push_back(text);
        if (answers.empty()) return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string chooseOpenFile(const std::string&, const std::string&) override { return nextFile(); }
    std::string chooseSaveFile(const std::string&, const std::string&) override { return nextFile(); }
    void waitCursor(bool) override {}
    bool stopRequested() override
    {
        ++polls;
        return stopAfterPolls >= 0 && polls > stopAfterPolls;
    }
    void status(const std::string& text, Rgb) override { statuses.push_back(text); }
    void redraw(const Rect*) override { ++redraws; }

    bool said(const std::string& part) const
    {
        for (const auto& m : messages)
            if (m.find(part) != std::string::npos) return true;
        return false;
    }

private:
    std::string nextFile()
    {
        if (files.empty()) return {};
        std::string f = files.front();
        files.pop_front();
        return f;
    }
};

constexpr uint64_t kTestBlockBytes = 64'000'000;

// A started workspace with an image block of blockBytes and English texts.
struct TestWorkspace {
    FakePlatform platform;
    Workspace ws;
    explicit TestWorkspace(uint64_t blockBytes = kTestBlockBytes, int32_t language = LangEnglish);
};

// A fresh folder under the system's temp folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// A deterministic test picture: pixel (x, y) = (x * 7 + y, y * 5 + x * 3, x ^ y) mod 256.
void fillPattern(Workspace& ws, int32_t w, int32_t h);

}  // namespace orx::test
