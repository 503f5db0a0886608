// The online library on an FTP server.
//
// Connecting follows the start-up of the library step by step: a session
// (libcurl's handles), the URL ("ftp://" added when it has no scheme),
// login in passive mode, the library directory and its name read back.
// Files are then opened by name over the kept connection: SIZE tells
// whether the file is there and how long it is, and the RETR starts only
// when the reader reads.
#include "ftpLibrary.h"

#include <algorithm>
#include <cctype>

#include "ftpConnection.h"
#include "ftpHeadReader.h"
#include "libraryNames.h"

namespace orx {

namespace {

// A server that lists more than this is not a library of models.
constexpr size_t kMaxListMegabytes = 8;
// Batches of at least this many reads learn their sizes from one listing.
constexpr size_t kListSizesFrom = 8;
// Forward seeks up to this far read through the open transfer; longer ones
// start the file again at the new offset.
constexpr uint64_t kSkipThroughBytes = 256 * 1024;

struct SiteUrl {
    std::string scheme, host, port, user, password;
    std::vector<std::string> folders;
};

std::string urlPart(CURLU* u, CURLUPart part, unsigned flags)
{
    char* v = nullptr;
    std::string out;
    if (curl_url_get(u, part, &v, flags) == CURLUE_OK && v) out = v;
    curl_free(v);
    return out;
}

// False when the text is no URL.
bool parseUrl(const std::string& text, SiteUrl& site)
{
    CURLU* u = curl_url();
    if (!u) return false;
    const bool ok = curl_url_set(u, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK;
    if (ok) {
        site.scheme = urlPart(u, CURLUPART_SCHEME, 0);
        site.host = urlPart(u, CURLUPART_HOST, 0);
        site.port = urlPart(u, CURLUPART_PORT, 0);
        site.user = urlPart(u, CURLUPART_USER, CURLU_URLDECODE);
        site.password = urlPart(u, CURLUPART_PASSWORD, CURLU_URLDECODE);
        const std::string path = urlPart(u, CURLUPART_PATH, CURLU_URLDECODE);
        site.folders.clear();
        for (size_t a = 0; a < path.size();) {
            size_t b = path.find('/', a);
            if (b == std::string::npos) b = path.size();
            if (b > a) site.folders.push_back(path.substr(a, b - a));
            a = b + 1;
        }
    }
    curl_url_cleanup(u);
    return ok;
}

bool isFtpSite(const SiteUrl& site)
{
    std::string scheme = site.scheme;
    for (char& c : scheme) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (scheme != "ftp" || site.host.empty()) return false;
    return std::all_of(site.folders.begin(), site.folders.end(), isPlainName);
}

// The directory named by the last "257" reply (PWD): the text between the
// quotes, where a doubled quote stands for one.
std::string directoryFromReplies(const std::vector<std::string>& lines)
{
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (it->compare(0, 4, "257 ") != 0) continue;
        size_t q = it->find('"');
        if (q == std::string::npos) continue;
        std::string dir;
        for (size_t i = q + 1; i < it->size(); ++i) {
            if ((*it)[i] != '"') {
                dir += (*it)[i];
            } else if (i + 1 < it->size() && (*it)[i + 1] == '"') {
                dir += '"';
                ++i;
            } else {
                return dir;
            }
        }
    }
    return {};
}

// Why a request failed, as the user reads it.
std::string reasonOf(const Workspace& ws, const FtpReply& r, int32_t timeoutSeconds)
{
    if (r.code == CURLE_OPERATION_TIMEDOUT) return langFormat(ws, Msg::LibTimedOut, int(timeoutSeconds));
    return ftpFailureText(r);
}

// A file that is not there (or no file): the server refused SIZE or RETR
// for it. Not worth a message: readers probe for companions this way.
bool isMissingFile(CURLcode code)
{
    return code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_FTP_COULDNT_RETR_FILE;
}

std::string withoutTrailingSlash(std::string s)
{
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

// A file of the library read at its reader's pace.
class FtpStream : public InStream {
public:
    FtpStream(FtpLibrary& lib, FtpConnection& c, std::string name, std::string url, int64_t size)
        : lib_(lib), c_(c), name_(std::move(name)), url_(std::move(url)), size_(size)
    {
    }

    size_t read(void* dst, size_t n) override
    {
        if (n == 0 || failed_) return 0;
        // Nothing left to read: no transfer for it.
        if (size_ >= 0 && pos_ >= uint64_t(size_)) return 0;
        if (!transfer_) transfer_ = std::make_unique<FtpTransfer>(c_, url_, pos_);
        const size_t got = transfer_->read(static_cast<uint8_t*>(dst), n);
        pos_ += got;
        if (got < n && !transfer_->reply().ok()) {
            failed_ = true;
            lib_.reportReadFailure(name_, transfer_->reply());
        }
        return got;
    }

    bool seekTo(uint64_t offset) override
    {
        if (size_ >= 0 && offset > uint64_t(size_)) return false;
        if (transfer_ && offset >= pos_ && offset - pos_ <= kSkipThroughBytes) {
            uint8_t scratch[16384];
            while (pos_ < offset)
                if (read(scratch, size_t(std::min<uint64_t>(sizeof scratch, offset - pos_))) == 0) return false;
            return true;
        }
        transfer_.reset();
        pos_ = offset;
        return true;
    }

    int64_t size() const override { return size_; }

private:
    FtpLibrary& lib_;
    FtpConnection& c_;
    std::string name_, url_;
    int64_t size_;
    uint64_t pos_ = 0;
    std::unique_ptr<FtpTransfer> transfer_;
    bool failed_ = false;
};

}  // namespace

FtpLibrary::FtpLibrary(Workspace& ws, std::unique_ptr<FtpConnection> connection, std::string location,
                       std::string folderUrl, std::string directory, int32_t connections, FtpSite site)
    : ws_(ws),
      connection_(std::move(connection)),
      location_(std::move(location)),
      folderUrl_(std::move(folderUrl)),
      directory_(std::move(directory)),
      parallel_(connections),
      site_(std::make_unique<FtpSite>(std::move(site)))
{
}

FtpLibrary::~FtpLibrary() = default;

int64_t FtpLibrary::connectionsMade() const { return connection_->connectionsMade(); }

void FtpLibrary::reportReadFailure(const std::string& name, const FtpReply& reply)
{
    lastError_ = reasonOf(ws_, reply, connection_->login().timeoutSeconds);
    showLangMessage(ws_, Msg::LibReadFailed, printableName(name).c_str(), lastError_.c_str());
}

std::unique_ptr<InStream> FtpLibrary::open(const std::string& name)
{
    lastError_.clear();
    std::string leaf;
    if (!libraryFileName(name, leaf)) {
        lastError_ = langFormat(ws_, Msg::LibBadName, printableName(name).c_str());
        showLangText(ws_, lastError_);
        return nullptr;
    }
    const std::string url = folderUrl_ + connection_->escape(leaf);
    FtpReply r = connection_->fileSize(url);
    if (r.ok()) return std::make_unique<FtpStream>(*this, *connection_, leaf, url, r.size);
    if (isMissingFile(r.code))
        lastError_ = ftpFailureText(r);
    else
        reportReadFailure(leaf, r);
    return nullptr;
}

bool FtpLibrary::names(std::vector<std::string>& out, bool reportBadNames, const std::string& pattern)
{
    lastError_.clear();
    out.clear();
    std::string text;
    FtpReply r = connection_->nameList(folderUrl_, text, kMaxListMegabytes << 20);
    if (!r.ok()) {
        // Some servers answer NLST in an empty folder with 450 or 550
        // rather than an empty list.
        const bool emptyFolder = isMissingFile(r.code) &&
                                 (r.serverSaid.compare(0, 3, "450") == 0 || r.serverSaid.compare(0, 3, "550") == 0);
        if (emptyFolder) return true;
        lastError_ = r.code == CURLE_WRITE_ERROR ? langFormat(ws_, Msg::LibListTooLarge, int(kMaxListMegabytes))
                                                 : reasonOf(ws_, r, connection_->login().timeoutSeconds);
        showLangMessage(ws_, Msg::LibListFailed, directory_.c_str(), lastError_.c_str());
        return false;
    }
    for (size_t a = 0; a < text.size();) {
        size_t b = text.find('\n', a);
        if (b == std::string::npos) b = text.size();
        std::string line = text.substr(a, b - a);
        a = b + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (isPlainName(line)) {
            out.push_back(std::move(line));
        } else if (reportBadNames && wildcardMatch(pattern, line)) {
            showLangMessage(ws_, Msg::LibBadListedName, printableName(line).c_str());
        }
    }
    return true;
}

std::vector<std::string> FtpLibrary::listFolder(const std::string& folder)
{
    std::vector<std::string> out;
    if (isLibraryFolder(folder)) names(out, false, "");
    return out;
}

std::vector<std::string> FtpLibrary::list(const std::string& pattern)
{
    std::vector<std::string> all, out;
    if (!names(all, true, pattern)) return out;
    for (std::string& n : all)
        if (wildcardMatch(pattern, n)) out.push_back(std::move(n));
    return out;
}

bool FtpLibrary::remove(const std::string& name)
{
    lastError_.clear();
    std::string leaf;
    if (!libraryFileName(name, leaf)) {
        lastError_ = langFormat(ws_, Msg::LibBadName, printableName(name).c_str());
        return false;
    }
    FtpReply r = connection_->command(folderUrl_, {"DELE " + leaf});
    if (r.ok()) return true;
    lastError_ = reasonOf(ws_, r, connection_->login().timeoutSeconds);
    return false;
}

void FtpLibrary::readRanges(std::vector<RangeRead>& reads)
{
    lastError_.clear();
    // One listing tells the sizes of a batch's files; a server without
    // MLSD is asked with SIZE file by file instead.
    std::unordered_map<std::string, int64_t> sizes;
    if (reads.size() >= kListSizesFrom) {
        std::string listing;
        if (connection_->factList(folderUrl_, listing, kMaxListMegabytes << 20).ok()) sizes = sizesFromMlsd(listing);
    }
    FtpReply r = readHeads(*site_, reads, sizes, parallel_);
    if (!r.ok()) lastError_ = reasonOf(ws_, r, connection_->login().timeoutSeconds);
}

std::unique_ptr<FtpLibrary> connectFtpLibrary(Workspace& ws, const LibraryConfig& cfg)
{
    auto connection = std::make_unique<FtpConnection>();
    if (!connection->ready()) {
        showLangMessage(ws, Msg::LibNoSession);
        return nullptr;
    }
    // A URL without a scheme is a server name: it is parsed again with
    // "ftp://" before it. A URL with a scheme is taken as it is.
    SiteUrl site;
    const bool hasScheme = cfg.location.find("://") != std::string::npos;
    if (!parseUrl(hasScheme ? cfg.location : "ftp://" + cfg.location, site)) site = SiteUrl();
    if (!isFtpSite(site)) {
        showLangMessage(ws, Msg::LibBadUrl);
        return nullptr;
    }
    FtpLogin login;
    login.user = site.user.empty() ? cfg.user : site.user;
    login.password = site.user.empty() ? cfg.password : site.password;
    login.timeoutSeconds = cfg.timeoutSeconds;
    connection->setLogin(login);

    std::string url = "ftp://" + site.host + (site.port.empty() ? "" : ":" + site.port) + "/";
    FtpReply r = connection->command(url);
    if (!r.ok()) {
        const std::string reason = reasonOf(ws, r, cfg.timeoutSeconds);
        if (reason.empty())
            showLangMessage(ws, Msg::LibConnectFailed);
        else
            showLangText(ws, reason);
        showLangMessage(ws, Msg::LibNoConnection);
        return nullptr;
    }
    for (const std::string& folder : site.folders) url += connection->escape(folder) + "/";
    url += connection->escape(cfg.directory) + "/";
    r = connection->command(url, {"PWD"});
    if (!r.ok()) {
        const std::string reason = reasonOf(ws, r, cfg.timeoutSeconds);
        if (r.code == CURLE_REMOTE_ACCESS_DENIED)
            showLangMessage(ws, Msg::LibNoDirectory, cfg.directory.c_str(), reason.c_str());
        else
            showLangText(ws, reason);
        return nullptr;
    }
    std::string directory = directoryFromReplies(r.lines);
    if (directory.empty()) directory = "/" + cfg.directory;
    FtpSite heads{site.host, site.port, site.folders, login};
    heads.folders.push_back(cfg.directory);
    return std::make_unique<FtpLibrary>(ws, std::move(connection), withoutTrailingSlash(cfg.location), url,
                                        directory, cfg.connections, std::move(heads));
}

}  // namespace orx
