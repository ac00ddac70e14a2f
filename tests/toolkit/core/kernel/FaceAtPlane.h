// Finding a planar face of a body by where it lies, for fixtures that name faces by their
// planes rather than by tags a build happens to give.
#pragma once

#include "core/kernel/KernelFacade.h"

#include <cmath>
#include <set>

namespace QEL {
namespace testing {

// The face of the body whose outward normal is (nx, ny, nz) and whose plane lies at along that
// normal; 0 when there is none.
inline int FaceAt(int body, double nx, double ny, double nz, double along)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces) {
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(face, &point, &normal);
        if (std::fabs(normal.x - nx) < 1e-9 && std::fabs(normal.y - ny) < 1e-9 &&
            std::fabs(normal.z - nz) < 1e-9 &&
            std::fabs(point.x * nx + point.y * ny + point.z * nz - along) < 1e-9)
            return face;
    }
    return 0;
}

}  // namespace testing
}  // namespace QEL
