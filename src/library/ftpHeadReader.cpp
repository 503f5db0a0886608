// The heads of many files over a few FTP control connections kept for the
// batch. Each connection runs on a thread of its own with plain blocking
// steps bounded by poll: every reply within the time-out, every data
// connection showing progress of at least 1 KB a second over the time-out.
#include "ftpHeadReader.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>

#include "libraryNames.h"

namespace orx {

namespace {

using Clock = std::chrono::steady_clock;

// A reply longer than this is no FTP reply.
constexpr size_t kMaxReplyBytes = 64 * 1024;

int msUntil(Clock::time_point t)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return ms <= 0 ? 0 : int(std::min<int64_t>(ms + 1, INT_MAX));
}

// One readable (or writable) wait; false when the deadline passed first.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p = {fd, events, 0};
        const int r = ::poll(&p, 1, msUntil(deadline));
        if (r > 0) return true;
        if (r == 0 || errno != EINTR) return false;
    }
}

class Socket {
public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() { reset(); }
    Socket(Socket&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Socket& operator=(Socket&& o) noexcept
    {
        if (this != &o) {
            reset();
            fd_ = std::exchange(o.fd_, -1);
        }
        return *this;
    }
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// A connection to the address, made without blocking past the deadline.
Socket connectTo(const sockaddr* address, socklen_t length, Clock::time_point deadline, CURLcode& why)
{
    Socket s(::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!s.valid()) {
        why = CURLE_COULDNT_CONNECT;
        return {};
    }
    const int one = 1;
    ::setsockopt(s.fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (::connect(s.fd(), address, length) == 0) return s;
    if (errno != EINPROGRESS) {
        why = CURLE_COULDNT_CONNECT;
        return {};
    }
    if (!waitFor(s.fd(), POLLOUT, deadline)) {
        why = CURLE_OPERATION_TIMEDOUT;
        return {};
    }
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        why = CURLE_COULDNT_CONNECT;
        return {};
    }
    return s;
}

bool startsWithCode(const std::string& line)
{
    return line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0])) &&
           std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2]));
}

// The port of a 229 reply: "(|||port|)".
int epsvPort(const std::string& text)
{
    const size_t open = text.find("(|||");
    if (open == std::string::npos) return -1;
    const long port = std::strtol(text.c_str() + open + 4, nullptr, 10);
    return port > 0 && port < 65536 ? int(port) : -1;
}

// The port of a 227 reply: "(h1,h2,h3,h4,p1,p2)", the numbers perhaps
// without the parentheses. The address is not taken: data goes to the
// server the control connection reached, as libcurl does.
int pasvPort(const std::string& text)
{
    int n[6];
    for (size_t i = 4; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) continue;
        if (std::sscanf(text.c_str() + i, "%d,%d,%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]) == 6) {
            if (n[4] < 0 || n[4] > 255 || n[5] < 0 || n[5] > 255) return -1;
            const int port = n[4] * 256 + n[5];
            return port > 0 ? port : -1;
        }
        return -1;
    }
    return -1;
}

// What one file's read came to.
enum class Outcome {
    Done,      // read, or known to be unreadable (opened tells which)
    TryAgain,  // failed for a reason of its own: worth one more try
    Lost,      // the control connection went away
    Failed,    // the server failed as a whole (failure says how)
};

// One control connection, logged in and in the folder.
class Session {
public:
    explicit Session(const FtpSite& site) : site_(site), timeout_(std::max(1, site.login.timeoutSeconds)) {}

    bool open(FtpReply& failure);
    void close()
    {
        control_.reset();
        pending_.clear();
    }
    Outcome read(RangeRead& r, const std::string& leaf, const std::unordered_map<std::string, int64_t>& sizes,
                 FtpReply& failure);

private:
    // A whole reply, the lines of a multi-line one taken together: its
    // code and last line, or 0 when none came in time or the connection
    // ended (failure says which).
    int reply(std::string& text, FtpReply& failure);
    int command(const std::string& line, std::string& text, FtpReply& failure);
    // A passive data connection to the server.
    bool dataConnection(Socket& data, FtpReply& failure);
    // Up to r.length bytes; false when the server stalled or trickled.
    bool receive(Socket& data, RangeRead& r, FtpReply& failure);
    // A step that got no reply: the connection went away, or the server
    // failed as a whole.
    static Outcome broken(const FtpReply& failure)
    {
        return failure.code == CURLE_RECV_ERROR || failure.code == CURLE_SEND_ERROR ? Outcome::Lost : Outcome::Failed;
    }

