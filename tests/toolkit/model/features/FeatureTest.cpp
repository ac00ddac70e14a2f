// The feature object: its reference lists and the behaviours they share, its instance,
// rollback of its fields, its validity, and its element of the save file.

#include "FeatureFixture.h"

#include "core/enums/EnumNames.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace QEL {
namespace testing {
namespace {

void NoProcedure(int, int) {}
void OtherProcedure(int, int) {}

TEST_F(FeatureTest, FirstReferenceSetsTheInstanceOfEveryTypeButSimple)
{
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(m_interaction, m_block, identity);
    Instance* other = Instance::Create(m_interaction, brennik::build::Block(), identity);
    Reference* top = RefOn(m_top, instance);
    for (FeatureType type : {FeatureTypeSimple, FeatureTypeSimpleRecreate, FeatureTypeComplexRecreate}) {
        SCOPED_TRACE(FeatureTypeToString(type));
        Feature* feature = Feature::Create(m_interaction, type);
        feature->AddReference(top);
        const bool simple = type == FeatureTypeSimple;
        EXPECT_EQ(feature->GetInstance(), simple ? nullptr : instance);
        // Once set, only the same instance is accepted; a simple feature takes none.
        EXPECT_EQ(feature->SetInstance(instance), !simple);
        EXPECT_FALSE(feature->SetInstance(other));
        EXPECT_EQ(feature->GetInstance(), simple ? nullptr : instance);
    }
}

TEST_F(FeatureTest, ReferencesOnOneBodyTakeTheBehaviourOfTheEarliest)
{
    Reference* bottom = RefOn(Face(0, 0, -1, 0));
    Reference* top = RefOn(m_top);
    const int otherBlock = brennik::build::Block(1, 1, 1);
    Reference* elsewhere = RefOn(FaceAt(otherBlock, 0, 0, 1, 1));
    bottom->SetBehaviour(ReferenceBehaviourPositioning);
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimple);
    feature->AddReference(bottom);
    feature->AddReference(elsewhere);
    feature->AddReference(top);
    EXPECT_EQ(top->GetBehaviour(), ReferenceBehaviourPositioning);
    EXPECT_EQ(elsewhere->GetBehaviour(), ReferenceBehaviourModelling);

