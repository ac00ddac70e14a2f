#include "solver/SolverNodes.h"

#include "core/kernel/EntityDescription.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "solver/Bonds.h"
#include "solver/Solver.h"

#include <brennik.h>

namespace QEL {

// ---- Node and GNode ---------------------------------------------------------------------

Node::Node(Solver* solver) : m_solver(solver), m_id(solver->GetNextNodeId()) {}

Node::~Node() = default;

std::string Node::ToString() { return "Node"; }

ZMR3_dimension_system* Node::System() const { return m_solver->GetDimensionSystem(); }

std::string GNode::ToString() { return "GNode"; }

void GNode::RemoveFromZMR()
{
    if (!m_handle)
        return;
    System()->erase(GetGNode());
    m_handle = nullptr;
}

void GNode::Fix(bool fix)
{
    if (!m_handle)
        return;
    const bool fixed = System()->status(GetGNode()) == ZMR3_G_STATUS_FIXED;
    if (fixed != fix)
        System()->fix(GetGNode());
}

bool GNode::IsFixed() { return m_handle && System()->status(GetGNode()) == ZMR3_G_STATUS_FIXED; }

bool GNode::GetZMRChange(bool& moved, double (*matrix)[4], double* first, double* second)
{
    if (!m_handle)
        return false;
    moved = System()->transform(GetGNode(), matrix, first, second) != 0;
    return true;
}

// ---- GeometryBase -------------------------------------------------------------------------

GeometryBase::GeometryBase(Solver* solver, Instance* instance, g_node* existing)
    : GNode(solver), m_instance(instance)
{
    if (existing) {
        m_handle = existing;
        System()->set_application_pointer(existing, this);
    }
}

void GeometryBase::AddToZMR()
{
    if (!m_handle)
        m_handle = System()->add_g(this);
}

std::string GeometryBase::ToString() { return "GeometryBase"; }

bool GeometryBase::GetLocation(Vec&) { return false; }
bool GeometryBase::GetDirection(Dir&) { return false; }
bool GeometryBase::GetRadius(double&) { return false; }
bool GeometryBase::GetAxis(Dir&) { return false; }
bool GeometryBase::GetNormal(Dir&) { return false; }
bool GeometryBase::GetConeData(Vec&, Dir&, double&, double&) { return false; }
bool GeometryBase::GetEllipseData(Vec&, Dir&, Dir&, double&, double&) { return false; }
bool GeometryBase::GetTorusData(Vec&, Dir&, double&, double&) { return false; }

const Xform* GeometryBase::GetXform()
{
    return m_instance ? &m_instance->GetXform() : &GetIdentityXform();
}

Vec GeometryBase::PlacePoint(const Vec& point)
{
    Vec placed = point;
    GetXform()->TransformPoint(placed);
    return placed;
}

Dir GeometryBase::PlaceDirection(const Vec& direction)
{
    return MakeDir(RotateVec(GetXform()->rotation, direction));
}

bool GeometryBase::GetAnyDirection(Dir& direction)
{
    return GetDirection(direction) || GetNormal(direction) || GetAxis(direction);
}

bool GeometryBase::IsParallel(GeometryBase* other)
{
    Dir a, b;
    return other && GetAnyDirection(a) && other->GetAnyDirection(b) && a.IsParallel(b);
}

bool GeometryBase::IsPerpendicular(GeometryBase* other)
{
    Dir a, b;
    return other && GetAnyDirection(a) && other->GetAnyDirection(b) && a.IsPerpendicular(b);
}

// ---- Value geometries -----------------------------------------------------------------------

namespace {

Vec ToVec(const double v[3]) { return Vec(v[0], v[1], v[2]); }

}  // namespace

GPoint::GPoint(Solver* solver, const double point[3], Instance* instance, g_node* existing)
    : GeometryBase(solver, instance, existing), m_point(ToVec(point))
{
}

bool GPoint::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_POINT, true; }

bool GPoint::GetLocation(Vec& location) { return location = PlacePoint(m_point), true; }

GLine::GLine(Solver* solver, const double point[3], const double direction[3], Instance* instance,
             g_node* existing)
    : GeometryBase(solver, instance, existing), m_point(ToVec(point)), m_direction(ToVec(direction))
{
}

bool GLine::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_LINE, true; }

bool GLine::GetLocation(Vec& location) { return location = PlacePoint(m_point), true; }

bool GLine::GetDirection(Dir& direction) { return direction = PlaceDirection(m_direction), true; }

