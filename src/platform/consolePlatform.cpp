#include "platform.h"

#include <cstdio>

namespace orx {

void ConsolePlatform::message(const std::string& text, Icon)
{
    if (quiet_) return;
    // Message boxes may hold several lines; a console wants one per message.
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
            continue;
        }
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool ConsolePlatform::askYesNo(const std::string& text)
{
    message(text + " (answered no)", Icon::Question);
    return false;
}

}  // namespace orx
