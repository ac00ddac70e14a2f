#pragma once
#include "core/frame/QelExport.h"

namespace QEL {

// Three coordinates passed by value: a point, or in some calls a direction.
class QEL_API Position {
public:
    Position();
    Position(double xValue, double yValue, double zValue);
    explicit Position(const double* xyz);
    Position(const Position& other);
    Position& operator=(const Position& other);

    double x;
    double y;
    double z;
};

// Equal when each coordinate pair differs by at most the linear tolerance.
QEL_API bool operator==(const Position& a, const Position& b);

}  // namespace QEL