GPlane::GPlane(Solver* solver, const double point[3], const double normal[3], Instance* instance,
               g_node* existing)
    : GeometryBase(solver, instance, existing), m_point(ToVec(point)), m_normal(ToVec(normal))
{
}

bool GPlane::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_PLANE, true; }

bool GPlane::GetLocation(Vec& location) { return location = PlacePoint(m_point), true; }

bool GPlane::GetNormal(Dir& normal) { return normal = PlaceDirection(m_normal), true; }

GCircle::GCircle(Solver* solver, const double centre[3], double radius, const double axis[3],
                 Instance* instance, g_node* existing)
    : GeometryBase(solver, instance, existing),
      m_centre(ToVec(centre)),
      m_radius(radius),
      m_axis(ToVec(axis))
{
}

bool GCircle::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_CIRCLE, true; }

bool GCircle::GetLocation(Vec& location) { return location = PlacePoint(m_centre), true; }

bool GCircle::GetRadius(double& radius) { return radius = m_radius, true; }

bool GCircle::GetAxis(Dir& axis) { return axis = PlaceDirection(m_axis), true; }

SectionPlane::SectionPlane(Solver* solver, const double point[3], const double normal[3],
                           Instance* instance, Instance* cutInstance)
    : GPlane(solver, point, normal, instance, nullptr), m_cutInstance(cutInstance)
{
}

const Xform* SectionPlane::GetXform() { return &GetIdentityXform(); }

// ---- Kernel-backed geometry ------------------------------------------------------------------

namespace {

Vec FromVector(const BQ_VECTOR_t& v) { return Vec(v.coord[0], v.coord[1], v.coord[2]); }

Vec FromPosition(const Position& p) { return Vec(p.x, p.y, p.z); }

// The form of a geometry of a known class (a constrainable class: the ellipse has no standard
// form of the kind the others share).
bool ReadKernelForm(int geometry, int classCode, KernelForm& form)
{
    if (geometry == 0 || classCode == 0)
        return false;
    if (classCode == KernelClassEllipse) {
        BQ_ELLIPSE_sf_t sf;
        if (BQ_ELLIPSE_ask(geometry, &sf) != BQ_ERROR_no_errors)
            return false;
        form.classCode = KernelClassEllipse;
        form.location = FromVector(sf.basis_set.location);
        form.axis = FromVector(sf.basis_set.axis);
        form.reference = FromVector(sf.basis_set.ref_direction);
        form.radius = sf.R1;
        form.minorRadius = sf.R2;
        return true;
    }
    Position location, axis;
    if (!ReadGeometryStandardForm(geometry, classCode, &location, &axis, &form.radius,
                                  &form.halfAngle, &form.minorRadius))
        return false;
    form.classCode = classCode;
    form.location = FromPosition(location);
    form.axis = FromPosition(axis);
    return true;
}

bool IsOneOf(int classCode, std::initializer_list<int> classes)
{
    for (int c : classes)
        if (c == classCode)
            return true;
    return false;
}

// The dimension system's geometry code of a kernel class; -1 for a class it does not know.
int GeomTypeOfClass(int classCode)
{
    switch (classCode) {
        case KernelClassPoint:
            return ZMR3_G_POINT;
        case KernelClassLine:
            return ZMR3_G_LINE;
        case KernelClassCircle:
            return ZMR3_G_CIRCLE;
        case KernelClassPlane:
            return ZMR3_G_PLANE;
        case KernelClassCylinder:
            return ZMR3_G_CYLINDER;
        case KernelClassSphere:
            return ZMR3_G_SPHERE;
        case KernelClassTorus:
            return ZMR3_G_TORUS;
        case KernelClassCone:
            return ZMR3_G_CONE;
        case KernelClassEllipse:
            return ZMR3_G_ELLIPSE;
        default:
            return -1;
    }
}

// The class of a face, edge, vertex or geometry in one kernel call (the solver never holds an
// application item, which is what the general test is there to tell apart); 0 for a dead tag.
int AskClass(int tag)
{
    int classCode = 0;
    return tag > 0 && BQ_ENTITY_ask_class(tag, &classCode) == BQ_ERROR_no_errors ? classCode : 0;
}

bool IsTopologyClass(int classCode)
{
    return IsOneOf(classCode, {KernelClassVertex, KernelClassEdge, KernelClassFace});
}

// A face's, edge's or vertex's geometry and its class. classes: what was met before for the
// entity, filled as it is met. A face, edge or vertex of a known class is not asked its class
// again: asking its geometry tells whether it still lives.
bool FindConstrainableGeometry(int entity, int& geometryClass, int& geometry,
                               KernelClasses* classes)
{
    geometryClass = 0;
    int entityClass = 0;
    if (classes && IsTopologyClass(classes->entityClass)) {
        entityClass = classes->entityClass;
    } else {
        entityClass = AskClass(entity);
        if (classes && IsTopologyClass(entityClass))
            classes->entityClass = entityClass;
    }
    int candidate = 0;
    int status = BQ_ERROR_no_errors;
    if (entityClass == KernelClassVertex)
        status = BQ_VERTEX_ask_point(entity, &candidate);
    else if (entityClass == KernelClassEdge)
        status = BQ_EDGE_ask_curve(entity, &candidate);
    else if (entityClass == KernelClassFace)
        status = BQ_FACE_ask_surf(entity, &candidate);
    else
        candidate = entity;
    if (status != BQ_ERROR_no_errors || candidate == 0)
        return false;
    int candidateClass = 0;
    if (candidate == entity) {
        candidateClass = entityClass;
    } else if (classes && classes->geometry == candidate && classes->geometryClass != 0) {
        // The kernel has just named the candidate, so it is live and its class is the one met.
        candidateClass = classes->geometryClass;
    } else if (classes) {
        candidateClass = AskClass(candidate);
        classes->geometry = candidateClass != 0 ? candidate : 0;
        classes->geometryClass = candidateClass;
    } else {
        candidateClass = AskClass(candidate);
    }
    bool accepted = false;
    switch (entityClass) {
        case KernelClassVertex:
            accepted = candidateClass == KernelClassPoint;
            break;
        case KernelClassEdge:
            accepted = IsOneOf(candidateClass, {KernelClassLine, KernelClassCircle});
            break;
        case KernelClassFace:
            accepted =
                IsOneOf(candidateClass, {KernelClassPlane, KernelClassCylinder, KernelClassSphere,
                                         KernelClassCone, KernelClassTorus});
            break;
        default:
            accepted = IsPointLineOrPlaneClass(candidateClass);
            break;
    }
    if (!accepted)
        return false;
    geometryClass = candidateClass;
    geometry = candidate;
    return true;
}

int ConstrainableGeometry(int entity, Solver* solver = nullptr)
{
    int classCode = 0, geometry = 0;
    return FindConstrainableGeometry(entity, classCode, geometry,
                                     solver ? &solver->GetKernelRead(entity).classes : nullptr)
               ? geometry
               : 0;
}

}  // namespace

