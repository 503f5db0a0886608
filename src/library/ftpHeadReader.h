// The heads of many files of one folder, read over a few FTP control
// connections of their own that last the whole batch.
//
// libcurl closes its connection whenever a transfer stops before the end of
// the file, so reading the first 12,856 bytes of ten thousand files through
// it costs ten thousand connections and logins. Here each connection reads
// its share of the files one after another: a passive data connection,
// REST when the piece starts past the beginning, RETR, the bytes wanted,
// the data connection closed, the server's closing reply; the control
// connection stays for the next file. Sizes come from one folder listing
// the caller made; a file it did not name is asked for with SIZE.
//
// Only src/library includes this header.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ftpConnection.h"
#include "library.h"

namespace orx {

// Where the files are and how to log in.
struct FtpSite {
    std::string host;                  // a name or an address
    std::string port;                  // "" for 21
    std::vector<std::string> folders;  // entered one by one after login
    FtpLogin login;
};

// The sizes of a folder's files by name, from an MLSD listing: entries of
// type "file" with a size fact. Lines that are no such entry are skipped.
std::unordered_map<std::string, int64_t> sizesFromMlsd(const std::string& listing);

// Fills every read as Library::readRanges does, over at most `connections`
// control connections (the first one must log in; further ones the server
// refuses are done without). A failure of the server itself (silent,
// trickling, gone, refusing the login) stops the batch and comes back with
// a curl code of the same meaning (CURLE_OPERATION_TIMEDOUT for the
// time-out) and the server's refusal, if any; files that cannot be read
// fail alone and silently.
FtpReply readHeads(const FtpSite& site, std::vector<RangeRead>& reads,
                   const std::unordered_map<std::string, int64_t>& sizes, int connections);

}  // namespace orx
