// A dress's options written out, as orxsim and catalogue manifests give
// them: the repeat layout by name and the contrast exponent as a number.
#pragma once

#include <cstdint>
#include <string>

namespace orx {

// normal, horizontal, vertical: layouts 0, 1 and 2. False for other names.
bool repeatLayoutNamed(const std::string& name, int32_t& layout);

// "1.5": an exponent of the "Contrast Control" list's range, 0.1 to 2.0,
// kept as single precision. False for anything else.
bool contrastFromText(const std::string& text, float& c);

}  // namespace orx
