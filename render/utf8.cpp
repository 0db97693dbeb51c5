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

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        uint8_t lead = uint8_t(text[i]);
        if (lead < 0x80) {
            out.push_back(char16_t(lead));
            ++i;
            continue;
        }
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
            out.push_back(replacement);
            ++i;
            continue;
        }
        size_t next = i + 1;
        bool valid = true;
        for (int k = 1; k < length; ++k, ++next) {
            if (next >= text.size()) {
                valid = false;
                break;
            }
            uint8_t byte = uint8_t(text[next]);
            if (byte < low || byte > high) {
                valid = false;
                break;
            }
            codepoint = (codepoint << 6) | (byte & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        if (valid) {
            append(out, codepoint);
        } else {
            out.push_back(replacement);
        }
        i = next; // an invalid sequence resumes at the byte that broke it
    }
    return out;
}