    const FtpSite& site_;
    const std::chrono::seconds timeout_;
    Socket control_;
    sockaddr_storage peer_ = {};
    socklen_t peerLength_ = 0;
    std::string pending_;
    bool extendedPassive_ = true;
};

int Session::reply(std::string& text, FtpReply& failure)
{
    const auto deadline = Clock::now() + timeout_;
    int code = 0;
    for (;;) {
        for (size_t nl; (nl = pending_.find('\n')) != std::string::npos;) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const bool coded = startsWithCode(line);
            const bool last = coded && (line.size() == 3 || line[3] == ' ');
            if (code == 0) {
                if (!coded) continue;
                code = std::atoi(line.substr(0, 3).c_str());
                if (!last) continue;
            } else if (!last || std::atoi(line.substr(0, 3).c_str()) != code) {
                continue;
            }
            text = std::move(line);
            return code;
        }
        if (pending_.size() > kMaxReplyBytes) {
            failure.code = CURLE_WEIRD_SERVER_REPLY;
            return 0;
        }
        if (!waitFor(control_.fd(), POLLIN, deadline)) {
            failure.code = CURLE_OPERATION_TIMEDOUT;
            return 0;
        }
        char buf[4096];
        const ssize_t n = ::recv(control_.fd(), buf, sizeof buf, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) {
            failure.code = CURLE_RECV_ERROR;
            return 0;
        }
        pending_.append(buf, size_t(n));
    }
}

int Session::command(const std::string& line, std::string& text, FtpReply& failure)
{
    const std::string out = line + "\r\n";
    const auto deadline = Clock::now() + timeout_;
    for (size_t sent = 0; sent < out.size();) {
        const ssize_t n = ::send(control_.fd(), out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(control_.fd(), POLLOUT, deadline)) {
                failure.code = CURLE_OPERATION_TIMEDOUT;
                return 0;
            }
        } else {
            failure.code = CURLE_SEND_ERROR;
            return 0;
        }
    }
    return reply(text, failure);
}

bool Session::open(FtpReply& failure)
{
    close();
    std::string host = site_.host;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    addrinfo hints = {};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), site_.port.empty() ? "21" : site_.port.c_str(), &hints, &found) != 0) {
        failure.code = CURLE_COULDNT_RESOLVE_HOST;
        return false;
    }
    const auto deadline = Clock::now() + timeout_;
    failure.code = CURLE_COULDNT_CONNECT;
    for (addrinfo* a = found; a && !control_.valid(); a = a->ai_next) {
        control_ = connectTo(a->ai_addr, a->ai_addrlen, deadline, failure.code);
        if (control_.valid()) {
            std::memcpy(&peer_, a->ai_addr, a->ai_addrlen);
            peerLength_ = a->ai_addrlen;
        }
    }
    ::freeaddrinfo(found);
    if (!control_.valid()) return false;

    std::string text;
    int code = reply(text, failure);
    while (code == 120) code = reply(text, failure);  // "ready in a moment"
    if (code != 220) {
        if (code) failure.code = CURLE_COULDNT_CONNECT;
        failure.serverSaid = text;
        return false;
    }
    code = command("USER " + site_.login.user, text, failure);
    if (code == 331) code = command("PASS " + site_.login.password, text, failure);
    if (code != 230 && code != 202) {
        if (code) failure.code = CURLE_LOGIN_DENIED;
        failure.serverSaid = text;
        return false;
    }
    code = command("TYPE I", text, failure);
    if (code / 100 != 2) {
        if (code) failure.code = CURLE_FTP_COULDNT_SET_TYPE;
        failure.serverSaid = text;
        return false;
    }
    for (const std::string& folder : site_.folders) {
        code = command("CWD " + folder, text, failure);
        if (code / 100 != 2) {
            if (code) failure.code = CURLE_REMOTE_ACCESS_DENIED;
            failure.serverSaid = text;
            return false;
        }
    }
    failure = FtpReply();
    return true;
}

