// The exported calls that make features and give them references, profile references and
// dependents; and every call of the feature families given an index outside its list or a tag
// that names nothing.

#include "BossFeatureFixture.h"

#include "api/features/QelAddOnFeatureApi.h"
#include "api/features/QelFeatureProcedureDataApi.h"
#include "api/features/QelFeaturePropertiesApi.h"
#include "api/features/QelFeatureReferencesApi.h"

#include <functional>

namespace QEL {
namespace testing {
namespace {

class FeatureReferencesApiTest : public BossPlateTest {
protected:
    void SetUp() override
    {
        BossPlateTest::SetUp();
        ResultType result;
        m_feature = CreateFeature(m_tag, FeatureTypeComplexRecreate, &result);
        m_other = brennik::build::Block();
        m_otherPlaced = CreateInstance(m_tag, m_other, s_identity, &result);
    }
    Array<int> Tags(std::initializer_list<int> tags)
    {
        Array<int> array;
        for (int tag : tags)
            array.Add(tag);
        return array;
    }
    std::vector<int> References()
    {
        ResultType result;
        Array<int> tags;
        FeatureGetReferences(m_tag, m_feature, tags, &result);
        return GetArrayVector(tags);
    }

    int m_feature = 0;
    int m_other = 0;
    int m_otherPlaced = 0;
};

TEST_F(FeatureReferencesApiTest, FeaturesAreListedInCreationOrderAndTypeNoneOnlyWithChecksOff)
{
    ResultType result;
    const int second = CreateFeature(m_tag, FeatureTypeSimple, &result);
    EXPECT_EQ(GetFeatureCount(m_tag, &result), 2);
    EXPECT_EQ(GetFeature(m_tag, 0, &result), m_feature);
    EXPECT_EQ(GetFeature(m_tag, 1, &result), second);

    EXPECT_EQ(CreateFeature(m_tag, FeatureTypeNone, &result), 0);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(GetFeatureCount(m_tag, &result), 2);
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    const int none = CreateFeature(m_tag, FeatureTypeNone, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(FeatureGetType(m_tag, none, &result), FeatureTypeNone);
}

// A list is added whole or not at all: an element that does not fit the ones before it (here a
// face of another body) refuses the list, and the feature keeps the references it had.
TEST_F(FeatureReferencesApiTest, AListOfReferencesIsAddedWholeOrNotAtAll)
{
    const std::vector<int> boss = BossFaces();
    const int top = ReferenceOn(boss[0], m_placed);
    const int side = ReferenceOn(boss[1], m_placed);
    const int elsewhere = ReferenceOn(FaceAt(m_other, 0, 0, 1, 30), m_otherPlaced);
    const int back = ReferenceOn(boss[2], m_placed);
    ResultType result;
    FeatureAddReferences(m_tag, m_feature, Tags({top, side, elsewhere, back}), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetReferenceCount(m_tag, m_feature, &result), 0);
    // A tag that names no reference is refused with checks off too: each element is followed.
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    FeatureAddReferences(m_tag, m_feature, Tags({top, kUnknownTag}), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetReferenceCount(m_tag, m_feature, &result), 0);
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(true);

    FeatureAddReferences(m_tag, m_feature, Tags({top, side, back, top}), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(References(), (std::vector<int>{top, side, back, top}));
    // The first reference gave the feature its instance.
    EXPECT_EQ(FeatureGetInstance(m_tag, m_feature, &result), m_placed);

    // Profile references too: the second is on another instance than the first.
    const int profile = ReferenceOn(FaceAt(m_other, 0, 0, 1, 30), m_otherPlaced);
    const int profileSide = ReferenceOn(FaceAt(m_other, 1, 0, 0, 10), m_otherPlaced);
    FeatureAddProfileReferences(m_tag, m_feature, Tags({profile, side}), &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(FeatureGetProfileReferenceCount(m_tag, m_feature, &result), 0);
    FeatureAddProfileReferences(m_tag, m_feature, Tags({profile, profileSide}), &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(FeatureGetProfileReference(m_tag, m_feature, 1, &result), profileSide);
    EXPECT_EQ(ReferenceGetBehaviour(m_tag, profile, &result), ReferenceBehaviourPositioning);
}

TEST_F(FeatureReferencesApiTest, ProfileReferencesNeedAnInstanceAndWholeListsAComeEmptyArray)
{
    const int unplaced = ReferenceOn(FaceAt(m_other, 0, 0, 1, 30), 0);
    ResultType result;
    FeatureAddProfileReference(m_tag, m_feature, unplaced, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    const int dependent = ReferenceOn(BossFaces()[0], m_placed);
    FeatureAddDependent(m_tag, m_feature, dependent, &result);
    EXPECT_EQ(FeatureGetDependentCount(m_tag, m_feature, &result), 1);

    Array<int> held = Tags({5});
    FeatureGetDependents(m_tag, m_feature, held, &result);
    EXPECT_EQ(result, ResultTypeBadArgument);
    EXPECT_EQ(GetArrayVector(held), std::vector<int>{5});
    TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(false);
    FeatureGetDependents(m_tag, m_feature, held, &result);
    EXPECT_EQ(result, ResultTypeOk);
    EXPECT_EQ(GetArrayVector(held), (std::vector<int>{5, dependent}));
}

// Each call, given an index outside its list or a tag that names nothing of its kind, reports
// its code and returns 0; the interaction lives on, with checks on and off.
TEST_F(FeatureReferencesApiTest, OutOfRangeIndicesAndBadTagsGiveTheirCodeAndKeepTheInteraction)
{
    ResultType result;
    const int top = ReferenceOn(BossFaces()[0], m_placed);
    FeatureAddReference(m_tag, m_feature, top, &result);
    FeatureAddDependent(m_tag, m_feature, top, &result);
    const int record = CreateFeatureProcedureData(m_tag, &result);
    const int face = BossFaces()[0];
    struct Case {
        const char* name;
        std::function<int(ResultType*)> call;
        ResultType expected;
    };
    const int tag = m_tag, feature = m_feature;
    const std::vector<Case> cases = {
        {"feature -1", [=](ResultType* r) { return GetFeature(tag, -1, r); }, ResultTypeFail},
        {"feature at the count", [=](ResultType* r) { return GetFeature(tag, 1, r); }, ResultTypeFail},
        {"reference -1", [=](ResultType* r) { return FeatureGetReference(tag, feature, -1, r); }, ResultTypeFail},
        {"reference at the count", [=](ResultType* r) { return FeatureGetReference(tag, feature, 1, r); },
         ResultTypeFail},
        {"profile reference 0 of none", [=](ResultType* r) { return FeatureGetProfileReference(tag, feature, 0, r); },
         ResultTypeFail},
        {"dependent at the count", [=](ResultType* r) { return FeatureGetDependent(tag, feature, 1, r); },
         ResultTypeFail},
        {"dependent far out", [=](ResultType* r) { return FeatureGetDependent(tag, feature, 1 << 30, r); },
         ResultTypeFail},
        {"references of no feature", [=](ResultType* r) { return FeatureGetReferenceCount(tag, kUnknownTag, r); },
         ResultTypeBadArgument},
        {"a reference as the feature", [=](ResultType* r) { return FeatureGetDependentCount(tag, top, r); },
         ResultTypeBadArgument},
        {"type of no feature",
         [=](ResultType* r) { return static_cast<int>(FeatureGetType(tag, kUnknownTag, r)); },
         ResultTypeBadArgument},
        {"adding no reference",
         [=](ResultType* r) { FeatureAddReference(tag, feature, kUnknownTag, r); return 0; },
         ResultTypeBadArgument},
        {"editing no feature", [=](ResultType* r) { FeatureEdit(tag, kUnknownTag, nullptr, r); return 0; },
         ResultTypeBadArgument},
        {"a feature as the procedure record",
         [=](ResultType* r) { return FeatureProcedureDataGetFeatureTag(tag, feature, r); }, ResultTypeBadArgument},
        {"setting no procedure record",
         [=](ResultType* r) { FeatureProcedureDataSetMainBodyTag(tag, kUnknownTag, 0, r); return 0; },
         ResultTypeBadArgument},
        {"reading no procedure record",
         [=](ResultType* r) { return FeatureProcedureDataGetMainBodyTag(tag, kUnknownTag, r); },
         ResultTypeBadArgument},
        {"profile transform of no record",
         [=](ResultType* r) {
             double matrix[16] = {};
             return static_cast<int>(FeatureProcedureDataGetProfileXform(tag, kUnknownTag, matrix, r));
         },
         ResultTypeBadArgument},
        {"profile transform into nothing",
         [=](ResultType* r) { return static_cast<int>(FeatureProcedureDataGetProfileXform(tag, record, nullptr, r)); },
         ResultTypeBadArgument},
        {"a face as the add-on feature", [=](ResultType* r) { return FeatureGetIdentifier(tag, face, r); },
         ResultTypeFail},
    };
    for (bool checksOn : {true, false}) {
        TagManager::FindInteractionFromTag(m_tag)->SetCheckArguments(checksOn);
        for (const Case& each : cases) {
            SCOPED_TRACE(std::string(each.name) + (checksOn ? ", checks on" : ", checks off"));
            ResultType got = ResultTypeOk;
            EXPECT_EQ(each.call(&got), 0);
            EXPECT_EQ(got, each.expected);
            ASSERT_NE(TagManager::FindInteractionFromTag(m_tag), nullptr);
        }
    }
    EXPECT_EQ(FeatureGetReference(m_tag, m_feature, 0, &result), top);
    EXPECT_EQ(result, ResultTypeOk);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
