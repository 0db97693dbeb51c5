#include "menu/name_order.h"

#include "render/utf8.h"

#include <cstddef>

namespace {

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

unsigned char folded(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// -1, 0 or 1: a against b, case folded in ASCII (UTF-8 bytes keep the order of the characters)
// and with digit runs compared by value.
int compareNatural(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[j]);
        if (isDigit(ca) && isDigit(cb)) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            size_t endA = i, endB = j;
            while (endA < a.size() && isDigit(static_cast<unsigned char>(a[endA]))) ++endA;
            while (endB < b.size() && isDigit(static_cast<unsigned char>(b[endB]))) ++endB;
            // Without leading zeros, the longer run is the larger number.
            if (endA - i != endB - j) return endA - i < endB - j ? -1 : 1;
            for (; i < endA; ++i, ++j)
                if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
            continue;
        }
        if (folded(ca) != folded(cb)) return folded(ca) < folded(cb) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

} // namespace

bool nameBefore(const std::string& a, const std::string& b) {
    const bool utf8A = isWellFormedUtf8(a), utf8B = isWellFormedUtf8(b);
    if (utf8A != utf8B) return utf8A;
    if (utf8A) {
        const int order = compareNatural(a, b);
        if (order != 0) return order < 0;
    }
    return a < b;
}
