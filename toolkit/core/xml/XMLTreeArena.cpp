#include "core/xml/XMLTreeArena.h"

#include <cstdlib>
#include <initializer_list>

namespace QEL {

namespace {

// A small tree (a record, a header) takes a small chunk; a large one soon takes chunks of
// the largest size, so that a document of hundreds of megabytes asks the heap a few hundred
// times at most.
constexpr std::size_t s_largestChunk = 1u << 20;
// An array larger than this takes a block of its own, so that the doubling of a large
// element's contents leaves nothing behind.
constexpr std::size_t s_largestCutArray = 16u * 1024;

}  // namespace

XMLTreeArena::~XMLTreeArena()
{
    for (Block* list : {m_chunks, m_large}) {
        while (list != nullptr) {
            Block* next = list->m_next;
            std::free(list);
            list = next;
        }
    }
}

XMLTreeArena::Block* XMLTreeArena::NewBlock(std::size_t bytes, Block*& list)
{
    if (bytes > SIZE_MAX - s_blockHeader)
        throw std::bad_alloc();
    void* memory = std::malloc(s_blockHeader + bytes);
    if (memory == nullptr)
        throw std::bad_alloc();
    Block* block = static_cast<Block*>(memory);
    block->m_previous = nullptr;
    block->m_next = list;
    if (list != nullptr)
        list->m_previous = block;
    list = block;
    return block;
}

void* XMLTreeArena::AllocateSlow(std::size_t bytes)
{
    if (bytes > s_largestCutArray) {
        Block* block = NewBlock(bytes, m_large);
        return reinterpret_cast<char*>(block) + s_blockHeader;
    }
    const std::size_t chunkBytes = m_nextChunkBytes < bytes ? bytes : m_nextChunkBytes;
    if (m_nextChunkBytes < s_largestChunk)
        m_nextChunkBytes *= 2;
    Block* block = NewBlock(chunkBytes, m_chunks);
    char* start = reinterpret_cast<char*>(block) + s_blockHeader;
    m_cursor = start + bytes;
    m_limit = start + chunkBytes;
    QEL_XML_ARENA_POISON(m_cursor, chunkBytes - bytes);
    return start;
}

void* XMLTreeArena::AllocateArray(std::size_t bytes)
{
    if (bytes > s_largestCutArray) {
        Block* block = NewBlock(bytes, m_large);
        return reinterpret_cast<char*>(block) + s_blockHeader;
    }
    return Allocate(bytes);
}

void XMLTreeArena::ReleaseArray(void* items, std::size_t bytes) noexcept
{
    if (items == nullptr || bytes <= s_largestCutArray)
        return;
    Block* block = reinterpret_cast<Block*>(static_cast<char*>(items) - s_blockHeader);
    if (block->m_previous != nullptr)
        block->m_previous->m_next = block->m_next;
    else
        m_large = block->m_next;
    if (block->m_next != nullptr)
        block->m_next->m_previous = block->m_previous;
    std::free(block);
}

}  // namespace QEL
