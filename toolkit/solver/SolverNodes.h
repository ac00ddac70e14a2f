#pragma once
// The solver's nodes: every object the Solver puts into the dimension system owns one handle
// of it and is that handle's application pointer, so every callback of the system arrives with
// the toolkit object in hand. This file holds the root of the node tree and the geometries:
// value geometries made from numbers, the kernel-backed Geometry and procedural geometry.
// Locations and directions always answer in world coordinates.

#include "core/maths/Dir.h"
#include "core/maths/Vec.h"
#include "core/maths/Xform.h"

#include <tessik.h>

#include <memory>
#include <string>

namespace QEL {

class Solver;
class Instance;
class Set;
class SolverProceduralObject;
class GNode;
class GeometryBase;
class Bond;

class Node {
public:
    explicit Node(Solver* solver);
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    // Never calls the dimension system: the Solver removes a node before deleting it.
    virtual ~Node();
    // Each adds the node once; a node that has its handle adds nothing.
    virtual void AddToZMR() = 0;
    virtual void RemoveFromZMR() = 0;
    virtual std::string ToString();

    // The node as the kind a callback of the dimension system needs, else null: asked of
    // every node several times in each evaluation, so answered without a type search.
    virtual GNode* AsGNode() { return nullptr; }
    virtual GeometryBase* AsGeometry() { return nullptr; }
    virtual Bond* AsBond() { return nullptr; }

    Solver* GetSolver() const { return m_solver; }
    int GetId() const { return m_id; }
    bool IsAdded() const { return m_handle != nullptr; }
    // Labels change no behaviour; nothing is kept.
    void SetDebugName(std::string) {}

protected:
    ZMR3_dimension_system* System() const;

    Solver* m_solver;
    int m_id;
    // g_node, d_node or r_node by class; null while not in the dimension system.
    void* m_handle = nullptr;
};

// Orders nodes by id, so the first member of a node set is its oldest.
struct NodePtrLessThan {
    bool operator()(const Node* a, const Node* b) const { return a->GetId() < b->GetId(); }
};

class GNode : public Node {
public:
    using Node::Node;
    GNode* AsGNode() override { return this; }
    std::string ToString() override;
    // Erases the g-node, clears the handle.
    void RemoveFromZMR() override;
    virtual bool GetGeomType(ZMR3_g_type& type) = 0;
    virtual bool IsProceduralGNode() { return false; }

    // Nothing for a node not yet added, or already in the wanted state; fix toggles.
    void Fix(bool fix);
    bool IsFixed();
    // False for a node not yet added; else moved tells whether the system changed it.
    bool GetZMRChange(bool& moved, double (*matrix)[4], double* first, double* second);
    g_node* GetGNode() const { return static_cast<g_node*>(m_handle); }
};

class GeometryBase : public GNode {
public:
    // existing: a node the auto-constraint manager already made for this geometry, or null.
    GeometryBase(Solver* solver, Instance* instance, g_node* existing);
    GeometryBase* AsGeometry() override { return this; }
    void AddToZMR() override;
    std::string ToString() override;

    // Each fills its outputs and answers true only when the geometry has the property.
    virtual bool GetLocation(Vec& location);
    virtual bool GetDirection(Dir& direction);
    virtual bool GetRadius(double& radius);
    virtual bool GetAxis(Dir& axis);
    virtual bool GetNormal(Dir& normal);
    virtual int GetFrustumGeomTag() { return 0; }
    virtual bool GetConeData(Vec& location, Dir& axis, double& radius, double& halfAngle);
    virtual bool GetEllipseData(Vec& centre, Dir& axis, Dir& majorDirection, double& majorRadius,
                                double& minorRadius);
    virtual bool GetTorusData(Vec& centre, Dir& axis, double& majorRadius, double& minorRadius);
    // The Instance's transform, or the identity.
    virtual const Xform* GetXform();

    // A direction from each (direction, else normal, else axis); false when either has none.
    bool IsParallel(GeometryBase* other);
    bool IsPerpendicular(GeometryBase* other);
    // The first direction the geometry answers: direction, normal, then axis.
    bool GetAnyDirection(Dir& direction);

