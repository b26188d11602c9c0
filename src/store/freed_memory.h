#pragma once

namespace store {

// Hands the pages the allocator keeps free back to the system. A parsed
// document takes several times its file's size; once it is freed, that memory
// would otherwise stay with the process for the rest of the run.
void giveBackFreedMemory();

// While it lives, memory freed is merged with its free neighbours at once.
// A document's hundreds of thousands of nodes are freed in the order they
// were made; kept apart in glibc's fast bins instead, they are all merged at
// the next large request, which then takes longer than the freeing did.
class FreeingInOneGo {
public:
    FreeingInOneGo();
    ~FreeingInOneGo();
    FreeingInOneGo(const FreeingInOneGo&) = delete;
    FreeingInOneGo& operator=(const FreeingInOneGo&) = delete;
};

} // namespace store
