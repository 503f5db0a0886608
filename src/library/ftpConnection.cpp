// The FTP control connection kept for the run, and the transfers over it.
#include "ftpConnection.h"

#include <poll.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>


namespace orx {

namespace {

// How long one wait for the sockets may last before libcurl's own timers
// are looked at again.
constexpr int kPollMs = 250;

void initCurlOnce()
{
    // libcurl wants one initialisation per process before its first handle.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void recordLine(FtpReply& r, std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty()) return;
    const bool coded = line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
                       std::isdigit(static_cast<unsigned char>(line[1])) &&
                       std::isdigit(static_cast<unsigned char>(line[2]));
    if (coded && (line[0] == '4' || line[0] == '5')) r.serverSaid = line;
    // The answer to SIZE; this library never asks for MDTM, the other 213.
    if (coded && line.compare(0, 4, "213 ") == 0) {
        char* end = nullptr;
        long long v = std::strtoll(line.c_str() + 4, &end, 10);
        if (end != line.c_str() + 4 && v >= 0) r.size = v;
    }
    r.lines.push_back(std::move(line));
}

size_t onReplyLine(char* data, size_t size, size_t count, void* user)
{
    StallWatch& w = *static_cast<StallWatch*>(user);
    const size_t n = size * count;
    w.last = std::chrono::steady_clock::now();
    if (w.reply) recordLine(*w.reply, std::string(data, n));
    return n;
}

size_t onDiscard(char*, size_t size, size_t count, void*) { return size * count; }

struct Sink {
    std::string* out;
    size_t cap;
};

size_t onSinkData(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const size_t n = size * count;
    if (sink->out->size() + n > sink->cap) return 0;  // too much: the transfer fails with a write error
    sink->out->append(data, n);
    return n;
}

int onProgress(void* self, curl_off_t, curl_off_t now, curl_off_t, curl_off_t)
{
    StallWatch& w = *static_cast<StallWatch*>(self);
    const auto t = std::chrono::steady_clock::now();
    if (now != w.bytes) {
        w.bytes = now;
        w.last = t;
        return 0;
    }
    if (t - w.last < std::chrono::seconds(w.seconds)) return 0;
    w.stalled = true;
    return 1;  // ends the request with CURLE_ABORTED_BY_CALLBACK
}

// The options every request shares: login, time-outs, reply lines (to
// watch->reply).
void applyLogin(CURL* h, const FtpLogin& login, char* errorBuffer, StallWatch* watch)
{
    const long t = login.timeoutSeconds;
    curl_easy_setopt(h, CURLOPT_USERNAME, login.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, login.password.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, t);
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, t);
    // A server that trickles (a byte now and then) never falls silent:
    // less than kFtpLowSpeedBytes a second for the whole time-out ends the
    // transfer too. A paused transfer is not measured.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, long(kFtpLowSpeedBytes));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, t);
    watch->seconds = login.timeoutSeconds;
    watch->bytes = -1;
    watch->restart();
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, watch);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onReplyLine);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, watch);
    errorBuffer[0] = '\0';
}

std::string errorOf(CURLcode code, const char* buffer)
{
    return buffer && *buffer ? std::string(buffer) : std::string(curl_easy_strerror(code));
}

// A request the stall watch ended is a time-out like libcurl's own.
void settle(FtpReply& r, CURLcode code, const char* errorBuffer, const StallWatch& watch)
{
    r.code = code == CURLE_ABORTED_BY_CALLBACK && watch.stalled ? CURLE_OPERATION_TIMEDOUT : code;
    if (r.code != CURLE_OK) r.error = errorOf(r.code, r.code == code ? errorBuffer : nullptr);
}

std::string escaped(CURL* h, const std::string& name)
{
    char* e = curl_easy_escape(h, name.c_str(), int(name.size()));
    std::string out = e ? e : "";
    curl_free(e);
    return out;
}

}  // namespace

bool isConnectionFailure(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_PARTIAL_FILE: return true;
    default: return false;
    }
}

std::string ftpFailureText(const FtpReply& r)
{
    std::string text = r.error.empty() ? std::string(curl_easy_strerror(r.code)) : r.error;
    if (!r.serverSaid.empty() && text.find(r.serverSaid) == std::string::npos)
        text += " (server: " + r.serverSaid + ")";
    return text;
}

// ---- the kept connection

FtpConnection::FtpConnection()
{
    initCurlOnce();
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
}

FtpConnection::~FtpConnection()
{
    if (transfer_) transfer_->end();
    if (easy_) curl_easy_cleanup(easy_);
    // Closes the kept connection (with QUIT).
    if (multi_) curl_multi_cleanup(multi_);
}

