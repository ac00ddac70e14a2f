#include "core/maths/Xform.h"

#include "core/maths/Tolerance.h"

void Xform::SetIdentity()
{
    rotation.SetIdentity();
    translation = Vec();
}

void Xform::SetFrom4x4(const double (*matrix)[4])
{
    rotation.SetFrom4x4(matrix);
    translation = Vec(matrix[0][3], matrix[1][3], matrix[2][3]);
}

void Xform::Get4x4(double (*matrix)[4]) const
{
    rotation.Get4x4(matrix);
    matrix[0][3] = translation.x;
    matrix[1][3] = translation.y;
    matrix[2][3] = translation.z;
    matrix[3][0] = 0.0;
    matrix[3][1] = 0.0;
    matrix[3][2] = 0.0;
    matrix[3][3] = 1.0;
}

QEL::Double4x4 Xform::GetDouble4x4() const
{
    QEL::Double4x4 matrix;
    Get4x4(matrix.m);
    return matrix;
}

void Xform::SetToTranslation(const Vec& v)
{
    rotation.SetIdentity();
    translation = v;
}

void Xform::SetRotationAboutAxis(const Vec& point, const Vec& direction, double sine, double cosine)
{
    rotation.SetReverseRotation(direction, sine, cosine);
    translation = point - RotateVec(rotation, point);
}

void Xform::TransformPoint(Vec& p) const { p = RotateVec(rotation, p) + translation; }

void Xform::TransformPoint(double* xyz) const
{
    Vec p(xyz[0], xyz[1], xyz[2]);
    TransformPoint(p);
    xyz[0] = p.x;
    xyz[1] = p.y;
    xyz[2] = p.z;
}

Xform Xform::GetInverse() const
{
    Xform inverse;
    inverse.rotation = rotation.GetInverse();
    inverse.translation = -RotateVec(inverse.rotation, translation);
    return inverse;
}

bool Xform::IsTranslationZero() const
{
    return translation.SquaredLength() < s_linearToleranceSquared;
}

bool Xform::IsIdentity() const { return rotation.IsIdentity(false) && IsTranslationZero(); }

bool Xform::IsEqual(const Xform& other) const
{
    const Xform relative = MultiplyXforms(other, GetInverse());
    return relative.rotation.IsIdentity(false) && relative.IsTranslationZero();
}

bool Xform::IsClose(const Xform& other, double distanceTolerance, double angleTolerance) const
{
    if (!rotation.IsClose(other.rotation, angleTolerance))
        return false;
    return MultiplyXforms(GetInverse(), other).translation.Length() < distanceTolerance;
}

Xform MultiplyXforms(const Xform& a, const Xform& b)
{
    Xform product;
    product.rotation = MultiplyRotations(a.rotation, b.rotation);
    product.translation = RotateVec(a.rotation, b.translation) + a.translation;
    return product;
}

bool AreXformsEqual(const Xform& a, const Xform& b) { return a.IsEqual(b); }

const Xform& GetIdentityXform()
{
    static const Xform identity;
    return identity;
}
