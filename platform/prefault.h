#pragma once
// Backing large buffers with memory before they are filled.
#include <cstddef>

// Asks the system to back [memory, memory + size) with pages now, in one call rather than one
// fault per page as it is first written. Only a speed hint; does nothing where unsupported.
void prefaultForWriting(void* memory, size_t size);
