// JPEG out through the encoder program.
#include "jpegExport.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bitmapFile.h"
#include "fileIo.h"
#include "langText.h"

extern char** environ;

namespace orx {

namespace {

// The temporary bitmap, removed whatever happens.
struct TempBitmap {
    std::string path;
    TempBitmap()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "orxweb-jpeg-XXXXXX.bmp").string();
        const int fd = ::mkstemps(templ.data(), 4);
        if (fd >= 0) {
            ::close(fd);
            path = templ;
        }
    }
    ~TempBitmap()
    {
        if (!path.empty()) ::unlink(path.c_str());
    }
};

struct Run {
    bool finished = false;
    int status = 0;
    std::string errorText;  // what the encoder said on stderr
    std::string failure;    // why it could not run or was stopped
};

// Runs the program with its arguments (no shell) and waits at most
// `seconds`, collecting its standard error.
Run runProgram(const std::vector<std::string>& args, int seconds)
{
    Run run;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        run.failure = std::strerror(errno);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        run.failure = args[0] + ": " + std::strerror(spawned);
        return run;
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (bool open = true; open;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, int(left.count())) <= 0) continue;
        char buf[512];
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n > 0 && run.errorText.size() < 4096) run.errorText.append(buf, size_t(n));
        open = n > 0 || (n < 0 && errno == EINTR);
    }
    ::close(pipeFds[0]);
    // The pipe closes when the encoder ends; it gets until the deadline to be reaped.
    while (::waitpid(pid, &run.status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &run.status, 0);
            run.failure = "the encoder did not finish within " + std::to_string(seconds) + " seconds";
            return run;
        }
        ::usleep(2000);
    }
    run.finished = true;
    return run;
}

std::string firstLine(const std::string& text)
{
    const size_t end = text.find('\n');
    return text.substr(0, end);
}

}  // namespace

std::string encoderPath()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    const std::string folder = n > 0 ? dirName(std::string(buf, size_t(n))) : std::string(".");
    return joinPath(folder, "encoder");
}

bool saveJPG(Workspace& ws, const std::string& name, const std::string& encoder, int seconds)
{
    TempBitmap bitmap;
    if (bitmap.path.empty()) {
        showLangMessage(ws, Msg::FileNotWrittenWhy, name.c_str(), std::strerror(errno));
        return false;
    }
    if (!writeBMP(ws, bitmap.path, ws.image, ws.imageWidth, ws.imageHeight)) return false;
    const int quality = std::clamp(ws.jpegQuality, 1, 100);
    const Run run = runProgram({encoder, "-q", std::to_string(quality), "-s", "444", "--", bitmap.path, name}, seconds);
    std::string why = run.failure;
    if (why.empty() && !(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)) {
        why = firstLine(run.errorText);
        if (why.empty())
            why = WIFSIGNALED(run.status) ? "the encoder stopped on signal " + std::to_string(WTERMSIG(run.status))
                                          : "the encoder failed with status " + std::to_string(WEXITSTATUS(run.status));
    }
    if (!why.empty()) {
        showLangMessage(ws, Msg::FileNotWrittenWhy, name.c_str(), why.c_str());
        return false;
    }
    return true;
}

}  // namespace orx
