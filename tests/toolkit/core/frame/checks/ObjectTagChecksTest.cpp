// Checks of tags that name the toolkit's own objects, and the casts that reach those objects.
#include "CheckFixture.h"

#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"

#include <map>
#include <set>

namespace QEL {
namespace testing {
namespace {

enum TagKind {
    KindInteraction,
    KindInstance,
    KindReference,
    KindRelation,
    KindFeature,
    KindMappingData,
    KindProcedureData,
    KindFoundData,
    KindMark,
    KindTrackingData,
    KindFace,
    KindZero,
    KindCount
};

const char* const s_kindNames[KindCount] = {
    "interaction", "instance", "reference", "relation", "feature", "mapping data",
    "procedure data", "found data", "mark", "tracking data", "face", "zero"};

using TagCheck = ResultType (*)(int, Interaction*);

struct TagCheckCase {
    const char* name;
    TagCheck check;
    std::set<TagKind> accepted;
};

const std::set<TagKind> s_objects = {KindInteraction, KindInstance,      KindReference,
                                     KindRelation,    KindFeature,       KindMappingData,
                                     KindProcedureData, KindFoundData};

const TagCheckCase s_tagChecks[] = {
    {"CheckArgObjectTag", CheckArgObjectTag, s_objects},
    {"CheckArgReferenceTag", CheckArgReferenceTag, {KindReference}},
    {"CheckArgTagIsReference", CheckArgTagIsReference, {KindReference}},
    {"CheckArgInstanceTag", CheckArgInstanceTag, {KindInstance}},
    {"CheckArgRelationTag", CheckArgRelationTag, {KindRelation}},
    {"CheckArgFeatureTag", CheckArgFeatureTag, {KindFeature}},
    {"CheckArgTagIsFeature", CheckArgTagIsFeature, {KindFeature}},
    {"CheckArgMappingDataTag", CheckArgMappingDataTag, {KindMappingData}},
    {"CheckArgTagIsFeatureProcedureData", CheckArgTagIsFeatureProcedureData, {KindProcedureData}},
    {"CheckArgTagIsFoundData", CheckArgTagIsFoundData, {KindFoundData}},
    {"CheckArgMarkTag", CheckArgMarkTag, {KindMark}},
    {"CheckArgTagIsTrackingData", CheckArgTagIsTrackingData, {KindTrackingData}},
};

class ObjectTagCheckTest : public CheckTest {
protected:
    int TagOf(TagKind kind) const
    {
        switch (kind) {
        case KindInteraction: return m_interaction->GetTag();
        case KindInstance: return m_instance->GetTag();
        case KindReference: return m_faceOnInstance->GetTag();
        case KindRelation: return m_relation->GetTag();
        case KindFeature: return m_feature->GetTag();
        case KindMappingData: return m_mappingData->GetTag();
        case KindProcedureData: return m_procedureData->GetTag();
        case KindFoundData: return m_foundData->GetTag();
        case KindMark: return m_mark;
        case KindTrackingData: return m_trackingData;
        case KindFace: return m_face;
        default: return 0;
        }
    }
};

TEST_F(ObjectTagCheckTest, EachCheckAcceptsOnlyTagsOfItsOwnKind)
{
    for (const TagCheckCase& c : s_tagChecks)
        for (int kind = 0; kind < KindCount; ++kind) {
            const ResultType expected =
                c.accepted.count(TagKind(kind)) ? ResultTypeOk : ResultTypeBadArgument;
            EXPECT_EQ(c.check(TagOf(TagKind(kind)), m_interaction), expected)
                << c.name << " given a " << s_kindNames[kind];
        }
}

TEST_F(ObjectTagCheckTest, NullInteractionRefusesEveryTag)
{
    for (const TagCheckCase& c : s_tagChecks)
        for (int kind = 0; kind < KindCount; ++kind)
            EXPECT_EQ(c.check(TagOf(TagKind(kind)), nullptr), ResultTypeBadArgument)
                << c.name << " given a " << s_kindNames[kind];
}

TEST_F(ObjectTagCheckTest, InteractionTagMustNameARegisteredInteraction)
{
    EXPECT_EQ(CheckArgInteractionTag(m_interaction->GetTag()), ResultTypeOk);
    for (int tag : {0, -1, m_face, m_block, m_faceOnInstance->GetTag(), m_mark})
        EXPECT_EQ(CheckArgInteractionTag(tag), ResultTypeBadArgument) << tag;

    const int tag = m_interaction->GetTag();
    DestroyInteraction();
    EXPECT_EQ(CheckArgInteractionTag(tag), ResultTypeBadArgument);
}

TEST_F(ObjectTagCheckTest, ObjectsOfAnotherInteractionAreRefused)
{
    Interaction* other = new Interaction(CreateTypeLive);
    Reference* foreign = TestReference::Create(other, m_face, nullptr);

    EXPECT_EQ(CheckArgInteractionTag(other->GetTag()), ResultTypeOk);
    EXPECT_EQ(CheckArgObjectTag(other->GetTag(), m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgObjectTag(foreign->GetTag(), m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgReferenceTag(foreign->GetTag(), m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgTagIsReference(foreign->GetTag(), m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgReferenceTag(foreign->GetTag(), other), ResultTypeOk);
    EXPECT_EQ(CastTagToReference(m_interaction, foreign->GetTag()), nullptr);
    other->Destroy();
}

TEST_F(ObjectTagCheckTest, DestroyedObjectsAndDeletedMarksAndRecordsAreRefused)
{
    const int reference = m_faceOnInstance->GetTag();
    const int feature = m_feature->GetTag();
    m_faceOnInstance->Destroy();
    m_feature->Destroy();
    m_interaction->DeleteMark(m_mark);
    m_interaction->GetTrackingManager()->ClearData();

    EXPECT_EQ(CheckArgReferenceTag(reference, m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgObjectTag(reference, m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgTagIsFeature(feature, m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgMarkTag(m_mark, m_interaction), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgTagIsTrackingData(m_trackingData, m_interaction), ResultTypeBadArgument);
}

TEST_F(ObjectTagCheckTest, ReferenceHasInstanceMatchesTheExpectation)
{
    struct Case {
        int tag;
        bool expectNoInstance;
        ResultType expected;
    } const cases[] = {
        {m_faceOnInstance->GetTag(), false, ResultTypeOk},
        {m_faceOnInstance->GetTag(), true, ResultTypeBadArgument},
        {m_bareFace->GetTag(), true, ResultTypeOk},
        {m_bareFace->GetTag(), false, ResultTypeBadArgument},
        {m_instance->GetTag(), false, ResultTypeBadArgument},
        {m_instance->GetTag(), true, ResultTypeBadArgument},
        {0, true, ResultTypeBadArgument},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckArgReferenceHasInstance(c.tag, m_interaction, c.expectNoInstance), c.expected)
            << c.tag << " expecting no instance " << c.expectNoInstance;
    EXPECT_EQ(CheckArgReferenceHasInstance(m_bareFace->GetTag(), nullptr, true),
              ResultTypeBadArgument);
}

TEST_F(ObjectTagCheckTest, ReferenceArraysAcceptOnlyReferencesAndTheEmptyArray)
{
    using ArrayCheck = ResultType (*)(const Array<int>&, Interaction*);
    const int reference = m_faceOnInstance->GetTag();
    const int bare = m_bareFace->GetTag();
    for (ArrayCheck check : {ArrayCheck(CheckArgReferenceArray), ArrayCheck(CheckArgTagsAreReferences)}) {
        EXPECT_EQ(check(Tags({}), m_interaction), ResultTypeOk);
        EXPECT_EQ(check(Tags({reference, bare}), m_interaction), ResultTypeOk);
        EXPECT_EQ(check(Tags({reference, m_instance->GetTag()}), m_interaction),
                  ResultTypeBadArgument);
        EXPECT_EQ(check(Tags({reference, 0}), m_interaction), ResultTypeBadArgument);
        EXPECT_EQ(check(Tags({m_face}), m_interaction), ResultTypeBadArgument);
        EXPECT_EQ(check(Tags({}), nullptr), ResultTypeBadArgument);
    }
}

TEST_F(ObjectTagCheckTest, ReferencesOnDifferentInstancesAreRefused)
{
    Instance* second = PlaceBlock();
    Reference* onSecond = TestReference::Create(m_interaction, m_face, second);
    const int first = m_faceOnInstance->GetTag();

    EXPECT_EQ(CheckArgReferencesOnSameInstance(first, m_edgeOnInstance->GetTag(), m_interaction),
              ResultTypeOk);
    EXPECT_EQ(CheckArgReferencesOnSameInstance(first, onSecond->GetTag(), m_interaction),
              ResultTypeBadArgument);
    EXPECT_EQ(CheckArgReferencesOnSameInstance(first, m_bareFace->GetTag(), m_interaction),
              ResultTypeBadArgument);
    EXPECT_EQ(CheckArgReferencesOnSameInstance(m_bareFace->GetTag(), m_planeReference->GetTag(),
                                               m_interaction),
              ResultTypeOk);
    // Whether a tag is a reference at all is another check's concern.
    EXPECT_EQ(CheckArgReferencesOnSameInstance(first, m_instance->GetTag(), m_interaction),
              ResultTypeOk);
    EXPECT_EQ(CheckArgReferencesOnSameInstance(0, onSecond->GetTag(), m_interaction), ResultTypeOk);
    EXPECT_EQ(CheckArgReferencesOnSameInstance(first, first, nullptr), ResultTypeBadArgument);
}

TEST_F(ObjectTagCheckTest, CastsGiveTheObjectOfTheirClassOrNull)
{
    EXPECT_EQ(CastTagToReference(m_interaction, m_bareFace->GetTag()), m_bareFace);
    EXPECT_EQ(CastTagToFeatureProcedureData(m_interaction, m_procedureData->GetTag()),
              m_procedureData);
    EXPECT_EQ(CastTagToFoundData(m_interaction, m_foundData->GetTag()), m_foundData);

    for (int tag : {m_instance->GetTag(), m_feature->GetTag(), m_interaction->GetTag(), m_mark,
                    m_trackingData, m_face, 0}) {
        EXPECT_EQ(CastTagToReference(m_interaction, tag), nullptr) << tag;
        EXPECT_EQ(CastTagToFeatureProcedureData(m_interaction, tag), nullptr) << tag;
        EXPECT_EQ(CastTagToFoundData(m_interaction, tag), nullptr) << tag;
    }
    EXPECT_EQ(CastTagToReference(nullptr, m_bareFace->GetTag()), nullptr);
    EXPECT_EQ(CastTagToFeatureProcedureData(nullptr, m_procedureData->GetTag()), nullptr);
    EXPECT_EQ(CastTagToFoundData(nullptr, m_foundData->GetTag()), nullptr);
}

TEST_F(ObjectTagCheckTest, ChecksRecordNoChange)
{
    const int mark = m_interaction->CreateMark();
    const int objects = m_interaction->GetTagManager()->GetNumTaggedEnts();
    for (const TagCheckCase& c : s_tagChecks)
        for (int kind = 0; kind < KindCount; ++kind)
            c.check(TagOf(TagKind(kind)), m_interaction);
    const Array<int> references = Tags({m_faceOnInstance->GetTag(), m_planeReference->GetTag()});
    CheckArgReferenceArray(references, m_interaction);
    CheckArgTagsArePlaneReferences(references, m_interaction);
    CheckArgSectionPlaneReference(m_planeReference->GetTag(), m_interaction);
    CheckArgReferenceBehaviour(m_planeReference->GetTag(), ReferenceBehaviourPositioning,
                               m_interaction);

    std::map<RollableEntity*, RollbackAction*> changes;
    m_interaction->GetChangesAfterMark(mark, changes);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(m_interaction->GetTagManager()->GetNumTaggedEnts(), objects);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
