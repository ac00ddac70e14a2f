#include "core/maths/Double4x4.h"

#include <cstring>

namespace QEL {

Double4x4::Double4x4()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
}

Double4x4::Double4x4(const double (*rows)[4]) { std::memcpy(m, rows, sizeof m); }

Double4x4::Double4x4(const Double4x4& other) { std::memcpy(m, other.m, sizeof m); }

Double4x4& Double4x4::operator=(const Double4x4& other)
{
    if (this != &other)
        std::memcpy(m, other.m, sizeof m);
    return *this;
}

bool operator==(const Double4x4& a, const Double4x4& b)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (a.m[i][j] != b.m[i][j])
                return false;
    return true;
}

}  // namespace QEL
