#include "solver/Bonds.h"

#include "core/enums/EnumNames.h"
#include "core/support/TextUtils.h"
#include "solver/Solver.h"

#include <algorithm>
#include <cmath>

namespace QEL {

// ---- Bond ------------------------------------------------------------------------------------

Bond::Bond(Solver* solver, const std::vector<GeometryBase*>& geometries)
    : Node(solver), m_geometries(geometries)
{
}

GeometryBase* Bond::GetGeom(int index) const
{
    return index >= 0 && index < GetGeomCount() ? m_geometries[static_cast<size_t>(index)]
                                                : nullptr;
}

int Bond::GetGeoms(std::vector<GeometryBase*>* geometries) const
{
    if (geometries)
        *geometries = m_geometries;
    return GetGeomCount();
}

void Bond::AddGeometries()
{
    for (GeometryBase* geometry : m_geometries)
        if (geometry)
            geometry->AddToZMR();
}

void Bond::RemoveDNode()
{
    if (!m_handle)
        return;
    System()->erase(static_cast<d_node*>(m_handle));
    m_handle = nullptr;
}

int Bond::DNodeStatus() { return m_handle ? System()->status(static_cast<d_node*>(m_handle)) : 0; }

// ---- TypedBond --------------------------------------------------------------------------------

TypedBond::TypedBond(Solver* solver, ZMR3_d_type type, const std::vector<GeometryBase*>& geometries,
                     double value, void* existing)
    : Bond(solver, geometries), m_type(type), m_value(value)
{
    if (type == ZMR3_EQUAL_RADIUS)
        m_equalRadiusMinor.assign(geometries.size(), false);
    if (existing) {
        m_handle = existing;
        if (IsRNodeType())
            System()->set_application_pointer(static_cast<r_node*>(existing), this);
        else
            System()->set_application_pointer(static_cast<d_node*>(existing), this);
    }
}

TypedBond* TypedBond::CreateTypedBond(Solver* solver, ZMR3_d_type type,
                                      const std::vector<GeometryBase*>& geometries, double value,
                                      void* existing)
{
    return new TypedBond(solver, type, geometries, value, existing);
}

TypedBond* TypedBond::CreateBinary(Solver* solver, ZMR3_d_type type, GeometryBase* first,
                                   GeometryBase* second, double value)
{
    return CreateTypedBond(solver, type, {first, second}, value, nullptr);
}

bool TypedBond::IsRNodeType() const
{
    return m_type == ZMR3_RADIUS || m_type == ZMR3_MAJOR_RADIUS || m_type == ZMR3_MINOR_RADIUS ||
           m_type == ZMR3_HALF_ANGLE;
}

void TypedBond::AddToZMR()
{
    if (m_handle)
        return;
    AddGeometries();
    if (m_solver->GetDelayAddDCalls())
        return;
    auto node = [this](int i) { return m_geometries[static_cast<size_t>(i)]->GetGNode(); };
    switch (m_geometries.size()) {
        case 1:
            m_handle = System()->add_r(this, node(0));
            break;
        case 2:
            m_handle = System()->add_d(this, node(0), node(1));
            break;
        case 3:
            if (m_type == ZMR3_DISTANCE || m_type == ZMR3_ANGLE)
                m_handle = System()->add_d(this, node(0), node(1));
            else if (m_type == ZMR3_SYMMETRIC)
                m_handle = System()->add_d(this, node(0), node(1), node(2));
            break;
        default:
            break;
    }
}

void TypedBond::RemoveFromZMR()
{
    if (!m_handle)
        return;
    if (IsRNodeType())
        System()->erase(static_cast<r_node*>(m_handle));
    else
        System()->erase(static_cast<d_node*>(m_handle));
    m_handle = nullptr;
}

int TypedBond::GetStatus()
{
    if (!m_handle)
        return 0;
    return IsRNodeType() ? System()->status(static_cast<r_node*>(m_handle))
                         : System()->status(static_cast<d_node*>(m_handle));
}

std::string TypedBond::ToString()
{
    std::string text = DTypeToString(m_type);
    switch (m_type) {
        case ZMR3_DISTANCE:
        case ZMR3_ANGLE:
        case ZMR3_HALF_ANGLE:
        case ZMR3_RADIUS:
        case ZMR3_MAJOR_RADIUS:
        case ZMR3_MINOR_RADIUS:
        case ZMR3_CURVE_LENGTH:
            text += FormatString(" %g", m_value);
            break;
        default:
            break;
    }
    return FormatString("%-30s", text.c_str());
}

bool TypedBond::SetValue(double value) { return m_value = value, true; }
bool TypedBond::GetType(ZMR3_d_type& type) { return type = m_type, true; }
bool TypedBond::GetValue(double& value) { return value = m_value, true; }
bool TypedBond::SetRigid(bool rigid) { return m_rigid = rigid, true; }
bool TypedBond::GetRigid(bool& rigid) { return rigid = m_rigid, true; }

int TypedBond::IndexOf(GeometryBase* geometry) const
{
    const auto it = std::find(m_geometries.begin(), m_geometries.end(), geometry);
    return it == m_geometries.end() ? -1 : static_cast<int>(it - m_geometries.begin());
}

bool TypedBond::SetHalfSpaceForGeom(int index, ZMR3_half_space halfSpace)
{
    if (index < 0 || index >= GetGeomCount())
        return false;
    if (m_halfSpaces.empty())
        m_halfSpaces.assign(m_geometries.size(), ZMR3_HALF_SPACE_NONE);
    m_halfSpaces[static_cast<size_t>(index)] = halfSpace;
    return true;
}

bool TypedBond::GetHalfSpaceForGeom(int index, ZMR3_half_space& halfSpace) const
{
    halfSpace = ZMR3_HALF_SPACE_NONE;
    if (index < 0 || index >= GetGeomCount())
        return false;
    if (!m_halfSpaces.empty())
        halfSpace = m_halfSpaces[static_cast<size_t>(index)];
    return true;
}

bool TypedBond::GetHalfSpaceForGeom(GeometryBase* geometry, ZMR3_half_space& halfSpace) const
{
    halfSpace = ZMR3_HALF_SPACE_NONE;
    const int index = IndexOf(geometry);
    return index >= 0 && GetHalfSpaceForGeom(index, halfSpace);
}

bool TypedBond::SetEqualRadiusMinorRadiusForGeom(int index)
{
    if (index < 0 || index >= static_cast<int>(m_equalRadiusMinor.size()))
        return false;
    m_equalRadiusMinor[static_cast<size_t>(index)] = true;
    return true;
}

bool TypedBond::GetEqualRadiusMinorRadiusForGeom(int index) const
{
    return index >= 0 && index < static_cast<int>(m_equalRadiusMinor.size()) &&
           m_equalRadiusMinor[static_cast<size_t>(index)];
}

bool TypedBond::GetEqualRadiusMinorRadiusForGeom(GeometryBase* geometry) const
{
    return GetEqualRadiusMinorRadiusForGeom(IndexOf(geometry));
}

// ---- DirectedDistanceBond and PlanarAngleBond ----------------------------------------------

DirectedDistanceBond* DirectedDistanceBond::CreateDirectedDistanceBond(
    Solver* solver, ZMR3_d_type type, const std::vector<GeometryBase*>& geometries, double value)
{
    return new DirectedDistanceBond(solver, type, geometries, value, nullptr);
}

bool DirectedDistanceBond::GetDirection(double direction[3]) const
{
    if (!m_hasDirection)
        return false;
    std::copy(m_direction, m_direction + 3, direction);
    return true;
}

void DirectedDistanceBond::SetDirection(const double direction[3])
{
    std::copy(direction, direction + 3, m_direction);
    m_hasDirection = true;
}

GeometryBase* DirectedDistanceBond::GetDirectionGeom() const
{
    return GetGeomCount() == 3 ? m_geometries[2] : nullptr;
}

PlanarAngleBond* PlanarAngleBond::CreatePlanarAngleBond(
    Solver* solver, ZMR3_d_type type, const std::vector<GeometryBase*>& geometries, double value,
    void* existing)
{
    return new PlanarAngleBond(solver, type, geometries, value, existing);
}

GeometryBase* PlanarAngleBond::GetPlaneGeom() const
{
    return GetGeomCount() == 3 ? m_geometries[2] : nullptr;
}

double PlanarAngleBond::MeasureAngle(const std::vector<GeometryBase*>& geometries)
{
    Dir d0, d1, n;
    if (geometries.size() < 3 || !geometries[0] || !geometries[1] || !geometries[2])
        return 0.0;
    auto take = [](GeometryBase* g, Dir& d) {
        return g->GetNormal(d) || g->GetDirection(d) || g->GetAxis(d);
    };
    if (!take(geometries[0], d0) || !take(geometries[1], d1) || !take(geometries[2], n))
        return 0.0;
    const Vec c = Cross(d0, d1);
    const double s = c.Length();
    const double k = Dot(d0, d1);
    double angle = k >= 0.0 ? std::asin(std::min(1.0, s)) : std::acos(std::max(-1.0, k));
    if (Dot(c, n) < 0.0)
        angle = 6.283185307179586 - angle;
    return angle;
}

// ---- Pattern, relative-transform and procedural bonds ----------------------------------------

PatternSpacing::PatternSpacing(Solver* solver, PatternNode* pattern, double value)
    : Bond(solver, {}), m_pattern(pattern), m_value(value)
{
}

void PatternSpacing::AddToZMR()
{
    if (m_handle || !m_pattern)
        return;
    m_pattern->AddToZMR();
    m_handle = System()->add_r(this, m_pattern->GetGNode());
}

void PatternSpacing::RemoveFromZMR()
{
    if (!m_handle)
        return;
    System()->erase(static_cast<r_node*>(m_handle));
    m_handle = nullptr;
}

int PatternSpacing::GetStatus()
{
    return m_handle ? System()->status(static_cast<r_node*>(m_handle)) : 0;
}
bool PatternSpacing::SetValue(double value) { return m_value = value, true; }
bool PatternSpacing::GetValue(double& value) { return value = m_value, true; }
bool PatternSpacing::SetRigid(bool rigid) { return m_rigid = rigid, true; }
bool PatternSpacing::GetRigid(bool& rigid) { return rigid = m_rigid, true; }

PatternConstraint::PatternConstraint(Solver* solver, PatternNode* pattern, int steps,
                                     const std::vector<GeometryBase*>& geometries)
    : Bond(solver, geometries), m_pattern(pattern), m_steps(steps)
{
}

PatternConstraint* PatternConstraint::CreatePatternConstraint(
    Solver* solver, PatternNode* pattern, int steps, const std::vector<GeometryBase*>& geometries)
{
    return geometries.size() == 2 ? new PatternConstraint(solver, pattern, steps, geometries)
                                  : nullptr;
}

void PatternConstraint::AddToZMR()
{
    if (m_handle)
        return;
    AddGeometries();
    m_handle = System()->add_d(this, m_geometries[0]->GetGNode(), m_geometries[1]->GetGNode(),
                               m_pattern ? m_pattern->GetGNode() : nullptr);
}

RTConstraint::RTConstraint(Solver* solver, RTNode* transform,
                           const std::vector<GeometryBase*>& geometries, bool flag)
    : Bond(solver, geometries), m_transform(transform), m_flag(flag)
{
}

RTConstraint* RTConstraint::CreateRTConstraint(Solver* solver, RTNode* transform,
                                               const std::vector<GeometryBase*>& geometries,
                                               bool flag)
{
    return geometries.size() == 2 ? new RTConstraint(solver, transform, geometries, flag) : nullptr;
}

void RTConstraint::AddToZMR()
{
    if (m_handle)
        return;
    AddGeometries();
    m_handle = System()->add_d(this, m_geometries[0]->GetGNode(), m_geometries[1]->GetGNode(),
                               m_transform ? m_transform->GetGNode() : nullptr);
}

ProceduralRelationship* ProceduralRelationship::CreateProceduralRelationship(Solver* solver,
                                                                             GeometryBase* first,
                                                                             GeometryBase* second)
{
    return new ProceduralRelationship(solver, std::vector<GeometryBase*>{first, second});
}

void ProceduralRelationship::AddToZMR()
{
    if (m_handle)
        return;
    GeometryBase* procedural =
        m_geometries[0]->IsProceduralGNode() ? m_geometries[0] : m_geometries[1];
    GeometryBase* other = procedural == m_geometries[0] ? m_geometries[1] : m_geometries[0];
    m_handle = m_solver->GetManager()->procedural_feature_manager()->add_procedural_relationship(
        this, procedural->GetGNode(), other->GetGNode());
}

}  // namespace QEL
