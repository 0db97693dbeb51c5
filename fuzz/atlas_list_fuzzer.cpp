// The sprite atlas's region list parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/atlas_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    parseAtlasList(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
