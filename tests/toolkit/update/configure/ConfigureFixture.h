// Fixture of the configure tests: a fresh kernel session, a live interaction with its update
// manager's Solver and auto-constraint wrapper, and helpers to configure an operation and
// read where the solve moved a face.
#pragma once

#include "../../solver/SolverFixture.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/RigidGroup.h"
#include "solver/operations/SolverOperation.h"
#include "update/configure/ConfigureManager.h"
#include "update/pass/UpdateManager.h"

#include <gtest/gtest.h>

namespace QEL {
namespace testing {

class ConfigureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        tessik_test::ResetControls();
        m_interaction = new Interaction(CreateTypeLive);
        m_interaction->CreateUpdateManager();
        Update()->EnsureSolverCreated();
    }
    void TearDown() override
    {
        m_manager.reset();
        m_drag.reset();
        tessik_test::ResetControls();
        m_interaction->Destroy();
        brennik::test::Reset();
    }
    UpdateManager* Update() const { return m_interaction->GetUpdateManager(); }
    Solver* S() const { return Update()->GetSolver(); }
    YSKManager* Ysk() const { return Update()->GetYSKManager(); }
    // A fresh Solver and wrapper, as the next edit has.
    void NewEdit()
    {
        m_manager.reset();
        Update()->Clear();
        Update()->EnsureSolverCreated();
    }
    Reference* Ref(int entity) { return Reference::Create(m_interaction, entity, nullptr); }
    // A linear drag of the face along the direction, selected and configured (in full, or
    // from the relations); the configure's result. The manager stays for the test to read.
    bool ConfigureDrag(SolverDragLinear*& drag, int face, double along, UpdateStatus& status, bool full = true,
                       Vec direction = Vec(0, 0, 1))
    {
        m_interaction->AddSelectedReference(Ref(face));
        const double origin[3] = {0, 0, 0};
        const double axis[3] = {direction.x, direction.y, direction.z};
        m_drag.reset(new SolverDragLinear(m_interaction, origin, axis, origin));
        drag = m_drag.get();
        m_manager.reset(new ConfigureManager(m_interaction, S(), Ysk(), drag));
        const bool result = full ? m_manager->Configure(status) : m_manager->ConfigureFromRelations(status);
        const double to[3] = {direction.x * along, direction.y * along, direction.z * along};
        drag->SetDragPosition(to);
        return result;
    }
    // The translation the last solve gave the face's geometry; zero when it did not move.
    Vec Moved(int face)
    {
        Geometry* geometry = S()->FindGeometry(GeometryKey(face, nullptr));
        double matrix[4][4];
        if (!geometry || !geometry->GetGNode() || S()->GetDimensionSystem()->transform(geometry->GetGNode(), matrix) == 0)
            return Vec(0, 0, 0);
        return Vec(matrix[0][3], matrix[1][3], matrix[2][3]);
    }
    // The drag moves its set; the top's own geometry is in the system only when something
    // else ties it.
    Vec DragSetMoved(SolverDragOperation* drag)
    {
        double matrix[4][4];
        Set* set = drag->GetDragGroup() ? drag->GetDragGroup()->GetDragSet() : nullptr;
        if (!set || S()->GetDimensionSystem()->transform(set->GetGNode(), matrix) == 0)
            return Vec(0, 0, 0);
        return Vec(matrix[0][3], matrix[1][3], matrix[2][3]);
    }

    // The radius change the last solve gave the face's geometry.
    double RadiusChange(int face)
    {
        Geometry* geometry = S()->FindGeometry(GeometryKey(face, nullptr));
        double matrix[4][4];
        double change = 0.0;
        if (geometry && geometry->GetGNode())
            S()->GetDimensionSystem()->transform(geometry->GetGNode(), matrix, &change);
        return change;
    }

    Interaction* m_interaction = nullptr;
    std::unique_ptr<SolverDragLinear> m_drag;
    std::unique_ptr<ConfigureManager> m_manager;
};

}  // namespace testing
}  // namespace QEL
