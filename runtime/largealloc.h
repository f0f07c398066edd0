// Memory for large tables: on Linux, blocks of 4 MiB and more are aligned to 2 MiB and marked
// for transparent huge pages, since first-touch page faults otherwise dominate the work on them.
#pragma once

#include <cstddef>
#include <new>

namespace zanvo {

void *allocateLarge(std::size_t bytes);
void freeLarge(void *block) noexcept;

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
