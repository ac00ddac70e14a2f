#pragma once
// The two fixed tolerances of every geometric decision, and their squares, which the
// squared-length tests compare with. The squares are computed once when the library loads.

extern const double s_linearTolerance;          // 1e-8: lengths, coordinates, distances
extern const double s_angularTolerance;         // 1e-11: directions, dot products, rotations
extern const double s_linearToleranceSquared;   // 1e-16
extern const double s_angularToleranceSquared;  // 1e-22

// -1e-8 <= x <= 1e-8.
bool IsNearlyZero(double x);
// -1e-8 <= a - b <= 1e-8: the tolerant equality of doubles everywhere in the toolkit.
bool IsEqualWithinTolerance(double a, double b);
