#include "solver/SolverObjects.h"

#include "core/kernel/KernelFacade.h"
#include "solver/Solver.h"
#include "solver/operations/OffsetFacesOp.h"

#include <brennik.h>

namespace QEL {

Set::Set(Solver* solver) : GNode(solver) {}

Set* Set::CreateSet(Solver* solver)
{
    Set* set = new Set(solver);
    set->AddToZMR();
    solver->AddSet(set);
    return set;
}

void Set::AddToZMR()
{
    if (m_handle)
        return;
    m_handle = System()->add_g(this);
    // Members are added by their makers before they join; only their membership is new here.
    for (GeometryBase* member : m_members)
        Mirror(member, GetGNode());
}

void Set::Mirror(GeometryBase* g, g_node* set)
{
    if (m_handle && g->GetGNode())
        System()->move_to_set(g->GetGNode(), set);
}

void Set::AddGeometry(GeometryBase* g)
{
    if (!g || m_members.count(g))
        return;
    if (g->GetSet())
        g->GetSet()->RemoveGeometry(g);
    m_members.insert(g);
    Mirror(g, GetGNode());
    g->SetSet(this);
}

void Set::RemoveGeometry(GeometryBase* g)
{
    if (!g || !m_members.count(g))
        return;
    Mirror(g, nullptr);
    m_members.erase(g);
    g->SetSet(nullptr);
}

void Set::UnionGeometry(GeometryBase* g)
{
    if (!g)
        return;
    Set* former = g->GetSet();
    AddGeometry(g);
    if (former)
        UnionSets(former);
}

void Set::UnionSets(Set* other)
{
    if (!other || other == this)
        return;
    const Members members = other->m_members;
    for (GeometryBase* member : members)
        AddGeometry(member);
}

bool Set::MakeOrientation(int first, int second, std::pair<GeometryBase*, GeometryBase*>& lines)
{
    const int entities[2] = {first, second};
    Dir directions[2];
    for (int i = 0; i < 2; ++i) {
        int classCode = 0, curve = 0;
        BQ_LINE_sf_t line;
        if (!Geometry::FindConstrainableGeomClassFromEntity(entities[i], classCode, curve) ||
            classCode != KernelClassLine || BQ_LINE_ask(curve, &line) != BQ_ERROR_no_errors)
            return false;
        directions[i] = MakeDir(Vec(line.basis_set.axis.coord[0], line.basis_set.axis.coord[1],
                                    line.basis_set.axis.coord[2]));
    }
    if (directions[0].IsParallel(directions[1]))
        return false;
    Geometry* a = Geometry::CreateGeometry(m_solver, first, nullptr);
    Geometry* b = a ? Geometry::CreateGeometry(m_solver, second, nullptr) : nullptr;
    if (!b) {
        delete a;
        return false;
    }
    // The Solver keeps them: they stand for no key of its geometry map.
    m_solver->AddConstruction(a);
    m_solver->AddConstruction(b);
    AddGeometry(a);
    AddGeometry(b);
    lines = std::make_pair(a, b);
    return true;
}

bool Set::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_SET, true; }

RTNode::RTNode(Solver* solver, const Xform& xform) : GNode(solver), m_xform(xform) {}

int RTNode::Release()
{
    const int count = --m_useCount;
    if (count == 0)
        delete this;
    return count;
}

void RTNode::AddToZMR()
{
    if (!m_handle)
        m_handle =
            m_solver->GetManager()->extended_dimension_system()->add_relative_transform(this);
}

PatternNode::PatternNode(Solver* solver, GeometryBase* reference, JUN_pattern_type type,
                         double value)
    : GNode(solver), m_reference(reference), m_type(type), m_value(value)
{
}

void PatternNode::AddToZMR()
{
    if (m_handle || !m_reference)
        return;
    m_reference->AddToZMR();
    m_handle = m_solver->GetManager()->extended_dimension_system()->add_pattern(
        this, m_reference->GetGNode(), m_type);
}

double PatternNode::GetValue()
{
    double value = 0.0;
    if (m_handle && m_solver->GetManager()->extended_dimension_system()->enquire_pattern_value(
                        GetGNode(), &value))
        return value;
    return 0.0;
}

void SolverProceduralObject::AddToZMR()
{
    if (!m_handle)
        m_handle = m_solver->GetManager()->procedural_feature_manager()->add_procedural_feature(
            this, KEV_SOLVE_BY_REGENERATION);
}

void SolverProceduralObject::AddProceduralGeometry(GeometryBase* g)
{
    if (!g || !g->IsProceduralGNode())
        return;
    g->AddToZMR();
    m_solver->GetManager()->procedural_feature_manager()->move_to_feature(g->GetGNode(),
                                                                          GetGNode());
    m_proceduralGeometry.insert(g);
}

GeometryBase* SolverProceduralObject::GetOrMakeProceduralGeometry(int entity, Instance* instance)
{
    if (Geometry* found = m_solver->FindGeometry(GeometryKey(entity, instance)))
        return found;
    if (instance || !m_proceduralEntities.count(entity))
        return nullptr;
    ProceduralGeometry* g =
        ProceduralGeometry::CreateProceduralGeometry(m_solver, entity, nullptr, this);
    if (!g)
        return nullptr;
    g->AddToZMR();
    AddProceduralGeometry(g);
    return g;
}

SolverOffset* SolverOffset::CreateSolverOffset(Solver* solver, OffsetFacesOp* operation)
{
    return new SolverOffset(solver, operation);
}

int SolverOffset::Regenerate()
{
    return !m_operation || m_operation->MakeOffsetSurfaces(m_solver) ? KEV_REGENERATED
                                                                     : KEV_REGENERATION_FAILED;
}

}  // namespace QEL
