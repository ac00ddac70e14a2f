// Domain fixtures of the object-model tests: a fresh kernel session, a live interaction and a
// block body, with a concrete reference and a solver operation to stand in for the classes
// of the layers above the core.
#pragma once

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/rollback/RollbackManager.h"
#include "core/objects/TagManager.h"
#include "model/references/Reference.h"
#include "solver/operations/SolverOperation.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

namespace QEL {
namespace testing {

// A reference that copies its key in snapshots, leaves its instance when destroyed and counts
// the live (not snapshot) references.
class TestReference : public Reference {
public:
    static TestReference* Create(Interaction* interaction, int entity, Instance* instance)
    {
        TestReference* reference = new TestReference(interaction, entity, instance);
        if (instance)
            instance->AddReference(reference);
        reference->AddToInteraction();
        return reference;
    }
    ~TestReference() override
    {
        if (m_counted)
            --s_live;
    }

    RollableEntity* Clone() override
    {
        TestReference* snapshot = new TestReference(nullptr, m_entity, m_instance);
        CopyTo(snapshot);
        return snapshot;
    }
    void Restore(RollableEntity* snapshot) override { CopyFrom(snapshot); }
    // Type and id only, so that the comparison of interactions is seen on its own.
    bool Compare(TaggedEntity* other) override { return TaggedEntity::Compare(other); }
    void CopyTo(RollableEntity* destination) override
    {
        Object::CopyTo(destination);
        if (TestReference* target = dynamic_cast<TestReference*>(destination)) {
            target->m_entity = m_entity;
            target->m_instance = m_instance;
        }
    }
    void CopyFrom(RollableEntity* source) override
    {
        Object::CopyFrom(source);
        if (TestReference* from = dynamic_cast<TestReference*>(source)) {
            m_entity = from->m_entity;
            m_instance = from->m_instance;
        }
    }
    void Destroy() override
    {
        if (m_instance)
            m_instance->RemoveReference(this);
        TaggedEntity::Destroy();
    }
    bool DoIO(XMLIO&) override { return false; }

    static int s_live;

private:
    TestReference(Interaction* interaction, int entity, Instance* instance)
        : Reference(interaction, entity, instance), m_counted(interaction != nullptr)
    {
        if (m_counted)
            ++s_live;
    }

    bool m_counted;
};

class TestOperation : public SolverOperation {
    int Solve(Solver*) override { return 0; }
};

inline int CountFaces(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    BQ_MEMORY_free(faces);
    return count;
}

inline int FirstFace(int body)
{
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(body, &count, &faces);
    const int face = count > 0 ? faces[0] : 0;
    BQ_MEMORY_free(faces);
    return face;
}

inline int FirstVertex(int body)
{
    int count = 0;
    int* vertices = nullptr;
    BQ_BODY_ask_vertices(body, &count, &vertices);
    const int vertex = count > 0 ? vertices[0] : 0;
    BQ_MEMORY_free(vertices);
    return vertex;
}

inline bool IsLiveApplicationItem(int tag)
{
    bool isItem = false;
    return BQ_APPITEM_is(tag, &isItem) == BQ_ERROR_no_errors && isItem;
}

inline Xform Translation(double x, double y, double z)
{
    Xform xform;
    xform.SetToTranslation(Vec(x, y, z));
    return xform;
}

// A fresh session, one live interaction and a 10 x 20 x 30 block in the session's partition.
class InteractionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        TestReference::s_live = 0;
        m_interaction = new Interaction(CreateTypeLive);
        m_block = brennik::build::Block();
    }
    void TearDown() override
    {
        DestroyInteraction();
        EXPECT_EQ(TestReference::s_live, 0);
        EXPECT_EQ(TagManager::GetInteractionCount(), 0);
        brennik::test::Reset();
    }
    void DestroyInteraction()
    {
        if (m_interaction)
            m_interaction->Destroy();
        m_interaction = nullptr;
    }
    Instance* PlaceBlock() { return Instance::Create(m_interaction, m_block, nullptr); }

    Interaction* m_interaction = nullptr;
    int m_block = 0;
};

}  // namespace testing
}  // namespace QEL
