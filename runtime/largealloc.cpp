// Large blocks, huge-page backed where the platform offers it.
#include "runtime/largealloc.h"

#include <cstdint>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace zanvo {

namespace {
constexpr std::size_t hugePage = std::size_t(2) << 20;
constexpr std::size_t largeThreshold = std::size_t(4) << 20;
thread_local bool largeBlocksHere = false;
} // namespace

void preferLargePages(void *block, std::size_t bytes) noexcept
{
#ifdef __linux__
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + hugePage - 1) / hugePage * hugePage;
    const std::uintptr_t last = (start + bytes) / hugePage * hugePage;
    // Only advice: where the kernel declines, the block still works in small pages.
    if (first < last)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

void *tryAllocateLarge(std::size_t bytes) noexcept
{
#ifdef __linux__
    if (bytes >= largeThreshold) {
        const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        void *block = std::aligned_alloc(hugePage, rounded);
        if (block)
            preferLargePages(block, rounded);
        return block;
    }
#endif
    return std::malloc(bytes ? bytes : 1);
}

void *allocateLarge(std::size_t bytes)
{
    void *block = tryAllocateLarge(bytes);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void freeLarge(void *block) noexcept
{
    std::free(block);
}

void giveLargeBlocksBack() noexcept
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(largeThreshold));
#endif
}

LargeBlocksHere::LargeBlocksHere() noexcept : m_outer(largeBlocksHere)
{
    largeBlocksHere = true;
}

LargeBlocksHere::~LargeBlocksHere()
{
    largeBlocksHere = m_outer;
}

bool LargeBlocksHere::active() noexcept
{
    return largeBlocksHere;
}

} // namespace zanvo