bool Geometry::FindConstrainableGeomClassFromEntity(int entity, int& geometryClass, int& geometry)
{
    return FindConstrainableGeometry(entity, geometryClass, geometry, nullptr);
}

Geometry::Geometry(Solver* solver, int entity, Instance* instance)
    : GeometryBase(solver, instance, nullptr), m_entity(entity)
{
}

Geometry::Geometry(Solver* solver, int entity, const Xform& xform)
    : GeometryBase(solver, nullptr, nullptr), m_entity(entity), m_ownXform(new Xform(xform))
{
}

Geometry::~Geometry() { SetAltGeom(0); }

Geometry* Geometry::CreateGeometry(Solver* solver, int entity, Instance* instance)
{
    return ConstrainableGeometry(entity, solver) ? new Geometry(solver, entity, instance) : nullptr;
}

Geometry* Geometry::CreateGeometry(Solver* solver, int entity, const Xform& xform)
{
    return ConstrainableGeometry(entity, solver) ? new Geometry(solver, entity, xform) : nullptr;
}

void Geometry::AddToZMR()
{
    if (m_handle)
        return;
    if (m_instance) {
        Geometry* bodyLevel = m_solver->GetOrMakeGeometry(GeometryKey(m_entity, nullptr));
        if (bodyLevel) {
            bodyLevel->AddToZMR();
            if (bodyLevel->IsProceduralGNode())
                m_handle =
                    m_solver->GetManager()->procedural_feature_manager()->add_procedural_copy(
                        this, bodyLevel->GetGNode());
        }
    }
    if (!m_handle)
        m_handle = System()->add_g(this);
}

std::string Geometry::ToString()
{
    std::string text = "Geometry " + FormatEntityDescription(m_entity);
    if (m_instance) {
        Geometry* bodyLevel = m_solver->FindGeometry(GeometryKey(m_entity, nullptr));
        if (bodyLevel && bodyLevel->IsProceduralGNode())
            text += " - Procedural Copy";
    }
    return text;
}

