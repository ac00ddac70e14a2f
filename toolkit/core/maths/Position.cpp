#include "core/maths/Position.h"

#include "core/maths/Tolerance.h"

namespace QEL {

Position::Position() : x(0.0), y(0.0), z(0.0) {}

Position::Position(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}

Position::Position(const double* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

Position::Position(const Position& other) : x(other.x), y(other.y), z(other.z) {}

Position& Position::operator=(const Position& other)
{
    if (this != &other) {
        x = other.x;
        y = other.y;
        z = other.z;
    }
    return *this;
}

bool operator==(const Position& a, const Position& b)
{
    return IsEqualWithinTolerance(a.x, b.x) && IsEqualWithinTolerance(a.y, b.y) &&
           IsEqualWithinTolerance(a.z, b.z);
}

}  // namespace QEL