bool Session::dataConnection(Socket& data, FtpReply& failure)
{
    std::string text;
    int port = -1;
    if (extendedPassive_) {
        const int code = command("EPSV", text, failure);
        if (code == 0) return false;
        if (code == 229) port = epsvPort(text);
        // A server that does not know EPSV is asked with PASV from now on.
        else if (code / 100 == 5) extendedPassive_ = false;
    }
    if (!extendedPassive_) {
        const int code = command("PASV", text, failure);
        if (code == 0) return false;
        if (code == 227) port = pasvPort(text);
    }
    if (port < 0) {
        failure.code = CURLE_FTP_WEIRD_PASV_REPLY;
        failure.serverSaid = text;
        return false;
    }
    sockaddr_storage to = peer_;
    if (to.ss_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&to)->sin6_port = htons(uint16_t(port));
    else
        reinterpret_cast<sockaddr_in*>(&to)->sin_port = htons(uint16_t(port));
    data = connectTo(reinterpret_cast<const sockaddr*>(&to), peerLength_, Clock::now() + timeout_, failure.code);
    return data.valid();
}

bool Session::receive(Socket& data, RangeRead& r, FtpReply& failure)
{
    // Silence for the time-out ends the read, and so does a trickle: less
    // than kFtpLowSpeedBytes a second over a whole time-out.
    const int64_t windowBytes = kFtpLowSpeedBytes * timeout_.count();
    r.bytes.resize(r.length);
    size_t got = 0;
    auto heard = Clock::now(), windowStart = heard;
    int64_t inWindow = 0;
    while (got < r.length) {
        const auto now = Clock::now();
        if (now - heard >= timeout_ || (now - windowStart >= timeout_ && inWindow < windowBytes)) {
            failure.code = CURLE_OPERATION_TIMEDOUT;
            r.bytes.clear();
            return false;
        }
        if (now - windowStart >= timeout_) {
            windowStart = now;
            inWindow = 0;
        }
        if (!waitFor(data.fd(), POLLIN, std::min(heard, windowStart) + timeout_)) continue;
        const ssize_t n = ::recv(data.fd(), r.bytes.data() + got, r.length - got, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) break;
        got += size_t(n);
        inWindow += n;
        heard = Clock::now();
    }
    r.bytes.resize(got);
    return true;
}

Outcome Session::read(RangeRead& r, const std::string& leaf, const std::unordered_map<std::string, int64_t>& sizes,
                      FtpReply& failure)
{
    r.opened = false;
    r.fileSize = -1;
    r.bytes.clear();
    std::string text;
    if (auto it = sizes.find(leaf); it != sizes.end()) {
        r.fileSize = it->second;
    } else {
        const int code = command("SIZE " + leaf, text, failure);
        if (code == 0) return broken(failure);
        if (code == 213) r.fileSize = std::strtoll(text.c_str() + 4, nullptr, 10);
        // Not there (or no file); a server without SIZE leaves it unknown.
        if (code == 550) return Outcome::Done;
    }
    // A piece past the end: the file is there, with nothing in the piece.
    if (r.fileSize >= 0 && r.offset >= uint64_t(r.fileSize)) {
        r.opened = true;
        return Outcome::Done;
    }
    Socket data;
    if (!dataConnection(data, failure)) return broken(failure);
    if (r.offset > 0) {
        const int code = command("REST " + std::to_string(r.offset), text, failure);
        if (code == 0) return broken(failure);
        if (code != 350) return Outcome::Done;
    }
    int code = command("RETR " + leaf, text, failure);
    if (code == 0) return broken(failure);
    if (code / 100 == 4) return Outcome::TryAgain;
    if (code / 100 != 1) return Outcome::Done;  // refused: not there, no file, not readable
    if (!receive(data, r, failure)) return Outcome::Failed;
    // Stopped early, the server sees the data connection close and ends
    // the transfer with 426 or the like; one closing reply either way. A
    // piece cut short is the end of the file only when the server says the
    // transfer went well.
    data.reset();
    const bool whole = r.bytes.size() == r.length;
    r.opened = whole;
    code = reply(text, failure);
    if (code == 0) return broken(failure);
    if (whole) return Outcome::Done;
    r.opened = code / 100 == 2;
    if (!r.opened) r.bytes.clear();
    return r.opened ? Outcome::Done : Outcome::TryAgain;
}

}  // namespace

