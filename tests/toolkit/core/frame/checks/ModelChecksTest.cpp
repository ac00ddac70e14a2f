// Checks that judge an argument against the model: what a reference refers to, and how groups
// of geometry are made up.
#include "CheckFixture.h"

#include "core/frame/ArgumentChecks.h"

#include <vector>

namespace QEL {
namespace testing {
namespace {

using ModelCheckTest = CheckTest;

TEST_F(ModelCheckTest, PositioningNeedsABodyOrAnInstance)
{
    Reference* planeOnInstance = TestReference::Create(m_interaction, m_freePlane, m_instance);
    struct Case {
        const char* what;
        Reference* reference;
        ReferenceBehaviour behaviour;
        ResultType expected;
    } const cases[] = {
        {"face on an instance", m_faceOnInstance, ReferenceBehaviourPositioning, ResultTypeOk},
        {"face of a bare body", m_bareFace, ReferenceBehaviourPositioning, ResultTypeOk},
        {"free plane", m_planeReference, ReferenceBehaviourPositioning,
         ResultTypeInvalidReferenceBehaviour},
        {"free point", m_pointReference, ReferenceBehaviourPositioning,
         ResultTypeInvalidReferenceBehaviour},
        {"free plane", m_planeReference, ReferenceBehaviourModelling, ResultTypeOk},
        {"free plane on an instance", planeOnInstance, ReferenceBehaviourPositioning, ResultTypeOk},
        // Outside the enumeration: not a behaviour at all.
        {"face on an instance", m_faceOnInstance, ReferenceBehaviour(0), ResultTypeBadArgument},
        {"free plane", m_planeReference, ReferenceBehaviour(3), ResultTypeBadArgument},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckArgReferenceBehaviour(c.reference->GetTag(), c.behaviour, m_interaction),
                  c.expected)
            << c.what << " made " << c.behaviour;
}

TEST_F(ModelCheckTest, PositioningOnAVanishedEntityIsNotRefused)
{
    DeleteEntity(m_freePlane);
    EXPECT_EQ(CheckArgReferenceBehaviour(m_planeReference->GetTag(), ReferenceBehaviourPositioning,
                                         m_interaction),
              ResultTypeOk);
}

TEST_F(ModelCheckTest, BehaviourOfSomethingThatIsNoReferenceIsRefused)
{
    EXPECT_EQ(CheckArgReferenceBehaviour(m_instance->GetTag(), ReferenceBehaviourPositioning,
                                         m_interaction),
              ResultTypeBadArgument);
    EXPECT_EQ(CheckArgReferenceBehaviour(m_planeReference->GetTag(), ReferenceBehaviourPositioning,
                                         nullptr),
              ResultTypeBadArgument);
}

TEST_F(ModelCheckTest, PlaneReferenceListsAdmitOnlyTheirGeometry)
{
    const int plane = m_planeReference->GetTag();
    const int line = m_lineReference->GetTag();
    const int point = m_pointReference->GetTag();
    const int planarFace = m_faceOnInstance->GetTag();
    struct Case {
        Array<int> tags;
        ResultType planes;
        ResultType planesOrLines;
    } const cases[] = {
        {Tags({}), ResultTypeOk, ResultTypeOk},
        {Tags({plane}), ResultTypeOk, ResultTypeOk},
        {Tags({plane, line}), ResultTypeBadArgument, ResultTypeOk},
        {Tags({line, point}), ResultTypeBadArgument, ResultTypeBadArgument},
        {Tags({planarFace}), ResultTypeBadArgument, ResultTypeBadArgument},
        {Tags({plane, m_freePlane}), ResultTypeBadArgument, ResultTypeBadArgument},
        {Tags({m_instance->GetTag()}), ResultTypeBadArgument, ResultTypeBadArgument},
    };
    for (size_t index = 0; index < sizeof(cases) / sizeof(cases[0]); ++index) {
        EXPECT_EQ(CheckArgTagsArePlaneReferences(cases[index].tags, m_interaction),
                  cases[index].planes)
            << "case " << index;
        EXPECT_EQ(CheckArgTagsArePlaneOrLineReferences(cases[index].tags, m_interaction),
                  cases[index].planesOrLines)
            << "case " << index;
    }
    EXPECT_EQ(CheckArgTagsArePlaneReferences(Tags({plane}), nullptr), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgTagsArePlaneOrLineReferences(Tags({line}), nullptr), ResultTypeBadArgument);
}

TEST_F(ModelCheckTest, SectionPlaneMustBeAReferencedFreePlane)
{
    EXPECT_EQ(CheckArgSectionPlaneReference(m_planeReference->GetTag(), m_interaction),
              ResultTypeOk);
    // A planar face of a body does not do, nor does other free geometry.
    for (int tag : {m_bareFace->GetTag(), m_faceOnInstance->GetTag(), m_lineReference->GetTag(),
                    m_pointReference->GetTag(), m_instance->GetTag(), m_freePlane, 0})
        EXPECT_EQ(CheckArgSectionPlaneReference(tag, m_interaction), ResultTypeBadArgument) << tag;
    EXPECT_EQ(CheckArgSectionPlaneReference(m_planeReference->GetTag(), nullptr),
              ResultTypeBadArgument);
}

TEST_F(ModelCheckTest, SectionGeometryComesInTwoEqualNonEmptyTopologyArrays)
{
    struct Case {
        Array<int> first;
        Array<int> second;
        ResultType expected;
    } const cases[] = {
        {Tags({m_face}), Tags({m_edge}), ResultTypeOk},
        {Tags({m_face, m_vertex}), Tags({m_edge, m_face}), ResultTypeOk},
        {Tags({}), Tags({}), ResultTypeBadArgument},
        {Tags({m_face}), Tags({}), ResultTypeBadArgument},
        {Tags({}), Tags({m_face}), ResultTypeBadArgument},
        {Tags({m_face, m_edge}), Tags({m_face}), ResultTypeBadArgument},
        {Tags({m_block}), Tags({m_face}), ResultTypeBadArgument},
        {Tags({m_face}), Tags({m_freePlane}), ResultTypeBadArgument},
    };
    for (size_t index = 0; index < sizeof(cases) / sizeof(cases[0]); ++index)
        EXPECT_EQ(CheckArgSectionGeometryArrays(cases[index].first, cases[index].second),
                  cases[index].expected)
            << "case " << index;
}

Array<Array<int>> Groups(std::vector<Array<int>> groups)
{
    Array<Array<int>> result;
    for (const Array<int>& group : groups)
        result.Add(group);
    return result;
}

TEST_F(ModelCheckTest, GeometryGroupsStartWithABodyOrWithZero)
{
    const int instance = m_instance->GetTag();
    struct Case {
        const char* what;
        Array<Array<int>> groups;
        ResultType expected;
    } const cases[] = {
        {"no groups", Groups({}), ResultTypeOk},
        {"instance and its entities", Groups({Tags({instance, m_face, m_edge, m_freePlane})}),
         ResultTypeOk},
        {"body and a vertex", Groups({Tags({m_block, m_vertex})}), ResultTypeOk},
        {"instance alone", Groups({Tags({instance})}), ResultTypeOk},
        {"free geometry", Groups({Tags({0, m_freePoint, m_freeLine})}), ResultTypeOk},
        {"two good groups", Groups({Tags({instance, m_face}), Tags({0, m_freePlane})}),
         ResultTypeOk},
        {"empty group", Groups({Tags({})}), ResultTypeBadArgument},
        {"empty second group", Groups({Tags({0, m_freePlane}), Tags({})}), ResultTypeBadArgument},
        {"body after an instance", Groups({Tags({instance, m_block})}), ResultTypeBadArgument},
        {"zero alone", Groups({Tags({0})}), ResultTypeBadArgument},
        {"topology after zero", Groups({Tags({0, m_face})}), ResultTypeBadArgument},
        {"face first", Groups({Tags({m_face, m_edge})}), ResultTypeBadArgument},
        {"reference first", Groups({Tags({m_bareFace->GetTag(), m_freePlane})}),
         ResultTypeBadArgument},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckArgGeometryGroups(c.groups, m_interaction), c.expected) << c.what;
    EXPECT_EQ(CheckArgGeometryGroups(Groups({}), nullptr), ResultTypeBadArgument);
}

// The axis alone must be straight or round; with a selection, the selection and the axis must
// all be on one bare body, or all off bodies with an instance or free geometry among them.
TEST_F(ModelCheckTest, RotateAxisIsStraightOrRoundAndAgreesWithTheSelection)
{
    Reference* bareEdge = TestReference::Create(m_interaction, m_edge, nullptr);
    // A selection cannot hold a positioning reference on a bare body, so it comes as the axis:
    // another straight edge of the block.
    int edgeCount = 0;
    int* edges = nullptr;
    ASSERT_EQ(BQ_BODY_ask_edges(m_block, &edgeCount, &edges), BQ_ERROR_no_errors);
    const int otherEdge = edgeCount > 1 ? edges[1] : 0;
    BQ_MEMORY_free(edges);
    ASSERT_NE(otherEdge, 0);
    Reference* positioned = Reference::Create(m_interaction, otherEdge, nullptr);
    positioned->SetBehaviour(ReferenceBehaviourPositioning);
    ASSERT_EQ(positioned->GetBehaviour(), ReferenceBehaviourPositioning);
    struct Case {
        const char* what;
        std::vector<Reference*> selection;
        int axis;
        ResultType expected;
    } const cases[] = {
        {"free line, no selection", {}, m_lineReference->GetTag(), ResultTypeOk},
        {"straight edge, no selection", {}, bareEdge->GetTag(), ResultTypeOk},
        {"planar face", {}, m_bareFace->GetTag(), ResultTypeBadArgument},
        {"free point", {}, m_pointReference->GetTag(), ResultTypeBadArgument},
        {"an instance", {}, m_instance->GetTag(), ResultTypeBadArgument},
        {"bare face about its own edge", {m_bareFace}, bareEdge->GetTag(), ResultTypeOk},
        {"placed face about a free line", {m_faceOnInstance}, m_lineReference->GetTag(), ResultTypeOk},
        {"free plane about a free line", {m_planeReference}, m_lineReference->GetTag(), ResultTypeOk},
        {"bare face about a free line", {m_bareFace}, m_lineReference->GetTag(), ResultTypeBadArgument},
        {"placed face about a bare edge", {m_faceOnInstance}, bareEdge->GetTag(), ResultTypeBadArgument},
        {"positioning axis on the body", {m_bareFace}, positioned->GetTag(), ResultTypeBadArgument},
    };
    for (const Case& c : cases) {
        m_interaction->ClearSelections();
        for (Reference* selected : c.selection)
            ASSERT_TRUE(m_interaction->AddSelectedReference(selected)) << c.what;
        EXPECT_EQ(CheckDragRotateAxisArgument(c.axis, m_interaction), c.expected) << c.what;
    }
    EXPECT_EQ(CheckDragRotateAxisArgument(m_lineReference->GetTag(), nullptr), ResultTypeBadArgument);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
