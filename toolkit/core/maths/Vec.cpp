#include "core/maths/Vec.h"

#include "core/maths/Tolerance.h"

#include <cmath>

double Vec::Length() const { return std::sqrt(SquaredLength()); }

bool ArePointsCoincident(const Vec& p, const Vec& q)
{
    return (p - q).SquaredLength() <= s_linearToleranceSquared;
}

const Vec& GetZeroVector()
{
    static const Vec zero;
    return zero;
}
