// A dress's options written out.
#include "dressOptions.h"

#include <cstdlib>

namespace orx {

namespace {

struct LayoutName {
    const char* name;
    int32_t layout;
};

const LayoutName kLayoutNames[] = {{"normal", 0}, {"horizontal", 1}, {"vertical", 2}};

}  // namespace

bool repeatLayoutNamed(const std::string& name, int32_t& layout)
{
    for (const LayoutName& l : kLayoutNames)
        if (name == l.name) {
            layout = l.layout;
            return true;
        }
    return false;
}

bool contrastFromText(const std::string& text, float& c)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(v >= 0.1 - 1e-9 && v <= 2.0 + 1e-9)) return false;
    c = float(v);
    return true;
}

}  // namespace orx
