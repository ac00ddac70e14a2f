// Construction geometry for references to a centre or an axis: a point or a line that the
// dimension system knows, bonded to the real geometry so that it follows it in a solve. Built
// once per key and subtype and kept for the Solver's life.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"

#include <cmath>

namespace QEL {

namespace {

// The standard form of the base geometry in its own frame; directions normalised.
struct BaseForm {
    int classCode = 0;
    double location[3] = {0.0, 0.0, 0.0};
    double axis[3] = {0.0, 0.0, 1.0};
    double radius = 0.0;
    double halfAngle = 0.0;
};

BaseForm ReadBase(Geometry* base)
{
    BaseForm form;
    Position location, axis;
    double minor = 0.0;
    form.classCode = GetStandardGeometry(base->GetFrustumGeomTag(), nullptr, nullptr, &location,
                                         &axis, &form.radius, &form.halfAngle, &minor);
    const Dir unit = MakeDir(Vec(axis.x, axis.y, axis.z));
    const double l[3] = {location.x, location.y, location.z};
    const double a[3] = {unit.x, unit.y, unit.z};
    std::copy(l, l + 3, form.location);
    std::copy(a, a + 3, form.axis);
    return form;
}

}  // namespace

GeometryBase* Solver::AddConstruction(GeometryBase* geometry)
{
    geometry->AddToZMR();
    m_constructionGeometries.push_back(geometry);
    return geometry;
}

void Solver::BondConstruction(ZMR3_d_type type, GeometryBase* first, GeometryBase* second)
{
    AddBond(TypedBond::CreateBinary(this, type, first, second, 0.0));
}

bool Solver::MakeAxisConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                          std::vector<GeometryBase*>&)
{
    const BaseForm form = ReadBase(base);
    construction =
        AddConstruction(new GLine(this, form.location, form.axis, base->GetInstance(), nullptr));
    BondConstruction(ZMR3_CONCENTRIC, construction, base);
    return true;
}

bool Solver::MakeCircleCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                                  std::vector<GeometryBase*>& auxiliary)
{
    const BaseForm form = ReadBase(base);
    GeometryBase* plane =
        AddConstruction(new GPlane(this, form.location, form.axis, base->GetInstance(), nullptr));
    auxiliary.push_back(plane);
    BondConstruction(ZMR3_COINCIDENT, plane, base);
    construction = AddConstruction(new GPoint(this, form.location, base->GetInstance(), nullptr));
    BondConstruction(ZMR3_COINCIDENT, construction, plane);
    BondConstruction(ZMR3_CONCENTRIC, construction, base);
    return true;
}

bool Solver::MakeConeApexConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                              std::vector<GeometryBase*>& auxiliary)
{
    const BaseForm form = ReadBase(base);
    GeometryBase* line =
        AddConstruction(new GLine(this, form.location, form.axis, base->GetInstance(), nullptr));
    auxiliary.push_back(line);
    BondConstruction(ZMR3_CONCENTRIC, line, base);
    const double back = form.radius / std::tan(form.halfAngle);
    double apex[3];
    for (int i = 0; i < 3; ++i)
        apex[i] = form.location[i] - form.axis[i] * back;
    construction = AddConstruction(new GPoint(this, apex, base->GetInstance(), nullptr));
    BondConstruction(ZMR3_COINCIDENT, construction, base);
    BondConstruction(ZMR3_COINCIDENT, construction, line);
    return true;
}

bool Solver::MakeSphereCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                                  std::vector<GeometryBase*>&)
{
    const BaseForm form = ReadBase(base);
    construction = AddConstruction(new GPoint(this, form.location, base->GetInstance(), nullptr));
    BondConstruction(ZMR3_CONCENTRIC, construction, base);
    return true;
}

