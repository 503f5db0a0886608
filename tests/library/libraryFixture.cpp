#include "libraryFixture.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

#include "workspace/containerFile.h"
#include "workspace/thumbnail.h"

#ifndef ORX_FTP_SERVER_SCRIPT
#error "ORX_FTP_SERVER_SCRIPT names tests/library/ftpServer.py"
#endif

namespace orx::test {

FtpServer::FtpServer(const std::string& root, FtpServerOptions o)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe failed";
        return;
    }
    std::vector<std::string> args = {"/usr/bin/python3", ORX_FTP_SERVER_SCRIPT, root, "--user", o.user,
                                     "--password", o.password};
    if (o.silent) args.push_back("--silent");
    if (o.stallAfter >= 0) {
        args.push_back("--stall-after");
        args.push_back(std::to_string(o.stallAfter));
    }
    if (!o.logins.empty()) {
        args.push_back("--logins");
        args.push_back(o.logins);
    }
    if (o.trickle > 0) {
        args.push_back("--trickle");
        args.push_back(std::to_string(o.trickle));
    }
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // The server dies with the test, even when the test crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(1);
        ::dup2(fds[1], 1);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    out_ = fds[0];
    std::string line;
    if (pid_ > 0 && readLine(line, 15000) && line.rfind("PORT ", 0) == 0) port_ = std::atoi(line.c_str() + 5);
    if (port_ <= 0) ADD_FAILURE() << "the FTP server did not start (" << ORX_FTP_SERVER_SCRIPT << ")";
}

FtpServer::~FtpServer() { stop(); }

void FtpServer::stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (out_ >= 0) {
        ::close(out_);
        out_ = -1;
    }
}

bool FtpServer::readLine(std::string& line, int timeoutMs)
{
    for (;;) {
        size_t nl = buffered_.find('\n');
        if (nl != std::string::npos) {
            line = buffered_.substr(0, nl);
            buffered_.erase(0, nl + 1);
            return true;
        }
        pollfd p = {out_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return false;
        char buf[256];
        ssize_t n = ::read(out_, buf, sizeof buf);
        if (n <= 0) return false;
        buffered_.append(buf, size_t(n));
    }
}

void FtpServer::dropConnections()
{
    ASSERT_GT(pid_, 0);
    ::kill(pid_, SIGUSR1);
    std::string line;
    ASSERT_TRUE(readLine(line, 5000));
    ASSERT_EQ(line.rfind("DROPPED ", 0), 0u) << line;
}

int unusedPort()
{
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(s);
    return ntohs(a.sin_port);
}

std::vector<uint8_t> containerThumbnail(Workspace& ws, int32_t w, int32_t h, uint8_t seed)
{
    fillPattern(ws, w, h);
    for (uint64_t i = 0; i < imageBytes(ws); ++i) ws.image[i] = uint8_t(ws.image[i] + seed);
    makeThumbnail(ws);
    return std::vector<uint8_t>(ws.thumbBuffer, ws.thumbBuffer + kThumbBytes);
}

std::vector<uint8_t> containerBytes(Workspace& ws, bool model, int32_t w, int32_t h, FileOrder order, uint8_t seed)
{
    const std::vector<uint8_t> thumb = containerThumbnail(ws, w, h, seed);
    if (model)
        makeModelHeader(ws, w, h, 100, 0, 0, int16_t(w - 1), int16_t(h - 1), 0, 0, int16_t(w - 1), int16_t(h - 1));
    else
        makeLinkHeader(ws, w, h, 100);
    uint8_t* raw = ws.fileHeader.raw;
    const uint32_t pixels = uint32_t(w) * uint32_t(h) * 3;
    std::vector<uint8_t> out(raw, raw + kHeaderBytes);
    if (order == FileOrder::Library) {
        // The library's order: offsets of pixels and thumbnail swapped.
        auto put32 = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
        };
        put32(74, uint32_t(kHeaderBytes + kThumbBytes));
        put32(90, uint32_t(kHeaderBytes));
        out.insert(out.end(), thumb.begin(), thumb.end());
        out.insert(out.end(), ws.image, ws.image + pixels);
    } else {
        out.insert(out.end(), ws.image, ws.image + pixels);
        out.insert(out.end(), thumb.begin(), thumb.end());
    }
    return out;
}

LibraryRoot::LibraryRoot() : folder(root.path("ORXWEBTRY")) { ::mkdir(folder.c_str(), 0777); }

LibraryConfig configFor(const std::string& location, int timeoutSeconds)
{
    LibraryConfig cfg;
    cfg.location = location;
    cfg.timeoutSeconds = timeoutSeconds;
    return cfg;
}

}  // namespace orx::test