int Geometry::GetGeomTag() const { return ConstrainableGeometry(m_entity); }

int Geometry::GetAltGeomTag() const { return m_altEntity ? ConstrainableGeometry(m_altEntity) : 0; }

int Geometry::GetFrustumGeomTag()
{
    int classCode = 0;
    return GetFrustumGeometry(classCode);
}

SharedKernelRead& Geometry::KernelRecord()
{
    const int entity = m_altEntity ? m_altEntity : m_entity;
    if (!m_record || m_recordEntity != entity) {
        m_record = &m_solver->GetKernelRead(entity);
        m_recordEntity = entity;
    }
    return *m_record;
}

SharedKernelRead* Geometry::SharedRead(int reading)
{
    if (reading == 0 || m_altGeom)
        return nullptr;
    SharedKernelRead& read = KernelRecord();
    if (read.reading != reading) {
        const KernelClasses classes = read.classes;
        read = SharedKernelRead();
        read.classes = classes;
        read.reading = reading;
        FindConstrainableGeometry(m_recordEntity, read.classCode, read.geometry, &read.classes);
    }
    return &read;
}

int Geometry::GetFrustumGeometry(int& classCode)
{
    const int reading = m_solver ? m_solver->GetKernelReading() : 0;
    if (reading != 0 && reading == m_tagReading) {
        classCode = m_frustumClass;
        return m_frustumTag;
    }
    int geometry = 0;
    classCode = 0;
    if (SharedKernelRead* read = SharedRead(reading)) {
        geometry = read->geometry;
        classCode = read->classCode;
    } else if (m_altGeom) {
        geometry = m_altGeom;
        classCode = AskClass(geometry);
    } else {
        FindConstrainableGeomClassFromEntity(m_altEntity ? m_altEntity : m_entity, classCode,
                                             geometry);
    }
    m_frustumTag = geometry;
    m_frustumClass = classCode;
    m_tagReading = reading;
    return geometry;
}

void Geometry::SetAltTopol(int entity)
{
    m_formReading = m_tagReading = 0;
    m_altEntity = 0;
    if (entity && ConstrainableGeometry(entity))
        m_altEntity = entity;
}

void Geometry::SetAltGeom(int geometry)
{
    if (m_altGeom && !m_instance) {
        int count = 0;
        int* faces = nullptr;
        if (BQ_SURF_ask_faces(m_altGeom, &count, &faces) == BQ_ERROR_no_errors) {
            BQ_MEMORY_free(faces);
            if (count == 0)
                BQ_ENTITY_delete(1, &m_altGeom);
        }
    }
    m_altGeom = geometry;
    m_formReading = m_tagReading = 0;
}

const Xform* Geometry::GetXform()
{
    return m_ownXform ? m_ownXform.get() : GeometryBase::GetXform();
}

bool Geometry::ReadForm(KernelForm& form)
{
    const int reading = m_solver ? m_solver->GetKernelReading() : 0;
    if (reading == 0 || reading != m_formReading) {
        SharedKernelRead* read = SharedRead(reading);
        if (read && !read->formTaken) {
            read->formFound = ReadKernelForm(read->geometry, read->classCode, read->form);
            read->formTaken = true;
        }
        if (read) {
            m_form = read->form;
            m_formRead = read->formFound;
        } else {
            int classCode = 0;
            const int geometry = GetFrustumGeometry(classCode);
            m_form = KernelForm();
            m_formRead = ReadKernelForm(geometry, classCode, m_form);
        }
        m_formReading = reading;
    }
    form = m_form;
    return m_formRead;
}

bool Geometry::GetGeomType(ZMR3_g_type& type)
{
    KernelForm form;
    const int code = ReadForm(form) ? GeomTypeOfClass(form.classCode) : -1;
    type = static_cast<ZMR3_g_type>(code < 0 ? 0 : code);
    return code >= 0;
}

bool Geometry::GetLocation(Vec& location)
{
    KernelForm form;
    if (!ReadForm(form) ||
        !IsOneOf(form.classCode, {KernelClassPoint, KernelClassLine, KernelClassCircle,
                                  KernelClassPlane, KernelClassCylinder, KernelClassSphere}))
        return false;
    location = PlacePoint(form.location);
    return true;
}

bool Geometry::GetDirection(Dir& direction)
{
    KernelForm form;
    if (!ReadForm(form) || form.classCode != KernelClassLine)
        return false;
    direction = PlaceDirection(form.axis);
    return true;
}

