// Large blocks, huge-page backed where the platform offers it.
#include "runtime/largealloc.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace zanvo {

namespace {
constexpr std::size_t hugePage = std::size_t(2) << 20;
constexpr std::size_t largeThreshold = std::size_t(4) << 20;
} // namespace

void *allocateLarge(std::size_t bytes)
{
    void *block = nullptr;
#ifdef __linux__
    if (bytes >= largeThreshold) {
        const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        block = std::aligned_alloc(hugePage, rounded);
        // Only advice: where the kernel declines, the block still works in small pages.
        if (block)
            madvise(block, rounded, MADV_HUGEPAGE);
    } else
#endif
    {
        block = std::malloc(bytes ? bytes : 1);
    }
    if (!block)
        throw std::bad_alloc();
    return block;
}

void freeLarge(void *block) noexcept
{
    std::free(block);
}

} // namespace zanvo
