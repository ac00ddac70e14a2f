#pragma once
// Scoped owners of what the kernel hands back: arrays that must be freed and the current
// partition that a call switches for a moment.

#include <brennik.h>

#include <set>
#include <vector>

namespace QEL {

// An array the kernel allocated, freed with BQ_MEMORY_free when the owner goes. Pass Count()
// and Slot() as the kernel call's count and array outputs.
template <typename T>
class KernelArray {
public:
    KernelArray() = default;
    KernelArray(const KernelArray&) = delete;
    KernelArray& operator=(const KernelArray&) = delete;
    ~KernelArray() { BQ_MEMORY_free(m_data); }

    int* Count() { return &m_count; }
    T** Slot() { return &m_data; }
    int Size() const { return m_data ? m_count : 0; }
    const T* Data() const { return m_data; }
    const T& operator[](int index) const { return m_data[index]; }

    void AppendTo(std::vector<T>& out) const { out.insert(out.end(), m_data, m_data + Size()); }
    void InsertInto(std::set<T>& out) const { out.insert(m_data, m_data + Size()); }

private:
    int m_count = 0;
    T* m_data = nullptr;
};

// Makes a partition current for the scope and puts the previous one back on every path.
class CurrentPartitionScope {
public:
    explicit CurrentPartitionScope(int partition)
    {
        BQ_SESSION_ask_curr_partition(&m_previous);
        if (partition != 0 && partition != m_previous)
            BQ_PARTITION_set_current(partition);
    }
    CurrentPartitionScope(const CurrentPartitionScope&) = delete;
    CurrentPartitionScope& operator=(const CurrentPartitionScope&) = delete;
    ~CurrentPartitionScope()
    {
        int current = 0;
        BQ_SESSION_ask_curr_partition(&current);
        if (m_previous != 0 && current != m_previous)
            BQ_PARTITION_set_current(m_previous);
    }

private:
    int m_previous = 0;
};

// Makes an entity's partition current for the scope, so that what a call creates lands beside
// the entity; the partition current before comes back when the guard goes, if there was one.
class PartitionGuard {
public:
    explicit PartitionGuard(int entity) : m_scope(PartitionOf(entity)) {}

private:
    static int PartitionOf(int entity)
    {
        int partition = 0;
        BQ_ENTITY_ask_partition(entity, &partition);
        return partition;
    }

    CurrentPartitionScope m_scope;
};

}  // namespace QEL
