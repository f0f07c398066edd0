// Memory for large tables: on Linux, blocks of 4 MiB and more are aligned to 2 MiB and marked
// for transparent huge pages, since first-touch page faults otherwise dominate the work on them.
#pragma once

#include <cstddef>
#include <new>

namespace zanvo {

void *allocateLarge(std::size_t bytes);
// The same, nullptr where there is no room.
void *tryAllocateLarge(std::size_t bytes) noexcept;
void freeLarge(void *block) noexcept;

// Marks the whole 2 MiB pages within a block that nothing has written to yet for huge pages, for
// a block made by another allocator.
void preferLargePages(void *block, std::size_t bytes) noexcept;

// Has every block of 4 MiB and more made apart from the heap and given back to the system once
// freed, as the C library does at first but stops doing for blocks up to 32 MiB after the first
// such block is freed: a window that makes and frees texts of tens of MB would otherwise keep
// much of what it freed.
void giveLargeBlocksBack() noexcept;

// While one lives on a thread, that thread's allocations through operator new of 4 MiB and more
// are large blocks as well, in a program that takes runtime/largenew.cpp: for the buffers of a
// library that a worker fills at once, such as a new Scintilla document's.
class LargeBlocksHere {
public:
    LargeBlocksHere() noexcept;
    ~LargeBlocksHere();
    LargeBlocksHere(const LargeBlocksHere &) = delete;
    LargeBlocksHere &operator=(const LargeBlocksHere &) = delete;

    static bool active() noexcept;

private:
    bool m_outer;
};

// A standard allocator over allocateLarge, for vectors that may grow large.
template<class T> struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template<class U> LargeAllocator(const LargeAllocator<U> &) noexcept { }

    T *allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T *>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T *p, std::size_t) noexcept { freeLarge(p); }

    template<class U> bool operator==(const LargeAllocator<U> &) const noexcept { return true; }
};

} // namespace zanvo
