// The FTP control connection kept for the whole run, and the transfers made
// over it. Only src/library includes this header: it carries libcurl.
//
// One easy handle inside one multi handle: the multi's connection cache
// keeps the logged-in control connection from one request to the next, so
// a request costs its own commands only (curl skips the CWD when the
// directory is the one it is already in). Requests run one at a time on the
// caller's thread.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>


namespace orx {

// The slowest transfer that counts as progress, in bytes a second: less
// than this over a whole time-out ends a transfer as silence does.
constexpr int64_t kFtpLowSpeedBytes = 1024;

struct FtpLogin {
    std::string user, password;
    int32_t timeoutSeconds = 30;
};

// What one request came back with.
struct FtpReply {
    CURLcode code = CURLE_OK;
    std::string error;                // curl's text for the failure
    std::string serverSaid;           // the server's last refusal (4xx or 5xx line)
    std::vector<std::string> lines;   // every reply line of the server
    int64_t size = -1;                // the file's size, when a request learnt it
    bool ok() const { return code == CURLE_OK; }
};

// One request as it runs: the server's reply lines go to reply, and any
// sign of life (a reply line, data) restarts the clock of its silence.
// libcurl's own low-speed check averages over several seconds, so a
// transfer that stalls after a burst would go unnoticed for longer than
// the time-out.
struct StallWatch {
    int32_t seconds = 30;
    FtpReply* reply = nullptr;
    std::chrono::steady_clock::time_point last;
    int64_t bytes = -1;
    bool stalled = false;
    void restart()
    {
        last = std::chrono::steady_clock::now();
        stalled = false;
    }
};

class FtpTransfer;

class FtpConnection {
public:
    FtpConnection();
    ~FtpConnection();
    FtpConnection(const FtpConnection&) = delete;
    FtpConnection& operator=(const FtpConnection&) = delete;

    // False when libcurl could not give its handles (no session).
    bool ready() const { return multi_ && easy_; }
    void setLogin(FtpLogin login) { login_ = std::move(login); }
    const FtpLogin& login() const { return login_; }

    // Enters the folder of a URL ending in "/" and sends the commands
    // after it (PWD, DELE ...), without a data transfer.
    FtpReply command(const std::string& url, const std::vector<std::string>& commands = {});
    // The names the server lists for a folder URL (NLST), at most maxBytes.
    FtpReply nameList(const std::string& url, std::string& names, size_t maxBytes);
    // The folder's entries with their facts (MLSD), at most maxBytes.
    FtpReply factList(const std::string& url, std::string& listing, size_t maxBytes);
    // The size of a file (SIZE); fails for a file that is not there.
    FtpReply fileSize(const std::string& url);

    // New control connections made so far (1 while the first one lasts).
    int64_t connectionsMade() const { return connectionsMade_; }

    // A name as it goes into a URL.
    std::string escape(const std::string& name);

private:
    friend class FtpTransfer;

    struct Request {
        std::string url;
        bool body = false;
        bool listOnly = false;
        std::string listCommand;  // instead of LIST
        std::vector<std::string> postQuote;
        std::string* sink = nullptr;
        size_t sinkCap = 0;
    };

    FtpReply run(const Request& r);
    CURLcode runOnce(const Request& r, bool fresh, FtpReply& reply);
    void prepare(const std::string& url, bool fresh);
    // Waits for the kept handle's transfer to end; its result.
    CURLcode finish();
    // Counts the control connection a request had to make, if any.
    void countConnection(const FtpReply& r);
    // Notes the control connection's socket after a request that kept it.
    void keepSocket(CURLcode code);
    // True when the idle control connection has something to say: the
    // server closed it or sent a farewell. The next request then starts a
    // new one instead of failing on the old one.
    bool idleConnectionStale();
    // Another request needs the kept handle: the open transfer, if any,
    // takes the rest of its file into memory first.
    void settleTransfer();

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    FtpLogin login_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
    curl_socket_t controlSocket_ = CURL_SOCKET_BAD;
    StallWatch watch_;
    FtpTransfer* transfer_ = nullptr;
    int64_t connectionsMade_ = 0;
};

// One file read from an offset over the kept connection, at the pace of
// its reader: what the reader has not asked for yet stays on the server,
// apart from a read-ahead of at most kReadAhead bytes. Ending it early
// stops the transfer; libcurl then closes the control connection and the
// next request opens a new one. A file no larger than the read-ahead comes
// over whole with the first read and leaves the connection as it was.
class FtpTransfer {
public:
    static constexpr size_t kReadAhead = 64 * 1024;

    FtpTransfer(FtpConnection& c, const std::string& url, uint64_t offset);
    ~FtpTransfer();
    FtpTransfer(const FtpTransfer&) = delete;
    FtpTransfer& operator=(const FtpTransfer&) = delete;

    // Up to n bytes; short only at the end of the file or after a failure.
    size_t read(uint8_t* dst, size_t n);
    // The failure that ended the transfer, if any.
    const FtpReply& reply() const { return reply_; }

private:
    friend class FtpConnection;
    static size_t onData(char* data, size_t size, size_t count, void* self);
    size_t take(const char* data, size_t n);
    void step();
    void resume();
    void hold();
    void finishInMemory();
    void end();

    FtpConnection& c_;
    std::vector<uint8_t> pending_;
    size_t pendingPos_ = 0;
    uint8_t* target_ = nullptr;
    size_t want_ = 0;
    bool running_ = false, paused_ = false, unbounded_ = false;
    FtpReply reply_;
};

// curl's text for a failed request, with the server's refusal when it said one.
std::string ftpFailureText(const FtpReply& r);

// True for failures of the connection itself (as opposed to the server
// refusing a command): those are worth one more try on a new connection.
bool isConnectionFailure(CURLcode code);

}  // namespace orx
