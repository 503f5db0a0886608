// Names inside the library: the one rule that keeps every path built from a
// name inside the library directory, and the wildcard of the lists.
#pragma once

#include <string>

namespace orx {

// A file name of the library directory itself: not empty, not "." or "..",
// no slash, no backslash, no control character, at most 255 bytes. Names
// listed by a server are held to it as well as names asked for.
bool isPlainName(const std::string& name);

// A name asked for: the "./" that resolveNamedFile puts before a bare name
// is dropped, and what is left must be a plain name. False otherwise.
bool libraryFileName(const std::string& asked, std::string& leaf);

// The folders a library can list: "", "." and "./" (its own directory).
bool isLibraryFolder(const std::string& folder);

// '*' and '?' wildcards, compared without regard to case: servers differ in
// how they match "*.MDL", so the library matches itself.
bool wildcardMatch(const std::string& pattern, const std::string& name);

// The name as it can be shown in a message: control characters become \xNN.
std::string printableName(const std::string& name);

}  // namespace orx
