#include "render/atlas_list.h"

#include <cctype>
#include <cstdint>

namespace {

constexpr size_t longestName = 255;

struct Reader {
    std::string_view text;
    size_t at = 0;
    int line = 1;

    void skipSpace() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
            if (text[at] == '\n') ++line;
            ++at;
        }
    }

    bool readInt(int32_t& value) {
        skipSpace();
        bool negative = false;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
        size_t digits = 0;
        int64_t magnitude = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
            magnitude = magnitude * 10 + (text[at++] - '0');
            if (magnitude > int64_t(INT32_MAX) + 1) return false;
            ++digits;
        }
        if (digits == 0) return false;
        if (!negative && magnitude > INT32_MAX) return false;
        value = int32_t(negative ? -magnitude : magnitude);
        return true;
    }

    bool readName(std::string& name) {
        skipSpace();
        size_t start = at;
        while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        if (at == start || at - start > longestName) return false;
        name.assign(text.substr(start, at - start));
        return true;
    }
};

} // namespace

AtlasList parseAtlasList(std::string_view text) {
    AtlasList list;
    Reader reader{text};
    int32_t count = 0;
    if (!reader.readInt(count)) {
        list.damaged = true;
        list.damagedLine = reader.line;
        return list;
    }
    // The count is not trusted for allocation: regions are added only as they are read.
    for (int32_t i = 0; i < count; ++i) {
        AtlasRegion region;
        reader.skipSpace();
        int line = reader.line;
        if (!reader.readName(region.name) || !reader.readInt(region.source.left) ||
            !reader.readInt(region.source.top) || !reader.readInt(region.source.right) ||
            !reader.readInt(region.source.bottom)) {
            list.damaged = true;
            list.damagedLine = line;
            break;
        }
        list.regions.push_back(std::move(region));
    }
    return list;
}
