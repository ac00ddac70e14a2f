// The equations of every dimension type and geometry combination the system supports.
#pragma once

#include "Geometry.h"

#include <functional>
#include <vector>

namespace tessik {

// Collects residual components; angular ones are judged against the angular tolerance.
class Sink {
public:
    Sink(std::vector<double>& values, std::vector<char>& angular) : m_values(values), m_angular(angular) {}
    void Len(double v) { Add(v, false); }
    void Ang(double v) { Add(v, true); }
    void LenVec(const Vec3& v) { Len(v.x()), Len(v.y()), Len(v.z()); }
    void AngVec(const Vec3& v) { Ang(v.x()), Ang(v.y()), Ang(v.z()); }

private:
    void Add(double v, bool angular)
    {
        m_values.push_back(v);
        m_angular.push_back(angular ? 1 : 0);
    }
    std::vector<double>& m_values;
    std::vector<char>& m_angular;
};

struct DimensionSpec {
    int type = 0;                 // ZMR3_d_type
    int count = 2;                // geometries passed to the equations
    double value = 0.0;
    int halfSpace[2] = {0, 0};    // ZMR3_half_space of the first two geometries
    int radiusKind[2] = {ZMR3_MAJOR_RADIUS, ZMR3_MAJOR_RADIUS};
    bool fixedDirection = false;  // directed distance along a given direction
    Vec3 direction = Vec3::Zero();
    bool directionGeom = false;   // directed distance along the direction of geometry 2
    bool anglePlane = false;      // angle measured about the normal of geometry 2
};

using GeomEquations = std::function<void(const Geom* g, Sink& sink)>;
using GeomMeasure = std::function<double(const Geom* g)>;

// A dimension's equations: the structure that always holds (a distance's implied
// parallelism, a coincidence) and, for valued types, the measure that must equal the value.
struct DimensionEquations {
    bool supported = false;
    GeomEquations structure;
    GeomMeasure measure;   // null for types without a value
    bool angular = false;  // the measure is an angle
    bool wrapped = false;  // the measure is an angle modulo 2 pi
    bool signedValue = false;  // a negative value is a distance on the other side of a named side
};

// Branches are taken from the start geometry.
DimensionEquations BuildDimension(const DimensionSpec& spec, const Geom* start);

// b equals target, senses included; shape ties the radii and half angle too.
bool CanMatch(const Geom& a, const Geom& b);
void MatchEquations(const Geom& b, const Geom& target, bool shape, Sink& sink);

}  // namespace tessik