std::unordered_map<std::string, int64_t> sizesFromMlsd(const std::string& listing)
{
    std::unordered_map<std::string, int64_t> sizes;
    for (size_t a = 0; a < listing.size();) {
        size_t b = listing.find('\n', a);
        if (b == std::string::npos) b = listing.size();
        std::string line = listing.substr(a, b - a);
        a = b + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // "fact=value;fact=value; name": the name follows the first space.
        const size_t space = line.find(' ');
        if (space == std::string::npos || space + 1 >= line.size()) continue;
        bool file = false;
        int64_t size = -1;
        for (size_t f = 0; f < space;) {
            size_t end = line.find(';', f);
            if (end == std::string::npos || end > space) end = space;
            std::string fact = line.substr(f, end - f);
            f = end + 1;
            for (char& c : fact) c = char(std::tolower(static_cast<unsigned char>(c)));
            if (fact == "type=file") file = true;
            if (fact.compare(0, 5, "size=") == 0 && fact.size() > 5 &&
                fact.find_first_not_of("0123456789", 5) == std::string::npos && fact.size() <= 5 + 18)
                size = std::stoll(fact.substr(5));
        }
        if (file && size >= 0) sizes[line.substr(space + 1)] = size;
    }
    return sizes;
}

FtpReply readHeads(const FtpSite& site, std::vector<RangeRead>& reads,
                   const std::unordered_map<std::string, int64_t>& sizes, int connections)
{
    for (RangeRead& r : reads) {
        r.opened = false;
        r.fileSize = -1;
        r.bytes.clear();
    }
    std::vector<size_t> order;
    std::vector<std::string> leaves(reads.size());
    for (size_t i = 0; i < reads.size(); ++i)
        if (reads[i].length > 0 && libraryFileName(reads[i].name, leaves[i])) order.push_back(i);
    if (order.empty()) return {};

    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex failureLock;
    FtpReply failure;
    auto fail = [&](const FtpReply& f) {
        std::lock_guard<std::mutex> hold(failureLock);
        if (failure.ok()) failure = f;
        stop = true;
    };
    auto work = [&](Session& s) {
        while (!stop) {
            const size_t k = next++;
            if (k >= order.size()) return;
            RangeRead& r = reads[order[k]];
            for (int attempt = 0; attempt < 2 && !stop; ++attempt) {
                FtpReply f;
                const Outcome o = s.read(r, leaves[order[k]], sizes, f);
                if (o == Outcome::Done) break;
                if (o == Outcome::Failed) {
                    r.bytes.clear();
                    r.opened = false;
                    return fail(f);
                }
                if (o == Outcome::Lost) {
                    // The server closed the connection, perhaps for idling
                    // or at a limit of its own: a new one goes on.
                    if (!s.open(f)) return fail(f);
                    if (r.opened) break;
                }
            }
        }
    };

    // The first connection must log in; the others only help.
    Session first(site);
    FtpReply f;
    if (!first.open(f)) return f;
    const int helpers = int(std::min<size_t>(size_t(std::max(1, connections)), order.size())) - 1;
    std::vector<std::thread> threads;
    for (int i = 0; i < helpers; ++i)
        threads.emplace_back([&] {
            Session s(site);
            FtpReply quiet;
            if (s.open(quiet)) work(s);
        });
    work(first);
    for (std::thread& t : threads) t.join();
    return failure;
}

}  // namespace orx
