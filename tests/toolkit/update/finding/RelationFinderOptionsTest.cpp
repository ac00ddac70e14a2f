// The relation finder's options and state as an interaction holds them: defaults, refused
// indices and levels, the reference lists' upkeep, save and load, comparison and rollback.
#include "../../core/persist/savefile/SaveFileFixture.h"

#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "update/finding/RelationFinder.h"

namespace QEL {
namespace testing {
namespace {

class RelationFinderOptionsTest : public SaveFileTest {
protected:
    void SetUp() override
    {
        SaveFileTest::SetUp();
        m_finder = RelationFinder::Of(m_interaction);
        ASSERT_NE(m_finder, nullptr);
        const std::vector<int> faces = Faces(m_block);
        m_a = Reference::Create(m_interaction, faces[0], nullptr);
        m_b = Reference::Create(m_interaction, faces[1], nullptr);
        ASSERT_TRUE(m_a && m_b);
    }
    RelationFinder* Loaded() const { return RelationFinder::Of(m_loaded); }

    RelationFinder* m_finder = nullptr;
    Reference* m_a = nullptr;
    Reference* m_b = nullptr;
};

TEST_F(RelationFinderOptionsTest, ANewFinderOffersTheDefaultCombinationsAtLevelZero)
{
    int offered = 0;
    for (int r = 0; r < FindRelationTypeMax; ++r)
        for (int f = 0; f < FindGeometryTypeMax; ++f)
            for (int t = 0; t < FindGeometryTypeMax; ++t) {
                const int level = m_finder->GetRelationGeometryOption(
                    FindRelationType(r), FindGeometryType(f), FindGeometryType(t));
                EXPECT_TRUE(level == 0 || level == -1);
                offered += level == 0;
            }
    EXPECT_EQ(offered, 447);
    EXPECT_EQ(m_finder->GetRelationGeometryOption(FindRelationTypeCoPlanar, FindGeometryTypePlane,
                                                  FindGeometryTypeSphereFull), 0);
    EXPECT_EQ(m_finder->GetRelationGeometryOption(FindRelationTypeParallel, FindGeometryTypeCylinderFull,
                                                  FindGeometryTypePlane), -1);
    EXPECT_TRUE(m_finder->GetCreateRelations());
    EXPECT_FALSE(m_finder->GetSimilarGeometryMatchAxes() || m_finder->GetSymmetryMatchExact() ||
                 m_finder->GetConfigureLockCylinderRadius() || m_finder->GetConfigureLockConeHalfAngle());
    EXPECT_TRUE(m_finder->SetFindQelRelationType(RelationTypeDistance, true));
    EXPECT_FALSE(m_finder->SetFindQelRelationType(RelationTypeDirectedDistance, true));
}

TEST_F(RelationFinderOptionsTest, IndicesOutsideTheMatrixAndWithdrawingLevelsAreRefused)
{
    const struct {
        int relation, from, to, level;
    } refused[] = {
        {-1, 0, 0, 2},
        {0, -1, 0, 2},
        {0, 0, -5, 2},
        {FindRelationTypeMax, 0, 0, 2},
        {0, FindGeometryTypeMax, 0, 2},
        {FindRelationTypeSymmetric, FindGeometryTypePlane, FindGeometryTypeCylinderFull, 2},  // not offered
        {FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, -1},         // would lock it
    };
    for (const auto& c : refused) {
        EXPECT_EQ(m_finder->SetRelationGeometryOption(FindRelationType(c.relation), FindGeometryType(c.from),
                                                      FindGeometryType(c.to), c.level), -1)
            << c.relation << " " << c.from << " " << c.to << " " << c.level;
    }
    EXPECT_EQ(m_finder->GetRelationGeometryOption(FindRelationType(-1), FindGeometryTypePlane, FindGeometryTypePlane),
              -1);
    EXPECT_EQ(m_finder->GetRelationGeometryOption(FindRelationTypeParallel, FindGeometryTypePlane,
                                                  FindGeometryTypePlane), 0);
    EXPECT_EQ(m_finder->SetRelationGeometryOption(FindRelationTypeParallel, FindGeometryTypePlane,
                                                  FindGeometryTypePlane, 3), 3);
}

TEST_F(RelationFinderOptionsTest, SavedOptionsLoadBackEqualAndOneChangeDiffers)
{
    m_finder->SetRelationGeometryOption(FindRelationTypeTangent, FindGeometryTypePlane, FindGeometryTypeCylinderFull, 3);
    m_finder->SetSymmetryMatchExact(true);
    m_finder->SetConfigureLockTorusRadius(true);
    m_finder->SetSymmetryPlanes({m_a});
    m_finder->SetCoPlaxisReferences({m_a, m_b});
    m_finder->SetPrinciplePlanes({m_b});
    Relation* parallel = Relation::CreateBinary(m_interaction, RelationTypeParallel, m_a, m_b);
    ASSERT_NE(parallel, nullptr);
    m_finder->AddFoundRelation(parallel, 2);
    m_finder->AddCreatedRelation(parallel);

    ASSERT_EQ(SaveLoadCompare(), ResultTypeOk);
    RelationFinder* loaded = Loaded();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(m_finder->IsEqual(*loaded));
    EXPECT_EQ(loaded->GetRelationGeometryOption(FindRelationTypeTangent, FindGeometryTypePlane,
                                                FindGeometryTypeCylinderFull), 3);
    EXPECT_TRUE(loaded->GetSymmetryMatchExact());
    EXPECT_EQ(loaded->GetCoPlaxisReferences().size(), 2u);
    ASSERT_EQ(loaded->GetFoundRelations().size(), 1u);
    EXPECT_EQ(loaded->GetFoundRelations().begin()->second, 2);

    m_finder->SetRelationGeometryOption(FindRelationTypeTangent, FindGeometryTypePlane, FindGeometryTypeCylinderFull, 2);
    EXPECT_FALSE(m_finder->IsEqual(*loaded));
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    m_finder->SetRelationGeometryOption(FindRelationTypeTangent, FindGeometryTypePlane, FindGeometryTypeCylinderFull, 3);
    m_finder->SetPrinciplePlanes({m_a});
    EXPECT_FALSE(m_finder->IsEqual(*loaded));
}

TEST_F(RelationFinderOptionsTest, AnOptionElementForACombinationNotOfferedFailsTheLoad)
{
    m_finder->SetRelationGeometryOption(FindRelationTypeParallel, FindGeometryTypePlane, FindGeometryTypePlane, 2);
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    std::string text = ReadFile(path);
    const std::string offered = "relationType=\"FindRelationTypeParallel\"";
    ASSERT_NE(text.find(offered), std::string::npos) << text;
    for (const char* bad : {"relationType=\"FindRelationTypeSimilar\"", "relationType=\"FindRelationTypeMax\"",
                            "relationType=\"NoSuchType\""}) {
        std::string changed = text;
        ReplaceAll(changed, offered, bad);
        WriteFile(PathOf("b.xml"), changed);
        XMLData data;
        Interaction* loaded = data.CreateInteractionFromFile(PathOf("b.xml").c_str());
        EXPECT_EQ(loaded, nullptr) << bad;
        if (loaded)
            loaded->Destroy();
    }
}

TEST_F(RelationFinderOptionsTest, AListedReferenceThatCannotBeFoundIsLeftOutOnLoad)
{
    m_finder->SetPrinciplePlanes({m_a, m_b});
    const std::string path = PathOf("a.xml");
    ASSERT_TRUE(m_interaction->SaveToFile(path.c_str()));
    std::string text = ReadFile(path);
    const std::string listed = "<PrincipleRef referenceRef=\"id" + std::to_string(m_a->GetEntityId()) + "\"";
    ASSERT_NE(text.find(listed), std::string::npos) << text;
    ReplaceAll(text, listed, "<PrincipleRef referenceRef=\"id99999\"");
    WriteFile(PathOf("b.xml"), text);
    XMLData data;
    m_loaded = data.CreateInteractionFromFile(PathOf("b.xml").c_str());
    ASSERT_NE(m_loaded, nullptr);
    const std::vector<Reference*>& planes = Loaded()->GetPrinciplePlanes();
    ASSERT_EQ(planes.size(), 1u) << "no null stands in for the missing one";
    EXPECT_EQ(planes[0]->GetEntityId(), m_b->GetEntityId());
}

TEST_F(RelationFinderOptionsTest, ARolledBackChangeIsRestored)
{
    m_interaction->EnableRollback();
    m_finder->SetRelationGeometryOption(FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, 2);
    m_finder->SetSymmetryPlanes({m_a});
    const int mark = m_interaction->CreateMark();
    m_finder->SetRelationGeometryOption(FindRelationTypeCoPlanar, FindGeometryTypePlane, FindGeometryTypePlane, 5);
    m_finder->SetCreateRelations(false);
    m_finder->SetSymmetryPlanes({m_b, m_a});
    m_finder->ResetRelationGeometryOptions();
    m_interaction->RollToMark(mark);
    RelationFinder* finder = RelationFinder::Of(m_interaction);
    EXPECT_EQ(finder->GetRelationGeometryOption(FindRelationTypeCoPlanar, FindGeometryTypePlane,
                                                FindGeometryTypePlane), 2);
    EXPECT_TRUE(finder->GetCreateRelations());
    EXPECT_EQ(finder->GetSymmetryPlanes(), std::vector<Reference*>{m_a});
}

TEST_F(RelationFinderOptionsTest, AReferenceLeavesEveryListWhereverItStood)
{
    m_finder->SetSymmetryPlanes({m_a, m_b, m_a});
    m_finder->SetCoPlaxisReferences({m_a, m_a});
    m_finder->SetPrinciplePlanes({nullptr, m_a, m_b});
    EXPECT_EQ(m_finder->GetPrinciplePlanes().size(), 2u) << "a null never enters a list";
    m_a->Destroy();
    EXPECT_EQ(m_finder->GetSymmetryPlanes(), std::vector<Reference*>{m_b});
    EXPECT_TRUE(m_finder->GetCoPlaxisReferences().empty());
    EXPECT_EQ(m_finder->GetPrinciplePlanes(), std::vector<Reference*>{m_b});
}

TEST_F(RelationFinderOptionsTest, ClearingFoundRelationsDestroysOrOnlyForgetsTheCreatedOnes)
{
    for (bool destroy : {false, true}) {
        Relation* parallel = Relation::CreateBinary(m_interaction, RelationTypeParallel, m_a, m_b);
        ASSERT_NE(parallel, nullptr);
        m_finder->AddCreatedRelation(parallel);
        m_finder->AddFoundRelation(parallel, 1);
        const int before = m_interaction->GetRelationCount();
        m_finder->ClearFoundRelations(destroy);
        EXPECT_TRUE(m_finder->GetFoundRelations().empty());
        EXPECT_TRUE(m_finder->GetCreatedRelations().empty());
        EXPECT_EQ(m_interaction->GetRelationCount(), destroy ? before - 1 : before) << destroy;
        if (!destroy)
            parallel->Destroy();
    }
}

}  // namespace
}  // namespace testing
}  // namespace QEL
