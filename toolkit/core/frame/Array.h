#pragma once
// The exported container of the toolkit's surface. Its one member is a pointer to a heap
// vector, so that the application and the toolkit share one layout whatever their builds.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "core/maths/Double4x4.h"
#include "core/maths/Position.h"

#include <stdexcept>
#include <vector>

namespace QEL {

template <typename T>
class QEL_API Array {
public:
    Array();
    Array(const Array& other);
    Array(int count, const T* values);
    ~Array();
    const Array& operator=(const Array& other);

    int GetSize() const;
    int Capacity() const;
    // The first element; null when the array is empty.
    T* GetData() const;

    // Range-tested access: an index outside 0..size-1 throws std::out_of_range.
    T& operator[](int index);
    const T& operator[](int index) const;
    const T& GetAt(int index) const;
    void SetAt(int index, const T& value);

    // Append; return the new size.
    int Add(const T& value);
    int Add(int count, const T* values);
    // An index equal to the size appends; one outside 0..size does nothing.
    void InsertAt(int index, const T& value);
    // An index outside 0..size-1 does nothing.
    void RemoveAt(int index);
    // Removes every element; the capacity stays.
    void RemoveAll();
    void Reserve(int count);
    void Assign(int count, const T& value);
    // Index of the first element equal to the value, -1 when none.
    int Find(const T& value) const;
    // Removes every element equal to the value; returns how many went.
    int Erase(const T& value);

    template <typename U>
    friend std::vector<U>& GetArrayVector(Array<U>& array);
    template <typename U>
    friend const std::vector<U>& GetArrayVector(const Array<U>& array);

private:
    std::vector<T>* m_vector;
};

// The wrapped vector itself, for the toolkit's own code.
template <typename T>
std::vector<T>& GetArrayVector(Array<T>& array)
{
    return *array.m_vector;
}

template <typename T>
const std::vector<T>& GetArrayVector(const Array<T>& array)
{
    return *array.m_vector;
}

// Same size and equal elements: exact for numbers, matrices and tag lists, within the linear
// tolerance per coordinate for positions.
template <typename T>
QEL_API bool operator==(const Array<T>& a, const Array<T>& b);

// Tolerant comparison of two double arrays: same size and each pair within 1e-8. Named
// explicitly (operator==<double>), the template above compares exactly.
QEL_API bool operator==(const Array<double>& a, const Array<double>& b);

// --- Members ---------------------------------------------------------------------------------

template <typename T>
Array<T>::Array() : m_vector(new std::vector<T>())
{
}

template <typename T>
Array<T>::Array(const Array& other) : m_vector(new std::vector<T>(*other.m_vector))
{
}

template <typename T>
Array<T>::Array(int count, const T* values) : m_vector(new std::vector<T>())
{
    Add(count, values);
}

template <typename T>
Array<T>::~Array()
{
    delete m_vector;
}

template <typename T>
const Array<T>& Array<T>::operator=(const Array& other)
{
    if (this != &other)
        *m_vector = *other.m_vector;
    return *this;
}

template <typename T>
int Array<T>::GetSize() const
{
    return static_cast<int>(m_vector->size());
}

template <typename T>
int Array<T>::Capacity() const
{
    return static_cast<int>(m_vector->capacity());
}

template <typename T>
T* Array<T>::GetData() const
{
    return m_vector->empty() ? nullptr : m_vector->data();
}

template <typename T>
T& Array<T>::operator[](int index)
{
    if (index < 0)
        throw std::out_of_range("Array index below 0");
    return m_vector->at(static_cast<std::size_t>(index));
}

template <typename T>
const T& Array<T>::operator[](int index) const
{
    return GetAt(index);
}

template <typename T>
const T& Array<T>::GetAt(int index) const
{
    if (index < 0)
        throw std::out_of_range("Array index below 0");
    return m_vector->at(static_cast<std::size_t>(index));
}

template <typename T>
void Array<T>::SetAt(int index, const T& value)
{
    (*this)[index] = value;
}

template <typename T>
int Array<T>::Add(const T& value)
{
    m_vector->push_back(value);
    return GetSize();
}

template <typename T>
int Array<T>::Add(int count, const T* values)
{
    if (count > 0) {
        m_vector->reserve(m_vector->size() + static_cast<std::size_t>(count));
        m_vector->insert(m_vector->end(), values, values + count);
    }
    return GetSize();
}

template <typename T>
void Array<T>::InsertAt(int index, const T& value)
{
    if (index < 0 || index > GetSize())
        return;
    m_vector->insert(m_vector->begin() + index, value);
}

template <typename T>
void Array<T>::RemoveAt(int index)
{
    if (index < 0 || index >= GetSize())
        return;
    m_vector->erase(m_vector->begin() + index);
}

template <typename T>
void Array<T>::RemoveAll()
{
    m_vector->clear();
}

template <typename T>
void Array<T>::Reserve(int count)
{
    // A negative count fails as the vector does for a size beyond its maximum.
    m_vector->reserve(static_cast<std::size_t>(static_cast<long long>(count)));
}

template <typename T>
void Array<T>::Assign(int count, const T& value)
{
    m_vector->clear();
    m_vector->insert(m_vector->end(), static_cast<std::size_t>(static_cast<long long>(count)),
                     value);
}

template <typename T>
int Array<T>::Find(const T& value) const
{
    for (std::size_t i = 0; i < m_vector->size(); ++i)
        if ((*m_vector)[i] == value)
            return static_cast<int>(i);
    return -1;
}

template <typename T>
int Array<T>::Erase(const T& value)
{
    std::size_t before = m_vector->size();
    std::vector<T> kept;
    kept.reserve(before);
    for (const T& element : *m_vector)
        if (!(element == value))
            kept.push_back(element);
    m_vector->swap(kept);
    return static_cast<int>(before - m_vector->size());
}

template <typename T>
bool operator==(const Array<T>& a, const Array<T>& b)
{
    const std::vector<T>& left = GetArrayVector(a);
    const std::vector<T>& right = GetArrayVector(b);
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (!(left[i] == right[i]))
            return false;
    return true;
}

// The instantiations the library exports; other code uses them rather than its own copies.
extern template class Array<int>;
extern template class Array<double>;
extern template class Array<Double4x4>;
extern template class Array<Position>;
extern template class Array<Array<int>>;
extern template class Array<InvalidityType>;
extern template bool operator==(const Array<int>&, const Array<int>&);
extern template bool operator==(const Array<double>&, const Array<double>&);
extern template bool operator==(const Array<Double4x4>&, const Array<Double4x4>&);
extern template bool operator==(const Array<Position>&, const Array<Position>&);
extern template bool operator==(const Array<Array<int>>&, const Array<Array<int>>&);
extern template bool operator==(const Array<InvalidityType>&, const Array<InvalidityType>&);
extern template bool operator==(const Array<unsigned char>&, const Array<unsigned char>&);

}  // namespace QEL
