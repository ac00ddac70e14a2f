#pragma once
// The 3x3 rotation part of a transform, stored row by row (entry (i, j) at 3i + j) and applied
// to column vectors.

#include "core/maths/Dir.h"
#include "core/maths/Vec.h"

class RotationMatrix {
public:
    // The identity.
    RotationMatrix() { SetIdentity(); }

    void SetIdentity();
    // Copies the upper-left 3x3 of a 4x4 matrix in, or out (the other entries untouched).
    void SetFrom4x4(const double (*matrix)[4]);
    void Get4x4(double (*matrix)[4]) const;
    // The right-handed rotation about the axis (taken as given, not normalised) by the angle of
    // sine and cosine, which are normalised as a pair first.
    void SetReverseRotation(const Vec& axis, double sine, double cosine);
    // The general 3x3 inverse (cofactors over the determinant); a singular matrix inverts to
    // non-finite entries.
    RotationMatrix GetInverse() const;
    // Off-diagonal entries zero within 1e-11 (2.22e-15 when tight) and no negative diagonal
    // entry, which rejects half turns.
    bool IsIdentity(bool tight) const;
    // Axis, sine (never negative) and cosine of the rotation. A rotation built from an axis k
    // with a positive sine gives -k; no rotation gives axis (0, 0, 1), sine 0, cosine 1.
    void GetAngleAxis(Dir& axis, double& sine, double& cosine) const;
    // The rotation from this to other has a sine below the tolerance and a positive cosine.
    bool IsClose(const RotationMatrix& other, double angleTolerance) const;

    double& operator()(int row, int column) { return m[3 * row + column]; }
    double operator()(int row, int column) const { return m[3 * row + column]; }

    double m[9];
};

// The product a·b.
RotationMatrix MultiplyRotations(const RotationMatrix& a, const RotationMatrix& b);
// R·v.
Vec RotateVec(const RotationMatrix& rotation, const Vec& v);
// R·d, normalised.
Dir RotateDir(const RotationMatrix& rotation, const Dir& d);
