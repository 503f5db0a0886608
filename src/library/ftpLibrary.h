// The online library on an FTP server, over one control connection kept
// for the run.
#pragma once

#include <memory>
#include <string>

#include "library.h"
#include "libraryConfig.h"
#include "workspace/langText.h"
#include "workspace/workspace.h"

namespace orx {

class FtpConnection;
struct FtpReply;
struct FtpSite;

class FtpLibrary : public Library {
public:
    // Use connectFtpLibrary.
    FtpLibrary(Workspace& ws, std::unique_ptr<FtpConnection> connection, std::string location,
               std::string folderUrl, std::string directory, int32_t connections, FtpSite site);
    ~FtpLibrary() override;

    std::unique_ptr<InStream> open(const std::string& name) override;
    std::vector<std::string> listFolder(const std::string& folder) override;
    std::vector<std::string> list(const std::string& pattern) override;
    bool remove(const std::string& name) override;
    std::string currentDirectory() override { return directory_; }
    std::string location() const override { return location_; }
    void readRanges(std::vector<RangeRead>& reads) override;

    // New control connections made since connecting (1 while the first
    // one lasts).
    int64_t connectionsMade() const;

    // Shows why reading a file failed (a lost connection, a stalled server).
    void reportReadFailure(const std::string& name, const FtpReply& reply);

private:
    // The folder's names, or false when the server could not list it.
    bool names(std::vector<std::string>& out, bool reportBadNames, const std::string& pattern);

    Workspace& ws_;
    std::unique_ptr<FtpConnection> connection_;
    std::string location_, folderUrl_, directory_;
    int32_t parallel_;
    // Where the batches of heads connect to (readRanges).
    std::unique_ptr<FtpSite> site_;
};

// Connects as the library's start-up does: a URL without "ftp://" gets it,
// then login (user, password, passive mode), the library directory and its
// current name. Every failure shows the messages of the failure table and
// gives nullptr: no session; a URL that is not FTP or has no server; the
// connection's own error text (or the generic connection text when it has
// none) followed by "m_pFtpConnection == NULL"; a missing library directory.
std::unique_ptr<FtpLibrary> connectFtpLibrary(Workspace& ws, const LibraryConfig& cfg);

}  // namespace orx
