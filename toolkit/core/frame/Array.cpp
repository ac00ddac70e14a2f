#include "core/frame/Array.h"

#include "core/maths/Tolerance.h"

namespace QEL {

template class Array<int>;
template class Array<double>;
template class Array<Double4x4>;
template class Array<Position>;
template class Array<Array<int>>;
template class Array<InvalidityType>;
template bool operator==(const Array<int>&, const Array<int>&);
template bool operator==(const Array<double>&, const Array<double>&);
template bool operator==(const Array<Double4x4>&, const Array<Double4x4>&);
template bool operator==(const Array<Position>&, const Array<Position>&);
template bool operator==(const Array<Array<int>>&, const Array<Array<int>>&);
template bool operator==(const Array<InvalidityType>&, const Array<InvalidityType>&);
template bool operator==(const Array<unsigned char>&, const Array<unsigned char>&);

bool operator==(const Array<double>& a, const Array<double>& b)
{
    const std::vector<double>& left = GetArrayVector(a);
    const std::vector<double>& right = GetArrayVector(b);
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (!IsEqualWithinTolerance(left[i], right[i]))
            return false;
    return true;
}

}  // namespace QEL
