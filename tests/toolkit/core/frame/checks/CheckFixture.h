// A live interaction populated with one object of every kind an argument check tells apart:
// an instance of a block, references on and off it, free geometry, the model objects of the
// upper layers, a mark and a change record.
#pragma once

#include "../../objects/InteractionFixture.h"

#include "core/kernel/KernelFacade.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/features/Feature.h"
#include "model/features/FeatureProcedureData.h"
#include "model/transaction/MappingData.h"
#include "model/relations/Relation.h"
#include "update/records/FoundData.h"

#include <type_traits>
#include <vector>

namespace QEL {
namespace testing {

// Objects that write themselves get a DoIO that writes nothing; the others need none.
template <typename Base, bool = std::is_base_of<SerializableObject, Base>::value>
class WithoutIO : public Base {
protected:
    using Base::Base;
};

template <typename Base>
class WithoutIO<Base, true> : public Base {
public:
    bool DoIO(XMLIO&) override { return false; }

protected:
    using Base::Base;
};

// A concrete object of a class whose own content does not exist yet; its snapshots are bare.
template <typename Base>
class TestObject final : public WithoutIO<Base> {
public:
    static TestObject* Create(Interaction* interaction)
    {
        TestObject* object = new TestObject(interaction);
        object->AddToInteraction();
        return object;
    }
    RollableEntity* Clone() override
    {
        TestObject* snapshot = new TestObject(nullptr);
        this->CopyTo(snapshot);
        return snapshot;
    }
    void Restore(RollableEntity* snapshot) override { this->CopyFrom(snapshot); }

private:
    explicit TestObject(Interaction* interaction) : WithoutIO<Base>(interaction) {}
};

inline Array<int> Tags(std::vector<int> tags)
{
    return Array<int>(static_cast<int>(tags.size()), tags.data());
}

inline int FirstOfBody(int body, int (*ask)(int, int*, int**))
{
    int count = 0;
    int* entities = nullptr;
    ask(body, &count, &entities);
    const int entity = count > 0 ? entities[0] : 0;
    BQ_MEMORY_free(entities);
    return entity;
}

class CheckTest : public InteractionTest {
protected:
    void SetUp() override
    {
        InteractionTest::SetUp();
        m_face = FirstFace(m_block);
        m_edge = FirstOfBody(m_block, BQ_BODY_ask_edges);
        m_vertex = FirstVertex(m_block);
        m_freePoint = brennik::build::FreePoint(1, 2, 3);
        m_freeLine = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
        m_freePlane = brennik::build::FreePlane(0, 0, 0, 0, 0, 1);

        m_instance = PlaceBlock();
        m_faceOnInstance = TestReference::Create(m_interaction, m_face, m_instance);
        m_edgeOnInstance = TestReference::Create(m_interaction, m_edge, m_instance);
        m_bareFace = TestReference::Create(m_interaction, m_face, nullptr);
        m_planeReference = TestReference::Create(m_interaction, m_freePlane, nullptr);
        m_lineReference = TestReference::Create(m_interaction, m_freeLine, nullptr);
        m_pointReference = TestReference::Create(m_interaction, m_freePoint, nullptr);

        // Empty: the fixture's references do not tell their dependents when they go.
        m_relation = Relation::TestCreateInvalid(0, m_interaction, RelationTypeFixed, 0.0, nullptr, nullptr);
        m_relation->AddToInteraction();
        m_feature = TestObject<Feature>::Create(m_interaction);
        m_mappingData = TestObject<MappingData>::Create(m_interaction);
        m_procedureData = TestObject<FeatureProcedureData>::Create(m_interaction);
        m_foundData = TestObject<FoundData>::Create(m_interaction);
        m_mark = m_interaction->CreateMark();
        m_trackingData = TrackingData::CreateQELData(m_interaction->GetTrackingManager(),
                                                     TrackingDataTypeModify)
                             ->GetTag();
    }

    int m_face = 0;
    int m_edge = 0;
    int m_vertex = 0;
    int m_freePoint = 0;
    int m_freeLine = 0;
    int m_freePlane = 0;
    Instance* m_instance = nullptr;
    Reference* m_faceOnInstance = nullptr;
    Reference* m_edgeOnInstance = nullptr;
    Reference* m_bareFace = nullptr;
    Reference* m_planeReference = nullptr;
    Reference* m_lineReference = nullptr;
    Reference* m_pointReference = nullptr;
    Relation* m_relation = nullptr;
    Feature* m_feature = nullptr;
    MappingData* m_mappingData = nullptr;
    FeatureProcedureData* m_procedureData = nullptr;
    FoundData* m_foundData = nullptr;
    int m_mark = 0;
    int m_trackingData = 0;
};

}  // namespace testing
}  // namespace QEL
