#pragma once
// One tipping point: a point entity that must stay on a face while the faces around it turn.
// The Solver keeps in it the geometry and bond it made for the point, so that they can be
// taken out again when the configure releases the point.

namespace QEL {

class Bond;
class GeometryBase;

class TippingPointData {
public:
    TippingPointData() = default;
    TippingPointData(int point, int face, bool makeGeometry)
        : m_point(point), m_face(face), m_makeGeometry(makeGeometry)
    {
    }

    int GetPoint() const { return m_point; }
    int GetFace() const { return m_face; }
    bool GetMakeGeometry() const { return m_makeGeometry; }
    Bond* GetBond() const { return m_bond; }
    void SetBond(Bond* bond) { m_bond = bond; }
    GeometryBase* GetGeometry() const { return m_geometry; }
    void SetGeometry(GeometryBase* geometry) { m_geometry = geometry; }

private:
    int m_point = 0;
    int m_face = 0;
    bool m_makeGeometry = false;
    Bond* m_bond = nullptr;
    GeometryBase* m_geometry = nullptr;
};

}  // namespace QEL
