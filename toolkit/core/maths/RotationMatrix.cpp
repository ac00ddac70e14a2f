#include "core/maths/RotationMatrix.h"

#include "core/maths/Tolerance.h"

#include <cmath>

namespace {

// Ten times the double epsilon: below it a sine is rounding noise.
constexpr double kTightTolerance = 2.220446049250313e-15;

}  // namespace

void RotationMatrix::SetIdentity()
{
    for (int i = 0; i < 9; ++i)
        m[i] = i % 4 == 0 ? 1.0 : 0.0;
}

void RotationMatrix::SetFrom4x4(const double (*matrix)[4])
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            (*this)(i, j) = matrix[i][j];
}

void RotationMatrix::Get4x4(double (*matrix)[4]) const
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            matrix[i][j] = (*this)(i, j);
}

void RotationMatrix::SetReverseRotation(const Vec& axis, double sine, double cosine)
{
    const double scale = std::sqrt(sine * sine + cosine * cosine);
    if (scale == 0.0) {
        // No angle at all: the identity rather than a matrix of non-finite entries.
        SetIdentity();
        return;
    }
    const double s = sine / scale, c = cosine / scale, u = 1.0 - c;
    const double x = axis.x, y = axis.y, z = axis.z;
    m[0] = x * x * u + c;
    m[1] = x * y * u - z * s;
    m[2] = x * z * u + y * s;
    m[3] = x * y * u + z * s;
    m[4] = y * y * u + c;
    m[5] = y * z * u - x * s;
    m[6] = x * z * u - y * s;
    m[7] = y * z * u + x * s;
    m[8] = z * z * u + c;
}

RotationMatrix RotationMatrix::GetInverse() const
{
    const RotationMatrix& a = *this;
    RotationMatrix inverse;
    inverse(0, 0) = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    inverse(0, 1) = a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2);
    inverse(0, 2) = a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1);
    inverse(1, 0) = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    inverse(1, 1) = a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0);
    inverse(1, 2) = a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2);
    inverse(2, 0) = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    inverse(2, 1) = a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1);
    inverse(2, 2) = a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0);
    const double determinant =
        a(0, 0) * inverse(0, 0) + a(0, 1) * inverse(1, 0) + a(0, 2) * inverse(2, 0);
    for (double& entry : inverse.m)
        entry /= determinant;
    return inverse;
}

bool RotationMatrix::IsIdentity(bool tight) const
{
    const double tolerance = tight ? kTightTolerance : s_angularTolerance;
    const double q = tolerance * tolerance;
    const RotationMatrix& a = *this;
    const double upper = a(0, 1) * a(0, 1) + a(1, 2) * a(1, 2) + a(2, 0) * a(2, 0);
    const double lower = a(0, 2) * a(0, 2) + a(1, 0) * a(1, 0) + a(2, 1) * a(2, 1);
    return upper <= q && lower <= q && a(0, 0) >= 0.0 && a(1, 1) >= 0.0 && a(2, 2) >= 0.0;
}

void RotationMatrix::GetAngleAxis(Dir& axis, double& sine, double& cosine) const
{
    const RotationMatrix& r = *this;
    cosine = (r(0, 0) + r(1, 1) + r(2, 2)) * 0.5 - 0.5;
    const Vec w(r(1, 2) - r(2, 1), r(2, 0) - r(0, 2), r(0, 1) - r(1, 0));
    sine = NormalizeVec(w, axis) * 0.5;

    if (sine < 0.001 && cosine < 0.0) {
        // Near a half turn w vanishes; the axis comes from the diagonal instead, with its sign
        // taken from w while w still carries one.
        const double u = 1.0 - cosine;
        auto root = [&](double diagonal) {
            const double q = (diagonal - cosine) / u;
            return q > 0.0 ? std::sqrt(q) : 0.0;
        };
        double a = root(r(0, 0)), b = root(r(1, 1)), e = root(r(2, 2));
        double pivotW;
        if (a - b > s_angularTolerance && a - e > s_angularTolerance) {
            const double g2u = 2.0 * a * u;
            b = (r(1, 0) + r(0, 1)) / g2u;
            e = (r(2, 0) + r(0, 2)) / g2u;
            pivotW = w.x;
        } else if (b - e <= s_angularTolerance) {
            const double g2u = 2.0 * e * u;
            a = (r(2, 0) + r(0, 2)) / g2u;
            b = (r(1, 2) + r(2, 1)) / g2u;
            pivotW = w.z;
        } else {
            const double g2u = 2.0 * b * u;
            a = (r(1, 0) + r(0, 1)) / g2u;
            e = (r(1, 2) + r(2, 1)) / g2u;
            pivotW = w.y;
        }
        if (sine >= kTightTolerance) {
            if (pivotW < 0.0) {
                a = -a;
                b = -b;
                e = -e;
            }
        } else {
            sine = 0.0;
            cosine = -1.0;
        }
        NormalizeVec(Vec(a, b, e), axis);
    } else if (sine < kTightTolerance && cosine > 0.0) {
        sine = 0.0;
        cosine = 1.0;
        axis = GetZAxis();
    }
}

bool RotationMatrix::IsClose(const RotationMatrix& other, double angleTolerance) const
{
    Dir axis;
    double sine = 0.0, cosine = 1.0;
    MultiplyRotations(GetInverse(), other).GetAngleAxis(axis, sine, cosine);
    return sine < angleTolerance && cosine > 0.0;
}

RotationMatrix MultiplyRotations(const RotationMatrix& a, const RotationMatrix& b)
{
    RotationMatrix product;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            product(i, j) = a(i, 0) * b(0, j) + a(i, 1) * b(1, j) + a(i, 2) * b(2, j);
    return product;
}

Vec RotateVec(const RotationMatrix& r, const Vec& v)
{
    return Vec(r(0, 0) * v.x + r(0, 1) * v.y + r(0, 2) * v.z,
               r(1, 0) * v.x + r(1, 1) * v.y + r(1, 2) * v.z,
               r(2, 0) * v.x + r(2, 1) * v.y + r(2, 2) * v.z);
}

Dir RotateDir(const RotationMatrix& rotation, const Dir& d)
{
    return MakeDir(RotateVec(rotation, d));
}
