#include "core/xml/XMLTreeArena.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QEL_ARENA_POISON(block, bytes) ASAN_POISON_MEMORY_REGION(block, bytes)
#define QEL_ARENA_UNPOISON(block, bytes) ASAN_UNPOISON_MEMORY_REGION(block, bytes)
#else
#define QEL_ARENA_POISON(block, bytes) ((void)(block), (void)(bytes))
#define QEL_ARENA_UNPOISON(block, bytes) ((void)(block), (void)(bytes))
#endif

namespace QEL {

namespace {

constexpr std::size_t s_chunkBytes = 64 * 1024;
// Larger blocks (the arrays of an element with many contents) come from the general heap.
constexpr std::size_t s_largestArenaBlock = 2048;
// Each block starts with a pointer to its chunk, padded so that the block keeps the heap's
// alignment.
constexpr std::size_t s_alignment = alignof(std::max_align_t);
constexpr std::size_t s_prefixBytes = s_alignment;

// The count of a chunk's live blocks. While a thread still cuts blocks from the chunk, the
// count carries a charge far above any number of blocks, so that no release can reach 0; the
// thread takes the charge off, less the blocks it cut, when it moves on to the next chunk.
struct Chunk {
    std::atomic<std::int64_t> m_live;
};
constexpr std::int64_t s_cuttingCharge = std::int64_t(1) << 48;
constexpr std::size_t s_headerBytes = (sizeof(Chunk) + s_alignment - 1) / s_alignment * s_alignment;

Chunk* NewChunk(std::int64_t live)
{
    void* memory = std::malloc(s_chunkBytes);
    if (memory == nullptr)
        throw std::bad_alloc();
    Chunk* chunk = new (memory) Chunk{};
    chunk->m_live.store(live, std::memory_order_relaxed);
    QEL_ARENA_POISON(static_cast<char*>(memory) + s_headerBytes, s_chunkBytes - s_headerBytes);
    return chunk;
}

void Drop(Chunk* chunk, std::int64_t count) noexcept
{
    if (count != 0 && chunk->m_live.fetch_sub(count, std::memory_order_acq_rel) == count) {
        chunk->~Chunk();
        std::free(chunk);
    }
}

// Plain data, so that it stays usable until the thread ends; the thread's guard below lets go
// of what it holds. A tree lets go of its blocks chunk by chunk as a rule, so the releases of
// one chunk in a row are counted here and taken off its count together.
struct ThreadChunks {
    Chunk* m_cutting;
    std::size_t m_used;
    std::int64_t m_cut;
    Chunk* m_releasing;
    std::int64_t m_released;
    bool m_ended;
};
thread_local ThreadChunks t_chunks = {nullptr, 0, 0, nullptr, 0, false};

void RetireCuttingChunk() noexcept
{
    if (t_chunks.m_cutting == nullptr)
        return;
    Chunk* chunk = t_chunks.m_cutting;
    const std::int64_t cut = t_chunks.m_cut;
    t_chunks.m_cutting = nullptr;
    Drop(chunk, s_cuttingCharge - cut);
}

void DropReleased() noexcept
{
    Chunk* chunk = t_chunks.m_releasing;
    const std::int64_t released = t_chunks.m_released;
    t_chunks.m_releasing = nullptr;
    t_chunks.m_released = 0;
    if (chunk != nullptr)
        Drop(chunk, released);
}

// After the thread's end (objects destroyed later still make and free blocks) nothing is kept
// for the thread any more: each block then takes a chunk of its own and goes with it.
struct ThreadChunksGuard {
    ~ThreadChunksGuard()
    {
        DropReleased();
        RetireCuttingChunk();
        t_chunks.m_ended = true;
    }
};
thread_local ThreadChunksGuard t_chunksGuard;

std::size_t RoundUp(std::size_t bytes)
{
    return (bytes + s_alignment - 1) / s_alignment * s_alignment;
}

// A block of size bytes, its chunk written in front of it.
char* Cut(std::size_t size)
{
    Chunk* chunk = nullptr;
    char* start = nullptr;
    if (t_chunks.m_ended) {
        chunk = NewChunk(1);
        start = reinterpret_cast<char*>(chunk) + s_headerBytes;
    } else {
        (void)&t_chunksGuard;  // made with the thread's first block, so it runs at the thread's end
        if (t_chunks.m_cutting == nullptr || t_chunks.m_used + size > s_chunkBytes) {
            Chunk* next = NewChunk(s_cuttingCharge);
            RetireCuttingChunk();
            t_chunks.m_cutting = next;
            t_chunks.m_used = s_headerBytes;
            t_chunks.m_cut = 0;
        }
        chunk = t_chunks.m_cutting;
        start = reinterpret_cast<char*>(chunk) + t_chunks.m_used;
        t_chunks.m_used += size;
        ++t_chunks.m_cut;
    }
    QEL_ARENA_UNPOISON(start, size);
    *reinterpret_cast<Chunk**>(start) = chunk;
    return start;
}

}  // namespace

void* XMLArenaAllocate(std::size_t bytes)
{
    const std::size_t size = s_prefixBytes + RoundUp(bytes);
    if (size > s_largestArenaBlock)
        return ::operator new(bytes);
    return Cut(size) + s_prefixBytes;
}

void XMLArenaRelease(void* block, std::size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    const std::size_t size = s_prefixBytes + RoundUp(bytes);
    if (size > s_largestArenaBlock)
        return ::operator delete(block);
    char* start = static_cast<char*>(block) - s_prefixBytes;
    Chunk* chunk = *reinterpret_cast<Chunk**>(start);
    QEL_ARENA_POISON(start, size);
    if (t_chunks.m_ended)
        return Drop(chunk, 1);
    if (chunk != t_chunks.m_releasing) {
        (void)&t_chunksGuard;  // a thread that only lets go of blocks also takes its count off at
                               // its end
        DropReleased();
        t_chunks.m_releasing = chunk;
    }
    ++t_chunks.m_released;
}

}  // namespace QEL
