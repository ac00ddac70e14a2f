#pragma once
#include "core/frame/QelExport.h"

namespace QEL {

// A 4x4 matrix indexed [row][column]. As a transform: rotation in rows and columns 0..2,
// translation in column 3 of rows 0..2, bottom row (0, 0, 0, 1).
class QEL_API Double4x4 {
public:
    // The identity.
    Double4x4();
    explicit Double4x4(const double (*rows)[4]);
    Double4x4(const Double4x4& other);
    Double4x4& operator=(const Double4x4& other);

    double m[4][4];
};

// Equal when all sixteen entries are exactly equal.
QEL_API bool operator==(const Double4x4& a, const Double4x4& b);

}  // namespace QEL
