// Places a unit cube's corners by composing two rigid transforms, moves them back with the
// inverse, checks tolerant comparisons and names a few enumeration values; prints the report
// and writes it to value-types.txt in the output folder given as the only argument.

#include "core/Array.h"
#include "core/EnumNames.h"
#include "core/LinesAndPlanes.h"
#include "core/TextUtils.h"
#include "core/Xform.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <string>

using namespace QEL;

namespace {

std::string Describe(const Vec& p)
{
    // Adding 0.0 turns a negative zero into a plain one.
    return FormatString("(%.6f, %.6f, %.6f)", p.x + 0.0, p.y + 0.0, p.z + 0.0);
}

std::string DescribeMatrix(const Double4x4& m)
{
    std::string text;
    for (const auto& row : m.m)
        text += FormatString("    [%9.6f %9.6f %9.6f %9.6f]\n", row[0], row[1], row[2], row[3]);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: value_types_example <output folder>\n";
        return 2;
    }
    std::string report;
    report += "Value types and transform maths\n\n";

    // A quarter turn about the vertical axis through (1, 1, 0), then a lift by 5 along z.
    Xform turn;
    turn.SetRotationAboutAxis(Vec(1, 1, 0), GetZAxis(), 1.0, 0.0);
    Xform lift;
    lift.SetToTranslation(Vec(0, 0, 5));
    const Xform placement = MultiplyXforms(lift, turn);  // turn first, then lift
    const Xform back = placement.GetInverse();

    report += "Placement as a 4x4 matrix (turn 90 deg about z through (1, 1, 0), then lift 5):\n";
    report += DescribeMatrix(placement.GetDouble4x4());
    report += FormatString("Placement composed with its inverse is the identity: %s\n\n",
                           MultiplyXforms(placement, back).IsIdentity() ? "yes" : "no");

    Array<Position> corners;
    for (int i = 0; i < 8; ++i)
        corners.Add(Position(i & 1, (i >> 1) & 1, (i >> 2) & 1));

    report += "Cube corners placed and moved back:\n";
    bool allBack = true;
    for (int i = 0; i < corners.GetSize(); ++i) {
        const Position& corner = corners[i];
        Vec p(corner.x, corner.y, corner.z);
        placement.TransformPoint(p);
        Vec q = p;
        back.TransformPoint(q);
        const bool same = corners.Find(Position(q.x, q.y, q.z)) == i;
        allBack = allBack && same;
        report += FormatString("  %s -> %s -> %s\n", Describe(Vec(corner.x, corner.y, corner.z)).c_str(),
                               Describe(p).c_str(), Describe(q).c_str());
    }
    report += FormatString("Every corner returned within the linear tolerance: %s\n\n", allBack ? "yes" : "no");

    Vec point;
    Dir direction;
    IntersectPlanes(Vec(0, 0, 5), GetZAxis(), Vec(2, 0, 0), GetXAxis(), &point, &direction);
    report += FormatString("Top plane z = 5 meets plane x = 2 along %s through %s\n\n",
                           Describe(direction).c_str(), Describe(point).c_str());

    report += "Tolerances: points 0.5e-8 apart ";
    report += ArePointsCoincident(Vec(), Vec(0.5e-8, 0, 0)) ? "coincide" : "differ";
    report += ", 2e-8 apart ";
    report += ArePointsCoincident(Vec(), Vec(2e-8, 0, 0)) ? "coincide" : "differ";
    report += "\n\n";

    report += "Enumeration names:\n";
    report += FormatString("  ResultType 3 -> %s\n", ResultTypeToString(ResultTypeUnhandledException));
    report += FormatString("  \"fail\" -> ResultType %d\n", ResultTypeFromString("fail"));
    report += FormatString("  RelationType 15 -> %s\n", RelationTypeToString(RelationTypeCoPlanar));
    report += FormatString("  \"StepFaceOnSmoothEdges\" -> StepFaceType %d\n",
                           StepFaceTypeFromString("StepFaceOnSmoothEdges"));
    report += FormatString("  kernel class 5004 -> %s\n", KernelClassToString(5004));

    std::cout << report;
    const std::string path = std::string(argv[1]) + "/value-types.txt";
    std::ofstream out(path);
    out << report;
    if (!out) {
        std::cerr << "could not write " << path << "\n";
        return 1;
    }
    std::cout << "Wrote " << path << "\n";
    return 0;
}
