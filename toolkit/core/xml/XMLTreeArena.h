// The memory of one document's tree; seen only by the tree's own code.
//
// A document of many small elements would otherwise ask the general heap for several blocks
// per element and give them all back one by one when the tree goes. Nodes, their arrays and
// their strings are cut in turn from chunks the document owns instead, and everything goes at
// once with the document. Nothing cut from the arena is destroyed on its own: what it holds is
// plain data. What a tree drops (a replaced value, an outgrown array, a detached node) stays
// until the document goes, except large arrays, which have blocks of their own and are given
// back as soon as they are outgrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

// Under the address sanitizer what a chunk has not handed out yet is poisoned, so that writing
// past the end of the last block made (a text unescaped into its room) is reported.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QEL_XML_ARENA_POISON(block, bytes) ASAN_POISON_MEMORY_REGION(block, bytes)
#define QEL_XML_ARENA_UNPOISON(block, bytes) ASAN_UNPOISON_MEMORY_REGION(block, bytes)
#else
#define QEL_XML_ARENA_POISON(block, bytes) ((void)(block), (void)(bytes))
#define QEL_XML_ARENA_UNPOISON(block, bytes) ((void)(block), (void)(bytes))
#endif

namespace QEL {

class XMLTreeArena {
public:
    XMLTreeArena() = default;
    ~XMLTreeArena();
    XMLTreeArena(const XMLTreeArena&) = delete;
    XMLTreeArena& operator=(const XMLTreeArena&) = delete;

    // bytes of memory aligned for any of the tree's records; throws std::bad_alloc.
    void* Allocate(std::size_t bytes)
    {
        // Strings leave the cursor anywhere: records start at the next aligned place.
        const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(m_cursor);
        char* block = m_cursor + (((at + s_alignment - 1) & ~(s_alignment - 1)) - at);
        if (block <= m_limit && bytes <= static_cast<std::size_t>(m_limit - block)) {
            m_cursor = block + bytes;
            QEL_XML_ARENA_UNPOISON(block, bytes);
            return block;
        }
        return AllocateSlow(bytes);
    }

    // Room for length characters and the 0 that ends them; the caller fills it.
    char* AllocateString(std::size_t length)
    {
        if (length + 1 <= static_cast<std::size_t>(m_limit - m_cursor)) {
            char* text = m_cursor;
            m_cursor += length + 1;
            QEL_XML_ARENA_UNPOISON(text, length + 1);
            return text;
        }
        return static_cast<char*>(AllocateSlow(length + 1));
    }

    // Gives back the end of the last string made (with room for length characters), of which
    // only used characters and the 0 are kept: a text unescaped into room made for the worst
    // case.
    void ShrinkLastString(char* text, std::size_t length, std::size_t used)
    {
        if (m_cursor == text + length + 1) {
            m_cursor = text + used + 1;
            QEL_XML_ARENA_POISON(m_cursor, length - used);
        }
    }

    const char* CopyString(const char* text, std::size_t length)
    {
        char* copy = AllocateString(length);
        CopyBytes(copy, text, length);
        copy[length] = 0;
        return copy;
    }

    // An array of count records with room for more (firstCapacity when there was none), the
    // first count copied from items (which the arena made). The old array is kept in small
    // cases, given back in large ones.
    template <typename T>
    T* GrowArray(T* items, std::uint32_t count, std::uint32_t& capacity,
                 std::uint32_t firstCapacity)
    {
        std::size_t grown = capacity == 0 ? firstCapacity : static_cast<std::size_t>(capacity) * 2;
        if (grown <= count)
            grown = static_cast<std::size_t>(count) + 1;
        if (grown > UINT32_MAX)
            throw std::bad_alloc();
        T* result = static_cast<T*>(AllocateArray(grown * sizeof(T)));
        if (count != 0)
            std::memcpy(static_cast<void*>(result), static_cast<const void*>(items),
                        count * sizeof(T));
        ReleaseArray(items, static_cast<std::size_t>(capacity) * sizeof(T));
        capacity = static_cast<std::uint32_t>(grown);
        return result;
    }

    // An array of exactly count records copied from items.
    template <typename T>
    T* CopyArray(const T* items, std::size_t count)
    {
        if (count == 0)
            return nullptr;
        T* result = static_cast<T*>(AllocateArray(count * sizeof(T)));
        std::memcpy(static_cast<void*>(result), static_cast<const void*>(items), count * sizeof(T));
        return result;
    }

private:
    // Most strings of a document are names and short values: copied here in two moves of a
    // fixed size that overlap, rather than through a call that first sorts out the length.
    static void CopyBytes(char* to, const char* from, std::size_t length)
    {
        if (length >= 16 && length <= 32) {
            std::memcpy(to, from, 16);
            std::memcpy(to + length - 16, from + length - 16, 16);
        } else if (length >= 8 && length < 16) {
            std::memcpy(to, from, 8);
            std::memcpy(to + length - 8, from + length - 8, 8);
        } else if (length >= 4 && length < 8) {
            std::memcpy(to, from, 4);
            std::memcpy(to + length - 4, from + length - 4, 4);
        } else if (length > 0 && length < 4) {
            to[0] = from[0];
            to[length / 2] = from[length / 2];
            to[length - 1] = from[length - 1];
        } else if (length > 32) {
            std::memcpy(to, from, length);
        }
    }

    static constexpr std::size_t s_alignment = alignof(std::max_align_t);

    // A block of the general heap: a chunk to cut from, or a large array of its own. Large
    // ones are linked both ways, so that an outgrown one leaves the list at once.
    struct Block {
        Block* m_previous;
        Block* m_next;
    };
    static constexpr std::size_t s_blockHeader =
        (sizeof(Block) + s_alignment - 1) & ~(s_alignment - 1);

    void* AllocateSlow(std::size_t bytes);
    void* AllocateArray(std::size_t bytes);
    void ReleaseArray(void* items, std::size_t bytes) noexcept;
    Block* NewBlock(std::size_t bytes, Block*& list);

    char* m_cursor = nullptr;
    char* m_limit = nullptr;
    std::size_t m_nextChunkBytes = 2048;
    Block* m_chunks = nullptr;
    Block* m_large = nullptr;
};

}  // namespace QEL