    Instance* GetInstance() const { return m_instance; }
    Set* GetSet() const { return m_set; }
    void SetSet(Set* set) { m_set = set; }

protected:
    // A point and a direction of the geometry's own frame, placed in world coordinates.
    Vec PlacePoint(const Vec& point);
    Dir PlaceDirection(const Vec& direction);

    Instance* m_instance;
    Set* m_set = nullptr;
};

class GPoint : public GeometryBase {
public:
    GPoint(Solver* solver, const double point[3], Instance* instance, g_node* existing);
    std::string ToString() override { return "GPoint"; }
    bool GetGeomType(ZMR3_g_type& type) override;
    bool GetLocation(Vec& location) override;

private:
    Vec m_point;
};

class GLine : public GeometryBase {
public:
    GLine(Solver* solver, const double point[3], const double direction[3], Instance* instance,
          g_node* existing);
    std::string ToString() override { return "GLine"; }
    bool GetGeomType(ZMR3_g_type& type) override;
    bool GetLocation(Vec& location) override;
    bool GetDirection(Dir& direction) override;

private:
    Vec m_point;
    Vec m_direction;
};

class GPlane : public GeometryBase {
public:
    GPlane(Solver* solver, const double point[3], const double normal[3], Instance* instance,
           g_node* existing);
    std::string ToString() override { return "GPlane"; }
    bool GetGeomType(ZMR3_g_type& type) override;
    bool GetLocation(Vec& location) override;
    bool GetNormal(Dir& normal) override;

private:
    Vec m_point;
    Vec m_normal;
};

class GCircle : public GeometryBase {
public:
    GCircle(Solver* solver, const double centre[3], double radius, const double axis[3],
            Instance* instance, g_node* existing);
    std::string ToString() override { return "GCircle"; }
    bool GetGeomType(ZMR3_g_type& type) override;
    bool GetLocation(Vec& location) override;
    bool GetRadius(double& radius) override;
    bool GetAxis(Dir& axis) override;

private:
    Vec m_centre;
    double m_radius;
    Vec m_axis;
};

// The plane of a section, given in the frame of the Instance it cuts; it answers like a plane
// with no Instance.
class SectionPlane : public GPlane {
public:
    SectionPlane(Solver* solver, const double point[3], const double normal[3], Instance* instance,
                 Instance* cutInstance);
    std::string ToString() override { return "SectionPlane"; }
    const Xform* GetXform() override;
    Instance* GetCutInstance() const { return m_cutInstance; }

private:
    Instance* m_cutInstance;
};

// A face, edge or vertex of a kernel body (or a bare point, line or plane), read from the
// kernel at every question; placed by its Instance or by a transform of its own.
// A kernel geometry's standard form, as far as the solver reads it.
struct KernelForm {
    int classCode = 0;
    Vec location;
    Vec axis;
    Vec reference;
    double radius = 0.0;
    double minorRadius = 0.0;
    double halfAngle = 0.0;
};

// What stays true of an entity's kernel answers from one reading to the next, so that they
// need not be asked again: the class of a face, edge or vertex (a live tag keeps its class),
// and the class of the geometry last found under it (a tag is never reused, so a live
// geometry keeps its class). Whether the entity still lives, and which geometry it now lies
// on, is asked every time.
struct KernelClasses {
    int entityClass = 0;
    int geometry = 0;
    int geometryClass = 0;
};

// What the kernel answered, during one reading, for an entity's constrainable geometry: the
// entity's body-level geometry and each placed copy of it read the same kernel geometry, so
// one read serves them all. The classes outlast the reading.
struct SharedKernelRead {
    KernelClasses classes;
    int reading = 0;
    int geometry = 0;
    int classCode = 0;
    bool formTaken = false;
    bool formFound = false;
    KernelForm form;
};

class Geometry : public GeometryBase {
public:
    Geometry(Solver* solver, int entity, Instance* instance);
    Geometry(Solver* solver, int entity, const Xform& xform);
    // Deletes an alternative geometry no face uses, when it has no Instance.
    ~Geometry() override;
    // Null when the entity has no constrainable geometry.
    static Geometry* CreateGeometry(Solver* solver, int entity, Instance* instance);
    static Geometry* CreateGeometry(Solver* solver, int entity, const Xform& xform);
    // A vertex's point, an edge's line or circle, a face's plane, cylinder, cone, sphere or
    // torus, or such a bare point, line or plane itself; false with class 0 otherwise.
    static bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass, int& geometry);