    // Setting a behaviour goes one feature step, to the feature's references on the same body.
    top->SetBehaviour(ReferenceBehaviourModelling);
    EXPECT_EQ(bottom->GetBehaviour(), ReferenceBehaviourModelling);
    elsewhere->SetBehaviour(ReferenceBehaviourPositioning);
    EXPECT_EQ(top->GetBehaviour(), ReferenceBehaviourModelling);
}

TEST_F(FeatureTest, ReferenceListsUnlinkOnRemovalPurgeAndDestroy)
{
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
    Feature* sharing = Feature::Create(m_interaction, FeatureTypeSimple);
    Reference* top = RefOn(m_top);
    Reference* side = RefOn(Face(1, 0, 0, 10));
    feature->AddReference(top);
    feature->AddReference(top);
    feature->AddDependents(top);
    feature->AddDependents(side);
    sharing->AddDependents(side);
    EXPECT_EQ(top->GetFeatureCount(), 3);
    EXPECT_EQ(top->GetObjectCount(), 3);
    EXPECT_EQ(feature->GetReference(-1), nullptr);
    EXPECT_EQ(feature->GetReference(2), nullptr);
    EXPECT_EQ(feature->GetDependent(1), side);

    // A reference going away leaves no entry behind in any list.
    top->Destroy();
    EXPECT_EQ(feature->GetReferenceCount(), 0);
    EXPECT_EQ(feature->GetDependentCount(), 1);

    // Purging drops entries whose entity is gone and destroys a reference no one else uses.
    Reference* front = RefOn(Face(0, -1, 0, 0));
    feature->AddDependents(front);
    const int frontTag = front->GetTag();
    DeleteEntity(m_block);
    feature->CleanUp(false);
    EXPECT_EQ(feature->GetDependentCount(), 0);
    EXPECT_EQ(m_interaction->FindReferenceFromTag(frontTag), nullptr);
    EXPECT_EQ(m_interaction->FindReferenceFromTag(side->GetTag()), side);
    EXPECT_EQ(side->GetFeatureCount(), 1);

    // Destroying the feature unlinks it from what it still lists.
    sharing->Destroy();
    EXPECT_EQ(side->GetFeatureCount(), 0);
}

TEST_F(FeatureTest, RollbackRestoresEveryFieldButTheProcedure)
{
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(m_interaction, m_block, identity);
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
    Feature::MapIdentifierToProcedure("boss", &OtherProcedure);
    feature->SetAppDataInteger(1, 10);
    const int mark = m_interaction->CreateMark();
    feature->SetInstance(instance);
    feature->AddReference(RefOn(m_top));
    feature->AddDependents(RefOn(Face(1, 0, 0, 10)));
    feature->SetFeatureType(FeatureTypeComplexRecreate);
    feature->SetUpdateRequired(true);
    feature->SetAppDataInteger(1, 11);
    feature->SetAppDataDouble(2, 2.5);
    feature->SetAppIdentifier("boss");
    EXPECT_EQ(feature->GetProcedure(nullptr), &OtherProcedure);
    feature->SetProcedure(&NoProcedure, this);
    m_interaction->CreateMark();
    m_interaction->RollToMark(mark);

    EXPECT_EQ(feature->GetInstance(), nullptr);
    EXPECT_EQ(feature->GetReferenceCount(), 0);
    EXPECT_EQ(feature->GetDependentCount(), 0);
    EXPECT_EQ(feature->GetFeatureType(), FeatureTypeSimpleRecreate);
    EXPECT_FALSE(feature->GetUpdateRequired());
    int integer = 0;
    EXPECT_TRUE(feature->GetAppDataInteger(1, &integer));
    EXPECT_EQ(integer, 10);
    EXPECT_FALSE(feature->GetAppDataDouble(2, nullptr));
    EXPECT_STREQ(feature->GetAppIdentifier(), "");
    void* data = nullptr;
    EXPECT_EQ(feature->GetProcedure(&data), &NoProcedure);
    EXPECT_EQ(data, this);
}

TEST_F(FeatureTest, IdentifierBringsItsMappedProcedureAndNullClearsOnlyTheIdentifier)
{
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
    int appData = 0;
    feature->SetProcedure(&NoProcedure, &appData);
    feature->SetAppIdentifier("unmapped");
    EXPECT_EQ(feature->GetProcedure(nullptr), &NoProcedure);
    Feature::MapIdentifierToProcedure("mapped", &OtherProcedure);
    feature->SetAppIdentifier("mapped");
    void* data = &appData;
    EXPECT_EQ(feature->GetProcedure(&data), &OtherProcedure);
    EXPECT_EQ(data, nullptr);
    feature->SetAppIdentifier(nullptr);
    EXPECT_STREQ(feature->GetAppIdentifier(), "");
    EXPECT_EQ(feature->GetProcedure(nullptr), &OtherProcedure);
}

TEST_F(FeatureTest, ValidityReportsEachSpoiledKind)
{
    struct Case {
        int kind;
        std::vector<InvalidityType> codes;
    };
    const Case cases[] = {
        {0, {}},
        {1, {InvalidityTypeBadObject}},
        {2, {InvalidityTypeBadPointer, InvalidityTypeBadPointer}},
        {3, {InvalidityTypeBadPointer, InvalidityTypeBadPointer}},
        {4, {InvalidityTypeBadPointer, InvalidityTypeBadPointer}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Feature* feature = Feature::TestCreateInvalid(c.kind, m_interaction, FeatureTypeSimple);
        std::vector<TaggedEntity*> bad;
        std::vector<InvalidityType> codes;
        EXPECT_EQ(feature->CheckValidity(bad, codes), c.codes.empty());
        EXPECT_EQ(codes, c.codes);
        feature->TestDestroyInvalid(0);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class FeatureSaveTest : public FeatureTest {
protected:
    void TearDown() override
    {
        if (m_loaded)
            m_loaded->Destroy();
        std::remove(m_path.c_str());
        FeatureTest::TearDown();
    }
    Interaction* SaveAndLoad()
    {
        EXPECT_TRUE(m_interaction->SaveToFile(m_path.c_str()));
        m_loaded = Interaction::CreateFromFile(m_path.c_str());
        return m_loaded;
    }
    std::string m_path = "/tmp/qel_feature_" + std::to_string(getpid()) + ".xml";
    Interaction* m_loaded = nullptr;
};

TEST_F(FeatureSaveTest, FeaturesWithProfilesAndApplicationDataLoadEqual)
{
    const double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* placed = Instance::Create(m_interaction, m_block, identity);
    Instance* profileInstance = Instance::Create(m_interaction, brennik::build::Block(5, 5, 5), identity);
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
    feature->AddReference(RefOn(m_top, placed));
    Reference* profile = RefOn(FaceAt(profileInstance->GetBodyTag(), 0, 0, 1, 5), profileInstance);
    feature->AddProfileReference(profile);
    feature->AddDependents(RefOn(Face(1, 0, 0, 10), placed));
    feature->SetAppDataDouble(1, 0.1);
    feature->SetAppDataInteger(7, -3);
    feature->SetAppDataInteger(2, 4);
    feature->SetAppIdentifier("saved");
    feature->SetProcedure(&NoProcedure, nullptr);
    feature->SetUpdateRequired(true);
    Feature::Create(m_interaction, FeatureTypeComplexRecreate);
    // The procedure is not saved: a loaded feature takes the one mapped to its identifier when
    // it loads, and the feature it was saved from keeps its own.
    Feature::MapIdentifierToProcedure("saved", &OtherProcedure);

    Interaction* loaded = SaveAndLoad();
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->GetFeatureCount(), 2);
    ResultType result = ResultTypeFail;
    EXPECT_TRUE(loaded->Compare(m_interaction, false, &result));
    EXPECT_EQ(result, ResultTypeOk);
    Feature* read = loaded->GetFeature(0);
    EXPECT_EQ(read->GetProcedure(nullptr), &OtherProcedure);
    EXPECT_EQ(feature->GetProcedure(nullptr), &NoProcedure);
    EXPECT_EQ(loaded->GetFeature(1)->GetProcedure(nullptr), nullptr);
    EXPECT_EQ(read->GetProfileReference(0)->GetBehaviour(), ReferenceBehaviourPositioning);
    EXPECT_EQ(read->GetProfileReference(0)->GetFeatureCount(), 1);
    EXPECT_EQ(loaded->GetFeature(1)->GetFeatureType(), FeatureTypeComplexRecreate);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(loaded->CheckValidity(bad, codes));

    // Integers before doubles, each by ascending key.
    const std::string text = ReadFile(m_path);
    const size_t first = text.find("<AppData type=\"int\" id=\"2\"");
    const size_t second = text.find("<AppData type=\"int\" id=\"7\"");
    const size_t third = text.find("<AppData type=\"double\" id=\"1\"");
    EXPECT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(third, std::string::npos);
}

TEST_F(FeatureSaveTest, NullDependentIsSkippedAndUnknownApplicationDataFailsTheLoad)
{
    Feature* feature = Feature::Create(m_interaction, FeatureTypeSimple);
    feature->AddReference(RefOn(m_top));
    feature->AddDependents(RefOn(Face(1, 0, 0, 10)));
    feature->SetAppDataInteger(1, 1);
    ASSERT_TRUE(m_interaction->SaveToFile(m_path.c_str()));
    const std::string saved = ReadFile(m_path);
    const size_t dependents = saved.find("<FeatureDependentRef");
    ASSERT_NE(dependents, std::string::npos);
    const size_t id = saved.find("referenceRef=\"id", dependents);
    ASSERT_NE(id, std::string::npos);

    std::string text = saved;
    const size_t idEnd = text.find('"', id + 14);
    text.replace(id + 14, idEnd - id - 14, "null");
    std::ofstream(m_path) << text;
    m_loaded = Interaction::CreateFromFile(m_path.c_str());
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetFeature(0)->GetDependentCount(), 0);
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_loaded->CheckValidity(bad, codes));
    m_loaded->Destroy();
    m_loaded = nullptr;

    text = saved;
    const size_t type = text.find("type=\"int\"");
    ASSERT_NE(type, std::string::npos);
    text.replace(type, 10, "type=\"long\"");
    std::ofstream(m_path) << text;
    EXPECT_EQ(Interaction::CreateFromFile(m_path.c_str()), nullptr);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
