#include "render/utf8.h"

#include <cstdint>

namespace {

constexpr char16_t replacement = 0xFFFD;

void append(std::u16string& out, uint32_t codepoint) {
    if (codepoint < 0x10000) {
        out.push_back(char16_t(codepoint));
    } else {
        codepoint -= 0x10000;
        out.push_back(char16_t(0xD800 + (codepoint >> 10)));
        out.push_back(char16_t(0xDC00 + (codepoint & 0x3FF)));
    }
}

} // namespace

uint32_t nextCodepoint(std::string_view text, size_t& i) {
    const uint8_t lead = uint8_t(text[i]);
    ++i;
    if (lead < 0x80) return lead;
    // Length and the allowed range of the second byte exclude overlong forms, surrogates and
    // values above U+10FFFF.
    int length = 0;
    uint8_t low = 0x80, high = 0xBF;
    uint32_t codepoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codepoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codepoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codepoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return replacement;
    }
    // An invalid sequence resumes at the byte that broke it.
    for (int k = 1; k < length; ++k, ++i) {
        if (i >= text.size()) return replacement;
        const uint8_t byte = uint8_t(text[i]);
        if (byte < low || byte > high) return replacement;
        codepoint = (codepoint << 6) | (byte & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return codepoint;
}

bool isWellFormedUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        // U+FFFD itself is the three bytes EF BF BD; an ill-formed sequence that gives it is
        // shorter or starts otherwise.
        if (nextCodepoint(text, i) == replacement &&
            !(i - start == 3 && uint8_t(text[start]) == 0xEF))
            return false;
    }
    return true;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) append(out, nextCodepoint(text, i));
    return out;
}