bool Geometry::GetRadius(double& radius)
{
    KernelForm form;
    if (!ReadForm(form) ||
        !IsOneOf(form.classCode, {KernelClassCircle, KernelClassCylinder, KernelClassSphere}))
        return false;
    radius = form.radius;
    return true;
}

bool Geometry::GetAxis(Dir& axis)
{
    KernelForm form;
    if (!ReadForm(form) ||
        !IsOneOf(form.classCode, {KernelClassCircle, KernelClassEllipse, KernelClassCylinder,
                                  KernelClassCone, KernelClassTorus}))
        return false;
    axis = PlaceDirection(form.axis);
    return true;
}

bool Geometry::GetNormal(Dir& normal)
{
    KernelForm form;
    if (!ReadForm(form) || form.classCode != KernelClassPlane)
        return false;
    normal = PlaceDirection(form.axis);
    return true;
}

bool Geometry::GetConeData(Vec& location, Dir& axis, double& radius, double& halfAngle)
{
    KernelForm form;
    if (!ReadForm(form) || form.classCode != KernelClassCone)
        return false;
    location = PlacePoint(form.location);
    axis = PlaceDirection(form.axis);
    radius = form.radius;
    halfAngle = form.halfAngle;
    return true;
}

bool Geometry::GetEllipseData(Vec& centre, Dir& axis, Dir& majorDirection, double& majorRadius,
                              double& minorRadius)
{
    KernelForm form;
    if (!ReadForm(form) || form.classCode != KernelClassEllipse)
        return false;
    centre = PlacePoint(form.location);
    axis = PlaceDirection(form.axis);
    majorDirection = PlaceDirection(form.reference);
    majorRadius = form.radius;
    minorRadius = form.minorRadius;
    return true;
}

bool Geometry::GetTorusData(Vec& centre, Dir& axis, double& majorRadius, double& minorRadius)
{
    KernelForm form;
    if (!ReadForm(form) || form.classCode != KernelClassTorus)
        return false;
    centre = PlacePoint(form.location);
    axis = PlaceDirection(form.axis);
    majorRadius = form.radius;
    minorRadius = form.minorRadius;
    return true;
}

// ---- Procedural geometry ----------------------------------------------------------------------

ProceduralGeometry::ProceduralGeometry(Solver* solver, int entity, Instance* instance,
                                       SolverProceduralObject* owner)
    : Geometry(solver, entity, instance), m_owner(owner)
{
}

ProceduralGeometry* ProceduralGeometry::CreateProceduralGeometry(Solver* solver, int entity,
                                                                 Instance* instance,
                                                                 SolverProceduralObject* owner)
{
    return ConstrainableGeometry(entity) ? new ProceduralGeometry(solver, entity, instance, owner)
                                         : nullptr;
}

void ProceduralGeometry::AddToZMR()
{
    if (m_handle || !m_owner)
        return;
    ZMR3_g_type type = ZMR3_G_POINT;
    GetGeomType(type);
    const int types[1] = {type};
    m_handle = m_solver->GetManager()->procedural_feature_manager()->add_procedural_g(
        this, KEV_SOLVE_BY_REGENERATION, 1, types);
}

void ProceduralGeometry::AddRelationTo(GeometryBase* other)
{
    // Only an object whose procedure recreates its geometry carries related geometry along.
    if (!m_owner || !other || !m_owner->TakeRelatedGeometry(other))
        return;
    other->AddToZMR();
    ProceduralRelationship* relationship =
        ProceduralRelationship::CreateProceduralRelationship(m_solver, this, other);
    relationship->AddToZMR();
    m_solver->AddProceduralRelationship(relationship);
}

ProceduralGLine::ProceduralGLine(Solver* solver, const double point[3], const double direction[3])
    : GLine(solver, point, direction, nullptr, nullptr)
{
}

void ProceduralGLine::AddToZMR()
{
    if (m_handle)
        return;
    const int types[1] = {ZMR3_G_LINE};
    m_handle = m_solver->GetManager()->procedural_feature_manager()->add_procedural_g(
        this, KEV_SOLVE_BY_REGENERATION, 1, types);
}

void ProceduralGLine::AddRelationTo(GeometryBase* other)
{
    if (!other)
        return;
    other->AddToZMR();
    ProceduralRelationship* relationship =
        ProceduralRelationship::CreateProceduralRelationship(m_solver, this, other);
    relationship->AddToZMR();
    m_solver->AddProceduralRelationship(relationship);
}

}  // namespace QEL
