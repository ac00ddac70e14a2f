#include "core/maths/Tolerance.h"

const double s_linearTolerance = 1e-8;
const double s_angularTolerance = 1e-11;
// Dynamic initialisation: squared at load, before any call can compare with them.
const double s_linearToleranceSquared = s_linearTolerance * s_linearTolerance;
const double s_angularToleranceSquared = s_angularTolerance * s_angularTolerance;

bool IsNearlyZero(double x) { return -s_linearTolerance <= x && x <= s_linearTolerance; }

bool IsEqualWithinTolerance(double a, double b) { return IsNearlyZero(a - b); }
