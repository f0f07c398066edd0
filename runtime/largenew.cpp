// How a program that holds texts of tens of MB allocates: large blocks given back once freed, and
// an operator new that lets a worker have a library's large buffers in large blocks
// (LargeBlocksHere). Every other allocation is made as the standard library makes it, and all are
// freed by its operator delete, with free(). AddressSanitizer keeps its own operator new, which
// pairs each delete with its new.
#include "runtime/largealloc.h"

#include <cstdlib>
#include <new>

namespace {
const bool givenBack = (zanvo::giveLargeBlocksBack(), true);
} // namespace

#ifndef __SANITIZE_ADDRESS__
void *operator new(std::size_t bytes)
{
    for (;;) {
        void *block = zanvo::LargeBlocksHere::active() ? zanvo::tryAllocateLarge(bytes)
                                                       : std::malloc(bytes ? bytes : 1);
        if (block)
            return block;
        const std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}
#endif
