#pragma once
// Constructions on points, lines (a point and a unit direction) and planes (a point and a unit
// normal). Directions are taken as unit; nothing here normalises them.

#include "core/maths/Dir.h"
#include "core/maths/Vec.h"

// Foot of the perpendicular from p on the line.
Vec ProjectPointOnLine(const Vec& p, const Vec& linePoint, const Dir& lineDirection);
double GetPointLineDistance(const Vec& p, const Vec& linePoint, const Dir& lineDirection);
bool IsPointOnLine(const Vec& p, const Vec& linePoint, const Dir& lineDirection);
bool AreLinesCoincident(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2);
// The closest points of two lines into the outputs that are given. Parallel lines give false,
// with p1 and its projection on line 2.
bool GetClosestPointsOfLines(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2,
                             Vec* closest1, Vec* closest2);
double GetLineLineDistance(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2);
bool AreLinesIntersecting(const Vec& p1, const Dir& d1, const Vec& p2, const Dir& d2);

// Orthogonal projection of p on the plane.
Vec ProjectPointOnPlane(const Vec& p, const Vec& planePoint, const Dir& planeNormal);
// Never negative.
double GetPointPlaneDistance(const Vec& p, const Vec& planePoint, const Dir& planeNormal);
bool IsPointOnPlane(const Vec& p, const Vec& planePoint, const Dir& planeNormal);
bool ArePlanesCoincident(const Vec& p1, const Dir& n1, const Vec& p2, const Dir& n2);
// The line where two planes meet, along n1 × n2; false for parallel planes, outputs untouched.
// Either output may be null.
bool IntersectPlanes(const Vec& p1, const Dir& n1, const Vec& p2, const Dir& n2, Vec* point,
                     Dir* direction);
// The point where the line meets the plane into the optional output; false when the line is
// parallel to the plane, output untouched.
bool IntersectLinePlane(const Vec& linePoint, const Dir& lineDirection, const Vec& planePoint,
                        const Dir& planeNormal, Vec* point);
