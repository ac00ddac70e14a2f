#pragma once
// Unit directions. Only the constructor (without its unit flag) and MakeDir normalise; every
// other operation takes the direction it is given as unit.

#include "core/maths/Vec.h"

struct Dir : Vec {
    // (0, 0, 1).
    Dir() : Vec(0.0, 0.0, 1.0) {}
    // Normalised unless isUnit says the values already are; a zero vector becomes (0, 0, 1).
    Dir(double xValue, double yValue, double zValue, bool isUnit = false);

    // Squared length of the difference below 1e-22.
    bool IsEqual(const Dir& other) const;
    // Absolute dot product below 1e-11.
    bool IsPerpendicular(const Dir& other) const;
    // Parallel in the same or the opposite sense, within the angular tolerance.
    bool IsParallel(const Dir& other) const;
};

// The length of v; direction becomes v divided by it, or (0, 0, 1) when the length is 0.
double NormalizeVec(const Vec& v, Dir& direction);
// The unit direction of v; a zero vector gives (0, 0, 1).
Dir MakeDir(const Vec& v);

bool AreParallel(const Dir& a, const Dir& b);
bool ArePerpendicular(const Dir& a, const Dir& b);
// Absolute dot product at least cos 45 degrees.
bool IsAngleWithin45Degrees(const Dir& a, const Dir& b);

const Dir& GetXAxis();
const Dir& GetYAxis();
const Dir& GetZAxis();
