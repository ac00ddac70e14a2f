// Relations in the interaction's save file: they load back equal, with their values, subtypes
// and application identifiers, and a relation whose reference cannot be found fails the load.
#include "../../core/persist/savefile/SaveFileFixture.h"

#include "model/relations/Relation.h"

namespace QEL {
namespace testing {
namespace {

class RelationSaveFileTest : public SaveFileTest {
protected:
    void SetUp() override
    {
        SaveFileTest::SetUp();
        const double moved[4][4] = {{1, 0, 0, 50}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        Instance* first = Instance::Create(m_interaction, m_block, nullptr);
        Instance* second = Instance::Create(m_interaction, m_block, moved);
        const std::vector<int> faces = Faces(m_block);
        m_distance = Relation::CreateBinary(m_interaction, RelationTypeDistance,
                                            Reference::Create(m_interaction, faces[0], first),
                                            Reference::Create(m_interaction, faces[0], second));
        ASSERT_NE(m_distance, nullptr);
        m_distance->SetApplicationString("gap");
        m_distance->SetValue(42.125);

        // A bare body: the blend's axis parallel to a planar neighbour.
        const std::vector<int> blended = Faces(m_blended);
        int cylinder = 0, plane = 0;
        for (int face : blended) {
            const int classCode = GetGeometryClassOfTopology(face);
            (classCode == KernelClassCylinder ? cylinder : plane) = face;
        }
        m_cylinder = Reference::Create(m_interaction, cylinder, nullptr);
        m_parallel = Relation::CreateBinary(m_interaction, RelationTypeParallel, m_cylinder,
                                            Reference::Create(m_interaction, plane, nullptr));
        ASSERT_NE(m_parallel, nullptr);
        ASSERT_TRUE(m_parallel->SetRelationSubtype(m_cylinder, RelationSubtypeAxis, false));
    }

    Relation* m_distance = nullptr;
    Relation* m_parallel = nullptr;
    Reference* m_cylinder = nullptr;
};

TEST_F(RelationSaveFileTest, RelationsLoadBackEqualAndAChangedOneDiffers)
{
    ASSERT_EQ(SaveLoadCompare(), ResultTypeOk);
    ASSERT_EQ(m_loaded->GetRelationCount(), 2);
    Relation* distance = m_loaded->GetRelation(0);
    Relation* parallel = m_loaded->GetRelation(1);
    EXPECT_EQ(distance->GetType(), RelationTypeDistance);
    EXPECT_EQ(distance->GetValue(), 42.125);
    EXPECT_STREQ(distance->GetApplicationString(), "gap");
    ASSERT_EQ(parallel->GetNumReferences(), 2);
    EXPECT_EQ(parallel->GetRelationSubtype(parallel->GetReference(0)), RelationSubtypeAxis);
    EXPECT_EQ(parallel->GetReference(0)->GetRelationCount(), 1);

    ResultType result = ResultTypeUnknown;
    distance->SetValue(42.125 + 1e-9);
    EXPECT_TRUE(m_interaction->Compare(m_loaded, false, &result)) << "within the linear tolerance";
    distance->SetValue(43.0);
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    EXPECT_EQ(result, ResultTypeObjectDiffers);
    distance->SetValue(42.125);
    parallel->SetRelationSubtype(parallel->GetReference(0), RelationSubtypeBoundary, false);
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    EXPECT_EQ(result, ResultTypeObjectDiffers);
}

TEST_F(RelationSaveFileTest, UnresolvedRelationReferenceFailsTheLoad)
{
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    const std::string saved = ReadFile(path);
    const std::string cylinderRef = "referenceRef=\"id" + std::to_string(m_cylinder->GetEntityId()) + "\"";
    const size_t relRef = saved.find(cylinderRef, saved.find("<RelRef"));
    ASSERT_NE(relRef, std::string::npos) << saved;

    std::string text = saved;
    text.replace(relRef, cylinderRef.size(), "referenceRef=\"id9999\"");
    XMLData data;
    const int entities = CountKernelEntities();
    EXPECT_EQ(LoadText(text, data), nullptr);
    ASSERT_EQ(data.GetErrors().count(m_parallel->GetEntityId()), 1u);
    EXPECT_EQ(data.GetErrors().at(m_parallel->GetEntityId()), XMLErrorCodeRelationUnresolved);
    EXPECT_EQ(TagManager::GetInteractionCount(), 1);
    EXPECT_EQ(CountKernelEntities(), entities);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
