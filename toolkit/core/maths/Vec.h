#pragma once
// Three-component vectors and points of the toolkit's geometric decisions.

struct Vec {
    Vec() : x(0.0), y(0.0), z(0.0) {}
    Vec(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}

    double SquaredLength() const { return x * x + y * y + z * z; }
    double Length() const;

    double x;
    double y;
    double z;
};

inline Vec operator+(const Vec& a, const Vec& b) { return Vec(a.x + b.x, a.y + b.y, a.z + b.z); }
inline Vec operator-(const Vec& a, const Vec& b) { return Vec(a.x - b.x, a.y - b.y, a.z - b.z); }
inline Vec operator-(const Vec& a) { return Vec(-a.x, -a.y, -a.z); }
inline Vec operator*(const Vec& a, double s) { return Vec(a.x * s, a.y * s, a.z * s); }
inline double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec Cross(const Vec& a, const Vec& b)
{
    return Vec(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// Squared distance at most 1e-16.
bool ArePointsCoincident(const Vec& p, const Vec& q);

// The shared zero vector.
const Vec& GetZeroVector();
