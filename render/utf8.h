#pragma once
// UTF-8 to UTF-16 for the text queue.
#include <string>
#include <string_view>

// Characters above U+FFFF become surrogate pairs. Each ill-formed sequence (its longest
// well-formed start, or one stray byte) becomes one U+FFFD; conversion never fails.
std::u16string utf8ToUtf16(std::string_view text);