void FtpConnection::prepare(const std::string& url, bool fresh)
{
    curl_easy_reset(easy_);
    curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
    watch_.reply = nullptr;
    applyLogin(easy_, login_, errorBuffer_, &watch_);
    curl_easy_setopt(easy_, CURLOPT_FRESH_CONNECT, fresh ? 1L : 0L);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, onDiscard);
}

bool FtpConnection::idleConnectionStale()
{
    if (controlSocket_ == CURL_SOCKET_BAD) return false;
    pollfd p = {controlSocket_, POLLIN, 0};
    // Nothing is due on an idle control connection: anything readable is
    // the server's farewell or its end.
    return ::poll(&p, 1, 0) > 0;
}

void FtpConnection::keepSocket(CURLcode code)
{
    curl_socket_t s = CURL_SOCKET_BAD;
    if (code == CURLE_OK && curl_easy_getinfo(easy_, CURLINFO_ACTIVESOCKET, &s) != CURLE_OK) s = CURL_SOCKET_BAD;
    controlSocket_ = s;
}

namespace {

bool greeted(const FtpReply& r)
{
    // Every new control connection starts with the server's greeting; curl's
    // own count of connections includes the data connections.
    for (const std::string& line : r.lines)
        if (line.compare(0, 4, "220 ") == 0) return true;
    return false;
}

}  // namespace

void FtpConnection::countConnection(const FtpReply& r)
{
    if (greeted(r)) ++connectionsMade_;
}

CURLcode FtpConnection::finish()
{
    CURLcode result = CURLE_OK;
    for (bool done = false; !done;) {
        int running = 0;
        curl_multi_perform(multi_, &running);
        int queued = 0;
        while (CURLMsg* m = curl_multi_info_read(multi_, &queued))
            if (m->msg == CURLMSG_DONE && m->easy_handle == easy_) {
                done = true;
                result = m->data.result;
            }
        if (!done) curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
    }
    keepSocket(result);
    curl_multi_remove_handle(multi_, easy_);
    return result;
}

CURLcode FtpConnection::runOnce(const Request& r, bool fresh, FtpReply& reply)
{
    prepare(r.url, fresh);
    watch_.reply = &reply;
    curl_easy_setopt(easy_, CURLOPT_NOBODY, r.body ? 0L : 1L);
    curl_easy_setopt(easy_, CURLOPT_DIRLISTONLY, r.listOnly ? 1L : 0L);
    if (!r.listCommand.empty()) curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, r.listCommand.c_str());
    curl_slist* post = nullptr;
    for (const std::string& c : r.postQuote) post = curl_slist_append(post, c.c_str());
    // After the transfer, so that the commands run in the URL's folder even
    // on a new connection (QUOTE would run before its CWD).
    curl_easy_setopt(easy_, CURLOPT_POSTQUOTE, post);
    Sink sink{r.sink, r.sinkCap};
    if (r.sink) {
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, onSinkData);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &sink);
    }
    curl_multi_add_handle(multi_, easy_);
    CURLcode code = finish();
    watch_.reply = nullptr;
    curl_slist_free_all(post);
    countConnection(reply);
    settle(reply, code, errorBuffer_, watch_);
    return reply.code;
}

FtpReply FtpConnection::run(const Request& r)
{
    settleTransfer();
    FtpReply reply;
    const bool fresh = idleConnectionStale();
    const bool reused = controlSocket_ != CURL_SOCKET_BAD && !fresh;
    CURLcode code = runOnce(r, fresh, reply);
    // A connection kept from an earlier request may have died since without
    // a sign: one more try on a new one. A failure on a connection made for
    // this request is final.
    if (code != CURLE_OK && reused && !greeted(reply) && isConnectionFailure(code)) {
        reply = FtpReply();
        if (r.sink) r.sink->clear();
        runOnce(r, true, reply);
    }
    return reply;
}

FtpReply FtpConnection::command(const std::string& url, const std::vector<std::string>& commands)
{
    Request r;
    r.url = url;
    r.postQuote = commands;
    return run(r);
}

FtpReply FtpConnection::nameList(const std::string& url, std::string& names, size_t maxBytes)
{
    names.clear();
    Request r;
    r.url = url;
    r.body = true;
    r.listOnly = true;
    r.sink = &names;
    r.sinkCap = maxBytes;
    return run(r);
}

FtpReply FtpConnection::factList(const std::string& url, std::string& listing, size_t maxBytes)
{
    listing.clear();
    Request r;
    r.url = url;
    r.body = true;
    r.listCommand = "MLSD";
    r.sink = &listing;
    r.sinkCap = maxBytes;
    return run(r);
}

