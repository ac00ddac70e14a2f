#include "core/maths/Dir.h"

#include "core/maths/Tolerance.h"

#include <cmath>

Dir::Dir(double xValue, double yValue, double zValue, bool isUnit) : Vec(xValue, yValue, zValue)
{
    if (!isUnit)
        NormalizeVec(Vec(xValue, yValue, zValue), *this);
}

bool Dir::IsEqual(const Dir& other) const
{
    return (*this - other).SquaredLength() < s_angularToleranceSquared;
}

bool Dir::IsPerpendicular(const Dir& other) const
{
    return std::fabs(Dot(*this, other)) < s_angularTolerance;
}

bool Dir::IsParallel(const Dir& other) const
{
    const double limit = 1.0 - s_angularTolerance;
    const double dot = Dot(*this, other);
    if (-limit < dot && dot < limit)
        return false;
    // The dot product alone cannot tell directions apart closer than its rounding; the
    // difference (or sum, for opposite senses) can.
    const Vec gap = dot > 0.0 ? *this - other : *this + other;
    return gap.SquaredLength() < s_angularToleranceSquared;
}

double NormalizeVec(const Vec& v, Dir& direction)
{
    const double length = v.Length();
    if (length == 0.0) {
        direction.x = 0.0;
        direction.y = 0.0;
        direction.z = 1.0;
    } else {
        direction.x = v.x / length;
        direction.y = v.y / length;
        direction.z = v.z / length;
    }
    return length;
}

Dir MakeDir(const Vec& v)
{
    Dir direction;
    NormalizeVec(v, direction);
    return direction;
}

bool AreParallel(const Dir& a, const Dir& b) { return a.IsParallel(b); }

bool ArePerpendicular(const Dir& a, const Dir& b) { return a.IsPerpendicular(b); }

bool IsAngleWithin45Degrees(const Dir& a, const Dir& b)
{
    return std::fabs(Dot(a, b)) >= 0.7071067811865476;
}

const Dir& GetXAxis()
{
    static const Dir axis(1.0, 0.0, 0.0, true);
    return axis;
}

const Dir& GetYAxis()
{
    static const Dir axis(0.0, 1.0, 0.0, true);
    return axis;
}

const Dir& GetZAxis()
{
    static const Dir axis(0.0, 0.0, 1.0, true);
    return axis;
}
