// Catalogue manifests: reading the lines and naming their outputs.
#include "catalogueManifest.h"

#include <map>

#include "dressOptions.h"
#include "workspace/fileIo.h"

namespace orx {

namespace {

std::string trimmed(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The comma-separated fields of a line; a field in double quotes may hold
// commas, and "" inside it is one quote.
std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else if (c == '"')
                quoted = false;
            else
                fields.back() += c;
        } else if (c == '"' && trimmed(fields.back()).empty()) {
            fields.back().clear();
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    for (std::string& f : fields) f = trimmed(f);
    return fields;
}

struct ShadingWord {
    const char* word;
    int32_t CatalogueLine::*field;
    int32_t value;
};

const ShadingWord kShadingWords[] = {
    {"contrast", &CatalogueLine::reflection, 0},
    {"reflection", &CatalogueLine::reflection, 1},
    {"sharp", &CatalogueLine::soft, 0},
    {"soft", &CatalogueLine::soft, 1},
};

bool readShading(const std::string& text, CatalogueLine& line)
{
    size_t from = 0;
    for (;;) {
        const size_t plus = text.find('+', from);
        const std::string word = trimmed(text.substr(from, plus == std::string::npos ? plus : plus - from));
        bool known = false;
        for (const ShadingWord& w : kShadingWords)
            if (word == w.word) {
                line.*w.field = w.value;
                known = true;
            }
        if (!known) return false;
        if (plus == std::string::npos) return true;
        from = plus + 1;
    }
}

// The name without its folder and its extension.
std::string stemOf(const std::string& path)
{
    const std::string base = baseName(path);
    const size_t dot = base.rfind('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

void readFields(const std::vector<std::string>& f, const std::string& folder, CatalogueLine& line)
{
    if (f.size() < 2 || f[0].empty() || f[1].empty()) {
        line.error = "a dress needs a model and a material";
        return;
    }
    if (f.size() > 5) {
        line.error = "more than five fields (model,material,layout,contrast,shading)";
        return;
    }
    auto resolve = [&folder](const std::string& name) { return name[0] == '/' ? name : joinPath(folder, name); };
    line.model = resolve(f[0]);
    line.material = resolve(f[1]);
    if (f.size() > 2 && !f[2].empty() && !repeatLayoutNamed(f[2], line.layout))
        line.error = "the layout is normal, horizontal or vertical, not " + f[2];
    else if (f.size() > 3 && !f[3].empty() && !contrastFromText(f[3], line.contrast))
        line.error = "the contrast is a number from 0.1 to 2.0, not " + f[3];
    else if (f.size() > 4 && !f[4].empty() && !readShading(f[4], line))
        line.error = "the shading is contrast or reflection, sharp or soft (as reflection+soft), not " + f[4];
}

}  // namespace

std::vector<CatalogueLine> parseCatalogueManifest(const std::string& text, const std::string& folder,
                                                  CatalogueFormat format)
{
    const char* ext = format == CatalogueFormat::Rgb ? ".RGB" : ".BMP";
    std::vector<CatalogueLine> lines;
    std::map<std::string, int> seen;  // MODEL-MATERIAL -> lines so far
    int32_t lineNumber = 0;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(from, end - from);
        from = end + 1;
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string content = trimmed(raw);
        if (content.empty() || content[0] == '#') continue;

        CatalogueLine& line = lines.emplace_back();
        line.lineNumber = lineNumber;
        line.number = int64_t(lines.size()) - 1;
        const std::vector<std::string> f = fieldsOf(content);
        readFields(f, folder, line);
        if (f.size() < 2 || f[0].empty() || f[1].empty()) continue;
        const std::string stem = stemOf(f[0]) + "-" + stemOf(f[1]);
        const int n = ++seen[stem];
        line.output = (n == 1 ? stem : stem + "-" + std::to_string(n)) + ext;
    }
    return lines;
}

bool inShard(const CatalogueLine& line, int64_t index, int64_t count) { return line.number % count == index; }

}  // namespace orx
