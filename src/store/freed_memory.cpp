#include "store/freed_memory.h"

#include <cstdlib> // defines __GLIBC__ where glibc is the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace store {

void giveBackFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

#if defined(__GLIBC__)
// glibc's own limit for its fast bins (DEFAULT_MXFAST), which it has no call to read back.
constexpr int kFastBinsLimit = int(64 * sizeof(size_t) / 4);

FreeingInOneGo::FreeingInOneGo() {
    mallopt(M_MXFAST, 0);
}

FreeingInOneGo::~FreeingInOneGo() {
    mallopt(M_MXFAST, kFastBinsLimit);
}
#else
FreeingInOneGo::FreeingInOneGo() = default;
FreeingInOneGo::~FreeingInOneGo() = default;
#endif

} // namespace store
