// Shared by the library tests: a real FTP server on 127.0.0.1 (started per
// test on a port the system picks, killed with the test), library files
// made by code in either container order, and a temporary library folder.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/libraryConfig.h"
#include "support/testSupport.h"
#include "workspace/workspace.h"

namespace orx::test {

struct FtpServerOptions {
    std::string user = "47302615";
    std::string password = "58190374";
    bool silent = false;       // never greets
    long stallAfter = -1;      // RETR stalls after this many bytes
    double trickle = 0;        // RETR sends a byte every this many seconds
    std::string logins;        // a file that gets a line per login
};

class FtpServer {
public:
    explicit FtpServer(const std::string& root, FtpServerOptions options = {});
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    std::string url() const { return "ftp://127.0.0.1:" + std::to_string(port_); }
    // Closes every control connection and waits until the server has.
    void dropConnections();
    void stop();

private:
    bool readLine(std::string& line, int timeoutMs);
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
    std::string buffered_;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
int unusedPort();

enum class FileOrder { Library, Local };  // thumbnail before or after the pixels

// A model (MDL) or material (CLO) of w x h in the given order; the
// thumbnail is the one the system makes for the picture.
std::vector<uint8_t> containerBytes(Workspace& ws, bool model, int32_t w, int32_t h, FileOrder order,
                                    uint8_t seed = 0);
// The thumbnail containerBytes puts in the same file.
std::vector<uint8_t> containerThumbnail(Workspace& ws, int32_t w, int32_t h, uint8_t seed = 0);

// A library root with its ORXWEBTRY folder, and a workspace for the test.
struct LibraryRoot {
    TempDir root;
    std::string folder;  // root/ORXWEBTRY
    LibraryRoot();
    std::string path(const std::string& name) const { return folder + "/" + name; }
    void put(const std::string& name, const std::vector<uint8_t>& bytes) const { writeFileBytes(path(name), bytes); }
};

// A configuration for a location with the fixture's short time-out.
LibraryConfig configFor(const std::string& location, int timeoutSeconds = 5);

}  // namespace orx::test
