#include "platform/prefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void prefaultForWriting(void* memory, size_t size) {
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    // Only whole pages inside the range: the pages at its ends may hold other live data, which
    // populating leaves intact anyway, but madvise needs an aligned start.
    const uintptr_t begin = (uintptr_t(memory) + page - 1) & ~(page - 1);
    const uintptr_t end = (uintptr_t(memory) + size) & ~(page - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)size;
#endif
}
