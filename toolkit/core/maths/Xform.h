#pragma once
// Rigid transforms: a rotation followed by a translation, mapping p to R·p + t.

#include "core/maths/Dir.h"
#include "core/maths/Double4x4.h"
#include "core/maths/RotationMatrix.h"
#include "core/maths/Vec.h"

class Xform {
public:
    // Identity rotation, zero translation.
    Xform() = default;
    Xform(const Xform& other) = default;
    Xform& operator=(const Xform& other) = default;
    // Rotation from the upper-left 3x3, translation from column 3; the bottom row is ignored.
    explicit Xform(const double (*matrix)[4]) { SetFrom4x4(matrix); }
    explicit Xform(const QEL::Double4x4& matrix) { SetFrom4x4(matrix.m); }
    // The kernel transform's matrix, read as by SetFrom4x4; the identity when the tag names no
    // transform the kernel can describe.
    explicit Xform(int kernelTransform);

    void SetIdentity();
    void SetFrom4x4(const double (*matrix)[4]);
    // Rotation, translation column and bottom row (0, 0, 0, 1).
    void Get4x4(double (*matrix)[4]) const;
    QEL::Double4x4 GetDouble4x4() const;
    // A new kernel transform of this matrix; its tag, or 0 when the kernel made none.
    int CreateKernelTransf() const;

    // Identity rotation, translation v.
    void SetToTranslation(const Vec& v);
    // The right-handed rotation by the angle of sine and cosine about the axis through point
    // with the given direction; the axis stays fixed.
    void SetRotationAboutAxis(const Vec& point, const Vec& direction, double sine, double cosine);
    // Replaces p by R·p + t.
    void TransformPoint(Vec& p) const;
    void TransformPoint(double* xyz) const;

    // Rotation R⁻¹, translation -(R⁻¹·t).
    Xform GetInverse() const;
    // Squared length of the translation below 1e-16.
    bool IsTranslationZero() const;
    bool IsIdentity() const;
    // The relative transform other∘this⁻¹ is the identity within the tolerances.
    bool IsEqual(const Xform& other) const;
    bool operator==(const Xform& other) const { return IsEqual(other); }
    // The rotations are close within angleTolerance and the translation of this⁻¹∘other is
    // shorter than distanceTolerance.
    bool IsClose(const Xform& other, double distanceTolerance, double angleTolerance) const;

    RotationMatrix rotation;
    Vec translation;
};

// The composition a∘b: apply b, then a.
Xform MultiplyXforms(const Xform& a, const Xform& b);
bool AreXformsEqual(const Xform& a, const Xform& b);
// The shared identity transform.
const Xform& GetIdentityXform();