bool Solver::MakeTorusCentreConstructionGeometry(Geometry* base, GeometryBase*& construction,
                                                 std::vector<GeometryBase*>& auxiliary)
{
    const BaseForm form = ReadBase(base);
    GeometryBase* spine = AddConstruction(
        new GCircle(this, form.location, form.radius, form.axis, base->GetInstance(), nullptr));
    auxiliary.push_back(spine);
    BondConstruction(ZMR3_COINCIDENT_WITH_SPINE, spine, base);
    GeometryBase* plane =
        AddConstruction(new GPlane(this, form.location, form.axis, base->GetInstance(), nullptr));
    auxiliary.push_back(plane);
    BondConstruction(ZMR3_COINCIDENT, spine, plane);
    construction = AddConstruction(new GPoint(this, form.location, base->GetInstance(), nullptr));
    BondConstruction(ZMR3_COINCIDENT, construction, plane);
    BondConstruction(ZMR3_CONCENTRIC, construction, base);
    return true;
}

bool Solver::MakeTemporaryConstructionGeometry(RelationSubtype subtype, const GeometryKey& key,
                                               Geometry*& base, GeometryBase*& construction,
                                               std::vector<GeometryBase*>& auxiliary)
{
    base = nullptr;
    construction = nullptr;
    const int classCode = GetStandardGeometry(key.first, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr);
    base = GetOrMakeGeometry(key);
    if (!base)
        return false;
    base->AddToZMR();
    const auto cached = m_temporaryConstruction.find(ConstructionKey(key, subtype));
    if (cached != m_temporaryConstruction.end()) {
        construction = cached->second.front();
        auxiliary.insert(auxiliary.end(), cached->second.begin() + 1, cached->second.end());
        for (GeometryBase* geometry : cached->second)
            if (geometry)
                geometry->AddToZMR();
        return true;
    }
    if (subtype == RelationSubtypeBoundary)
        return false;
    std::vector<GeometryBase*> made;
    if (subtype == RelationSubtypeAxis) {
        if (classCode == KernelClassCircle || classCode == KernelClassCylinder ||
            classCode == KernelClassCone || classCode == KernelClassSphere ||
            classCode == KernelClassTorus)
            MakeAxisConstructionGeometry(base, construction, made);
    } else if (subtype == RelationSubtypeCentre) {
        switch (classCode) {
            case KernelClassCylinder:
                MakeAxisConstructionGeometry(base, construction, made);
                break;
            case KernelClassCone:
                MakeConeApexConstructionGeometry(base, construction, made);
                break;
            case KernelClassSphere:
                MakeSphereCentreConstructionGeometry(base, construction, made);
                break;
            case KernelClassTorus:
                MakeTorusCentreConstructionGeometry(base, construction, made);
                break;
            case KernelClassCircle:
                MakeCircleCentreConstructionGeometry(base, construction, made);
                break;
            default:
                break;
        }
    }
    auxiliary.insert(auxiliary.end(), made.begin(), made.end());
    std::vector<GeometryBase*>& entry = m_temporaryConstruction[ConstructionKey(key, subtype)];
    entry.push_back(construction);
    entry.insert(entry.end(), made.begin(), made.end());
    return true;
}

bool Solver::GetOrMakeTemporaryConstructionGeometry(RelationSubtype subtype, const GeometryKey& key,
                                                    std::vector<GeometryBase*>& out)
{
    Geometry* base = nullptr;
    GeometryBase* construction = nullptr;
    std::vector<GeometryBase*> auxiliary;
    const bool made =
        MakeTemporaryConstructionGeometry(subtype, key, base, construction, auxiliary);
    const auto cached = m_temporaryConstruction.find(ConstructionKey(key, subtype));
    if (cached != m_temporaryConstruction.end())
        out.insert(out.end(), cached->second.begin(), cached->second.end());
    return made;
}

GeometryBase* Solver::GetTemporaryConstructionGeometry(const GeometryKey& key,
                                                       RelationSubtype subtype) const
{
    const auto cached = m_temporaryConstruction.find(ConstructionKey(key, subtype));
    return cached == m_temporaryConstruction.end() ? nullptr : cached->second.front();
}

}  // namespace QEL
