#include "core/enums/EnumNames.h"

namespace QEL {

std::string DTypeToString(int value)
{
    static const struct {
        int value;
        const char* name;
    } names[] = {
        {0, "ZMR3_DISTANCE"},
        {1, "ZMR3_ANGLE"},
        {2, "ZMR3_CONCENTRIC"},
        {3, "ZMR3_RADIUS"},
        {4, "ZMR3_PARALLEL"},
        {5, "ZMR3_PERPENDICULAR"},
        {6, "ZMR3_COINCIDENT"},
        {7, "ZMR3_TANGENT"},
        {10, "ZMR3_MAJOR_RADIUS"},
        {11, "ZMR3_MINOR_RADIUS"},
        {12, "ZMR3_EQUAL_RADIUS"},
        {14, "ZMR3_MIDPOINT"},
        {15, "ZMR3_DEPENDENCE"},
        {17, "ZMR3_EQUAL_PARAMETER"},
        {19, "ZMR3_EQUAL_DIRECTION"},
        {20, "ZMR3_EQUAL_CURVATURE"},
        {21, "ZMR3_EQUAL_FIRST_DERIVATIVE"},
        {22, "ZMR3_EQUAL_SECOND_DERIVATIVE"},
        {25, "ZMR3_CURVE_LENGTH"},
        {50, "ZMR3_SYMMETRIC"},
        {51, "ZMR3_HALF_ANGLE"},
        {52, "ZMR3_COINCIDENT_AROUND_SPINE"},
        {53, "ZMR3_COINCIDENT_WITH_SPINE"},
        {56, "ZMR3_EQUAL_HALF_ANGLE"},
    };
    for (const auto& entry : names)
        if (entry.value == value)
            return entry.name;
    return std::string();
}

}  // namespace QEL