    void AddToZMR() override;
    std::string ToString() override;
    bool GetGeomType(ZMR3_g_type& type) override;
    bool GetLocation(Vec& location) override;
    bool GetDirection(Dir& direction) override;
    bool GetRadius(double& radius) override;
    bool GetAxis(Dir& axis) override;
    bool GetNormal(Dir& normal) override;
    // The alternative geometry, else the alternative entity's geometry, else the entity's.
    int GetFrustumGeomTag() override;
    bool GetConeData(Vec& location, Dir& axis, double& radius, double& halfAngle) override;
    bool GetEllipseData(Vec& centre, Dir& axis, Dir& majorDirection, double& majorRadius,
                        double& minorRadius) override;
    bool GetTorusData(Vec& centre, Dir& axis, double& majorRadius, double& minorRadius) override;
    const Xform* GetXform() override;

    int GetEntity() const { return m_entity; }
    int GetGeomTag() const;
    int GetAltGeomTag() const;
    int GetAltTopol() const { return m_altEntity; }
    int GetAltGeom() const { return m_altGeom; }
    // Stores the entity when it is non-zero and has constrainable geometry; 0 clears.
    void SetAltTopol(int entity);
    void SetAltGeom(int geometry);

protected:
    // The form of the geometry the callbacks read: taken from the kernel once per reading of
    // the Solver, as the dimension system asks for each geometry many times while the kernel
    // stays as it is; outside a reading it is read afresh each time.
    bool ReadForm(KernelForm& form);
    // The frustum geometry with its class, kept for the reading like the form.
    int GetFrustumGeometry(int& classCode);
    // The reading's shared answer for the entity this geometry reads (its alternative entity,
    // else its own), taken from the kernel when the reading has none yet; null outside a
    // reading and for an alternative geometry, which only this geometry reads.
    SharedKernelRead* SharedRead(int reading);
    // The Solver's record of the entity this geometry reads, found once: the record stays
    // where it is for the Solver's life.
    SharedKernelRead& KernelRecord();

    int m_entity;
    int m_altGeom = 0;
    int m_altEntity = 0;
    std::unique_ptr<Xform> m_ownXform;
    KernelForm m_form;
    bool m_formRead = false;
    int m_formReading = 0;
    int m_frustumTag = 0;
    int m_frustumClass = 0;
    int m_tagReading = 0;
    SharedKernelRead* m_record = nullptr;
    int m_recordEntity = 0;
};

class ProceduralGeometry : public Geometry {
public:
    ProceduralGeometry(Solver* solver, int entity, Instance* instance,
                       SolverProceduralObject* owner);
    static ProceduralGeometry* CreateProceduralGeometry(Solver* solver, int entity,
                                                        Instance* instance,
                                                        SolverProceduralObject* owner);
    void AddToZMR() override;
    std::string ToString() override { return "ProceduralGeometry"; }
    bool IsProceduralGNode() override { return true; }
    SolverProceduralObject* GetOwner() const { return m_owner; }
    // Ties the other geometry to this one's procedural object; only for features that are
    // recreated by their procedure.
    void AddRelationTo(GeometryBase* other);

private:
    SolverProceduralObject* m_owner;
};

class ProceduralGLine : public GLine {
public:
    ProceduralGLine(Solver* solver, const double point[3], const double direction[3]);
    void AddToZMR() override;
    std::string ToString() override { return "ProceduralGLine"; }
    bool IsProceduralGNode() override { return true; }
    void AddRelationTo(GeometryBase* other);
};

}  // namespace QEL
