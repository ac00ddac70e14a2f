#include "solver/SolverObjects.h"

#include "solver/Solver.h"

namespace QEL {

Set::Set(Solver* solver) : GNode(solver) {}

void Set::AddToZMR()
{
    if (!m_handle)
        m_handle = System()->add_g(this);
}

bool Set::GetGeomType(ZMR3_g_type& type) { return type = ZMR3_G_SET, true; }

RTNode::RTNode(Solver* solver, const Xform& xform) : GNode(solver), m_xform(xform) {}

void RTNode::AddToZMR()
{
    if (!m_handle)
        m_handle = m_solver->GetManager()->extended_dimension_system()->add_relative_transform(this);
}

PatternNode::PatternNode(Solver* solver, GeometryBase* reference, JUN_pattern_type type, double value)
    : GNode(solver), m_reference(reference), m_type(type), m_value(value)
{
}

void PatternNode::AddToZMR()
{
    if (m_handle || !m_reference)
        return;
    m_reference->AddToZMR();
    m_handle = m_solver->GetManager()->extended_dimension_system()->add_pattern(this, m_reference->GetGNode(), m_type);
}

void SolverProceduralObject::AddToZMR()
{
    if (!m_handle)
        m_handle = m_solver->GetManager()->procedural_feature_manager()->add_procedural_feature(
            this, KEV_SOLVE_BY_REGENERATION);
}

}  // namespace QEL