FtpReply FtpConnection::fileSize(const std::string& url)
{
    Request r;
    r.url = url;
    FtpReply reply = run(r);
    curl_off_t length = -1;
    if (reply.ok() && curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK)
        reply.size = length;
    return reply;
}

void FtpConnection::settleTransfer()
{
    if (transfer_) transfer_->finishInMemory();
}

std::string FtpConnection::escape(const std::string& name) { return escaped(easy_, name); }

// ---- one file at its reader's pace

FtpTransfer::FtpTransfer(FtpConnection& c, const std::string& url, uint64_t offset) : c_(c)
{
    c_.settleTransfer();
    c_.prepare(url, c_.idleConnectionStale());
    c_.watch_.reply = &reply_;
    curl_easy_setopt(c_.easy_, CURLOPT_RESUME_FROM_LARGE, curl_off_t(offset));
    curl_easy_setopt(c_.easy_, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(c_.easy_, CURLOPT_WRITEDATA, this);
    c_.watch_.restart();
    if (curl_multi_add_handle(c_.multi_, c_.easy_) != CURLM_OK) {
        reply_.code = CURLE_FAILED_INIT;
        reply_.error = curl_easy_strerror(reply_.code);
        return;
    }
    running_ = true;
    c_.transfer_ = this;
}

FtpTransfer::~FtpTransfer()
{
    if (!running_) return;
    // Stopped before the end of the file: libcurl cannot tell whether the
    // server took the ABOR, so it closes the control connection.
    curl_multi_remove_handle(c_.multi_, c_.easy_);
    c_.watch_.reply = nullptr;
    c_.countConnection(reply_);
    c_.controlSocket_ = CURL_SOCKET_BAD;
    c_.transfer_ = nullptr;
    running_ = false;
}

size_t FtpTransfer::onData(char* data, size_t size, size_t count, void* self)
{
    return static_cast<FtpTransfer*>(self)->take(data, size * count);
}

size_t FtpTransfer::take(const char* data, size_t n)
{
    if (want_ == 0 && !unbounded_ && pending_.size() - pendingPos_ >= kReadAhead) {
        paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    const size_t direct = std::min(n, want_);
    if (direct) std::memcpy(target_, data, direct);
    target_ += direct;
    want_ -= direct;
    pending_.insert(pending_.end(), data + direct, data + n);
    return n;
}

void FtpTransfer::end()
{
    settle(reply_, reply_.code, c_.errorBuffer_, c_.watch_);
    c_.countConnection(reply_);
    c_.keepSocket(reply_.code);
    curl_multi_remove_handle(c_.multi_, c_.easy_);
    c_.watch_.reply = nullptr;
    running_ = false;
    paused_ = false;
    c_.transfer_ = nullptr;
}

void FtpTransfer::step()
{
    int running = 0;
    curl_multi_perform(c_.multi_, &running);
    int queued = 0;
    while (CURLMsg* m = curl_multi_info_read(c_.multi_, &queued))
        if (m->msg == CURLMSG_DONE && m->easy_handle == c_.easy_) {
            reply_.code = m->data.result;
            end();
            return;
        }
    if (!paused_) curl_multi_poll(c_.multi_, nullptr, 0, kPollMs, nullptr);
}

void FtpTransfer::resume()
{
    if (!running_ || !paused_) return;
    paused_ = false;
    // The time the reader spent is no silence of the server.
    c_.watch_.restart();
    // May hand over the data held back at once.
    curl_easy_pause(c_.easy_, CURLPAUSE_CONT);
}

void FtpTransfer::hold()
{
    if (!running_ || paused_) return;
    // Between reads the transfer stands still: the server waits for the
    // reader, and the reader's time is not counted as the server's silence.
    paused_ = true;
    curl_easy_pause(c_.easy_, CURLPAUSE_RECV);
}

size_t FtpTransfer::read(uint8_t* dst, size_t n)
{
    size_t got = std::min(n, pending_.size() - pendingPos_);
    if (got) std::memcpy(dst, pending_.data() + pendingPos_, got);
    pendingPos_ += got;
    if (pendingPos_ == pending_.size()) {
        pending_.clear();
        pendingPos_ = 0;
    }
    if (got == n || !running_) return got;
    target_ = dst + got;
    want_ = n - got;
    resume();
    // Past what was asked for, keep going up to the read-ahead: a small
    // file then ends here, with its connection intact.
    while (running_ && (want_ > 0 || (!paused_ && pending_.size() - pendingPos_ < kReadAhead))) step();
    got = n - want_;
    target_ = nullptr;
    want_ = 0;
    hold();
    return got;
}

void FtpTransfer::finishInMemory()
{
    unbounded_ = true;
    target_ = nullptr;
    want_ = 0;
    resume();
    while (running_) step();
}

}  // namespace orx
