#include "core/maths/LinesAndPlanes.h"

#include "core/maths/Tolerance.h"

#include <cmath>

Vec ProjectPointOnLine(const Vec& p, const Vec& linePoint, const Dir& lineDirection)
{
    return linePoint + lineDirection * Dot(p - linePoint, lineDirection);
}

double GetPointLineDistance(const Vec& p, const Vec& linePoint, const Dir& lineDirection)
{
    return (p - ProjectPointOnLine(p, linePoint, lineDirection)).Length();
}

bool IsPointOnLine(const Vec& p, const Vec& linePoint, const Dir& lineDirection)
{
    return ArePointsCoincident(ProjectPointOnLine(p, linePoint, lineDirection), p);
}

bool AreLinesCoincident(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2)
{
    return AreParallel(d1, d2) && IsPointOnLine(p1, p2, d2);
}

bool GetClosestPointsOfLines(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2,
                             Vec* closest1, Vec* closest2)
{
    if (AreParallel(d1, d2)) {
        if (closest1)
            *closest1 = p1;
        if (closest2)
            *closest2 = ProjectPointOnLine(p1, p2, d2);
        return false;
    }
    if (!closest1 && !closest2)
        return true;
    const Vec h = Cross(d1, d2);
    const Vec w = p1 - p2;
    const double h2 = h.SquaredLength();
    if (closest1)
        *closest1 = p1 + d1 * (Dot(Cross(h, d2), w) / h2);
    if (closest2)
        *closest2 = p2 + d2 * (Dot(Cross(h, d1), w) / h2);
    return true;
}

double GetLineLineDistance(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2)
{
    Vec c1, c2;
    GetClosestPointsOfLines(p1, d1, p2, d2, &c1, &c2);
    return (c1 - c2).Length();
}

bool AreLinesIntersecting(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2)
{
    return IsNearlyZero(GetLineLineDistance(p1, d1, p2, d2));
}

Vec ProjectPointOnPlane(const Vec& p, const Vec& planePoint, const Dir& planeNormal)
{
    return p - planeNormal * Dot(p - planePoint, planeNormal);
}

double GetPointPlaneDistance(const Vec& p, const Vec& planePoint, const Dir& planeNormal)
{
    return (p - ProjectPointOnPlane(p, planePoint, planeNormal)).Length();
}

bool IsPointOnPlane(const Vec& p, const Vec& planePoint, const Dir& planeNormal)
{
    return ArePointsCoincident(ProjectPointOnPlane(p, planePoint, planeNormal), p);
}

bool ArePlanesCoincident(const Vec& p1, const Dir& n1, const Vec& p2, const Dir& n2)
{
    return AreParallel(n1, n2) && IsPointOnPlane(p1, p2, n2);
}

bool IntersectPlanes(const Vec& p1, const Dir& n1, const Vec& p2, const Dir& n2, Vec* point,
                     Dir* direction)
{
    // ((n1 + n2) × (n2 - n1)) / 2 is n1 × n2.
    const Vec c = Cross(n1 + n2, n2 - n1) * 0.5;
    if (c.SquaredLength() < s_angularToleranceSquared)
        return false;
    const double e1 = Dot(p1, n1), e2 = Dot(p2, n2);
    // The largest component of c is the axis the line crosses best; ties go to the later axis.
    int pivot = 0;
    if (std::fabs(c.y) >= std::fabs(c.x))
        pivot = 1;
    if (std::fabs(c.z) >= std::fabs(pivot == 0 ? c.x : c.y))
        pivot = 2;
    if (point) {
        if (pivot == 0)
            *point = Vec(0.0, (e1 * n2.z - n1.z * e2) / c.x, (n1.y * e2 - e1 * n2.y) / c.x);
        else if (pivot == 1)
            *point = Vec((n1.z * e2 - e1 * n2.z) / c.y, 0.0, (e1 * n2.x - n1.x * e2) / c.y);
        else
            *point = Vec((e1 * n2.y - n1.y * e2) / c.z, (n1.x * e2 - e1 * n2.x) / c.z, 0.0);
    }
    if (direction)
        *direction = MakeDir(c);
    return true;
}

bool IntersectLinePlane(const Vec& linePoint, const Dir& lineDirection, const Vec& planePoint,
                        const Dir& planeNormal, Vec* point)
{
    const double along = Dot(planeNormal, lineDirection);
    if (-s_angularTolerance < along && along < s_angularTolerance)
        return false;
    if (point)
        *point = linePoint + lineDirection * (Dot(planePoint - linePoint, planeNormal) / along);
    return true;
}
