// What an application does with the toolkit's exported value types: places a unit cube's
// corners with a 4x4 matrix of its own, keeps them in an Array of Position, finds them again
// within the linear tolerance, edits the array and names a few enumeration values. Prints the
// report and writes it to value-types.txt in the output folder given as the only argument.

#include "core/frame/Array.h"
#include "core/maths/Double4x4.h"
#include "core/enums/EnumNames.h"
#include "core/maths/Position.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

using namespace QEL;

namespace {

std::string Format(const char* format, double a, double b, double c)
{
    char text[128];
    // Adding 0.0 turns a negative zero into a plain one.
    std::snprintf(text, sizeof text, format, a + 0.0, b + 0.0, c + 0.0);
    return text;
}

std::string Describe(const Position& p)
{
    return Format("(%.6f, %.6f, %.6f)", p.x, p.y, p.z);
}

std::string DescribeMatrix(const Double4x4& m)
{
    std::string text;
    for (const auto& row : m.m) {
        char line[96];
        std::snprintf(line, sizeof line, "    [%9.6f %9.6f %9.6f %9.6f]\n", row[0] + 0.0, row[1] + 0.0,
                      row[2] + 0.0, row[3] + 0.0);
        text += line;
    }
    return text;
}

Position Apply(const Double4x4& t, const Position& p)
{
    const double in[3] = {p.x, p.y, p.z};
    double out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = t.m[i][0] * in[0] + t.m[i][1] * in[1] + t.m[i][2] * in[2] + t.m[i][3];
    return Position(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: value_types_example <output folder>\n";
        return 2;
    }
    std::string report;
    report += "Value types of the toolkit\n\n";

    // A quarter turn about the vertical axis through (1, 1, 0), then a lift by 5 along z.
    const double rows[4][4] = {{0, -1, 0, 2}, {1, 0, 0, 0}, {0, 0, 1, 5}, {0, 0, 0, 1}};
    const Double4x4 placement(rows);
    report += "Placement as a 4x4 matrix (turn 90 deg about z through (1, 1, 0), then lift 5):\n";
    report += DescribeMatrix(placement);
    report += std::string("A copy compares equal: ") + (Double4x4(placement) == placement ? "yes" : "no");
    report += std::string(", the identity does not: ") + (Double4x4() == placement ? "no" : "yes") + "\n\n";

    Array<Position> corners;
    for (int i = 0; i < 8; ++i)
        corners.Add(Position(i & 1, (i >> 1) & 1, (i >> 2) & 1));
    Array<Position> placed;
    report += "Cube corners placed:\n";
    for (int i = 0; i < corners.GetSize(); ++i) {
        placed.Add(Apply(placement, corners[i]));
        report += "  " + Describe(corners[i]) + " -> " + Describe(placed[i]) + "\n";
    }

    // Positions compare within the linear tolerance.
    const Position near(2.0 + 0.5e-8, 0.0, 5.0);
    const Position far(2.0 + 2e-8, 0.0, 5.0);
    report += "Corner (2, 0, 5) moved by 0.5e-8 is found at index " + std::to_string(placed.Find(near)) +
              ", moved by 2e-8 at index " + std::to_string(placed.Find(far)) + "\n";
    placed.RemoveAt(0);
    placed.InsertAt(3, Position(-1, -1, -1));
    report += "After removing the first and inserting at 3: " + std::to_string(placed.GetSize()) +
              " positions, index 3 is " + Describe(placed[3]) + "\n\n";

    report += "Enumeration names:\n";
    report += std::string("  ResultType 3 -> ") + ResultTypeToString(ResultTypeUnhandledException) + "\n";
    report += std::string("  RelationType 15 -> ") + RelationTypeToString(RelationTypeCoPlanar) + "\n";
    report += std::string("  UpdateStatus 0 -> ") + UpdateStatusToString(static_cast<UpdateStatus>(0)) + "\n";

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
