// Fixture bodies for tests and examples: exact analytic shapes wrapped as kernel bodies in the
// current partition. Each builder returns the body tag, or 0 when no session runs.
#pragma once

namespace brennik {
namespace build {

// Box [0,dx]x[0,dy]x[0,dz].
int Block(double dx = 10.0, double dy = 20.0, double dz = 30.0);
// An L-shaped prism.
int LPrism();
// A block with one blended edge.
int BlockWithBlend(double radius = 2.0);
// A block with a chain of three tangent blends of one radius.
int BlockWithBlendChain(double radius = 2.0);
// A block with two blend chains of radii r1 and r2.
int BlockWithTwoBlends(double r1, double r2);
// A block with two opposite, parallel edges blended with radii r1 and r2: blends that do not meet.
int BlockWithOppositeBlends(double r1, double r2);
// A block whose corner is blended (three edge blends and a corner patch).
int BlockWithBlendedCorner(double radius = 2.0);
// The block with one blended edge whose blend face lies on a blend surface, as the kernel keeps
// a rolling-ball blend it has not made analytic.
int BlockWithBlendSurface(double radius = 2.0);
// A block whose first vertex has no point, as the kernel leaves a vertex no point was given.
int BlockWithPointlessVertex();
// A hollow box with walls of the given thickness.
int ThinWalledBox(double wall = 1.0);
// Coaxial cylinders, a cone, a torus fillet and a sphere cap.
int TurnedPart();
// A tube: coaxial cylinders of radii 20 and 20 - wall about the z axis, 30 long.
int ThinWalledTube(double wall = 1.0);
// A plate with two symmetric holes of unequal radius, a counterbore and a boss.
int PlateWithHoles();
// A plate with a rectangular and a circular hole pattern.
int PlateWithHolePatterns();
// A plate with `count` through holes.
int PlateWithManyHoles(int count);
// A sheet body.
int Sheet();
// A sheet body of one planar face: a square of side 2 half centred at the point, on the plane
// through it with the given normal.
int PlanarSheet(double x, double y, double z, double nx, double ny, double nz, double half = 50.0);

// Free (orphan) geometry in the current partition.
int FreePoint(double x, double y, double z);
int FreeLine(double x, double y, double z, double dx, double dy, double dz);
int FreePlane(double x, double y, double z, double nx, double ny, double nz);

// The volume a solid body encloses (0 for a tag that names no body): what a test or
// an example measures a body's change by.
double Volume(int body);

}  // namespace build
}  // namespace brennik
