#pragma once
// UTF-8 to UTF-16 for the text queue.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Characters above U+FFFF become surrogate pairs. Each ill-formed sequence (its longest
// well-formed start, or one stray byte) becomes one U+FFFD; conversion never fails.
std::u16string utf8ToUtf16(std::string_view text);

// The character starting at text[i] (i < text.size()), moving i past it; an ill-formed sequence
// gives one U+FFFD as utf8ToUtf16 does.
uint32_t nextCodepoint(std::string_view text, size_t& i);

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or values past
// U+10FFFF.
bool isWellFormedUtf8(std::string_view text);
