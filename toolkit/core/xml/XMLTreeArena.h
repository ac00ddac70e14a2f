// Memory of tree nodes and their content arrays; seen only by the tree's own code.
//
// A document of many small elements would otherwise ask the general heap for several blocks
// per element and give them all back one by one when the tree goes. Blocks are cut in turn
// from large chunks of the thread that makes them instead, and a chunk goes back to the heap
// when every block cut from it has gone, whichever thread lets go of the last one. A node
// that outlives its document only keeps its own chunk.
#pragma once

#include <cstddef>
#include <new>

namespace QEL {

void* XMLArenaAllocate(std::size_t bytes);
void XMLArenaRelease(void* block, std::size_t bytes) noexcept;

template <typename T>
struct XMLArenaAllocator {
    using value_type = T;

    XMLArenaAllocator() noexcept = default;
    template <typename U>
    XMLArenaAllocator(const XMLArenaAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(XMLArenaAllocate(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept
    {
        XMLArenaRelease(block, count * sizeof(T));
    }

    template <typename U>
    bool operator==(const XMLArenaAllocator<U>&) const noexcept
    {
        return true;
    }
    template <typename U>
    bool operator!=(const XMLArenaAllocator<U>&) const noexcept
    {
        return false;
    }
};

}  // namespace QEL
