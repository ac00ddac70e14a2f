// Checks of kernel tags: each is asked about one entity of every kind the kernel tells apart.
#include "CheckFixture.h"

#include "core/frame/ArgumentChecks.h"

#include <set>

namespace QEL {
namespace testing {
namespace {

enum EntityKind {
    KindBody,
    KindFace,
    KindEdge,
    KindVertex,
    KindFreePoint,
    KindFreeLine,
    KindFreePlane,
    KindFaceSurface,
    KindPartition,
    KindApplicationItem,
    KindDeletedEntity,
    KindZero,
    KindCount
};

const char* const s_kindNames[KindCount] = {
    "body", "face", "edge", "vertex", "free point", "free line", "free plane", "face surface",
    "partition", "application item", "deleted entity", "zero"};

struct KernelCheckCase {
    const char* name;
    ResultType (*check)(int);
    std::set<EntityKind> accepted;
};

// The array checks, asked about one-element arrays.
template <ResultType (*ArrayCheck)(const Array<int>&)>
ResultType OneElement(int tag)
{
    return ArrayCheck(Tags({tag}));
}

const std::set<EntityKind> s_topology = {KindFace, KindEdge, KindVertex};
const std::set<EntityKind> s_geometry = {KindFreePoint, KindFreeLine, KindFreePlane,
                                         KindFaceSurface};

const KernelCheckCase s_kernelChecks[] = {
    // The kernel counts its partitions among its entities.
    {"CheckArgKernelEntityTag",
     CheckArgKernelEntityTag,
     {KindBody, KindFace, KindEdge, KindVertex, KindFreePoint, KindFreeLine, KindFreePlane,
      KindFaceSurface, KindPartition}},
    // The face's surface is a plane: the check knows kinds, not whether a body holds them.
    {"CheckArgReferenceEntityTag",
     CheckArgReferenceEntityTag,
     {KindFace, KindEdge, KindVertex, KindFreePoint, KindFreeLine, KindFreePlane, KindFaceSurface}},
    {"CheckArgBodyTag", CheckArgBodyTag, {KindBody}},
    {"CheckArgPartitionTag", CheckArgPartitionTag, {KindPartition}},
    {"CheckArgTopolArray", OneElement<CheckArgTopolArray>, s_topology},
    {"CheckArgFaceArray", OneElement<CheckArgFaceArray>, {KindFace}},
    {"CheckArgGeomArray", OneElement<CheckArgGeomArray>, s_geometry},
};

class KernelTagCheckTest : public CheckTest {
protected:
    void SetUp() override
    {
        CheckTest::SetUp();
        m_surface = GetGeometryOfTopology(m_face);
        m_deleted = brennik::build::FreePoint(5, 5, 5);
        DeleteEntity(m_deleted);
    }
    int TagOf(EntityKind kind) const
    {
        switch (kind) {
        case KindBody: return m_block;
        case KindFace: return m_face;
        case KindEdge: return m_edge;
        case KindVertex: return m_vertex;
        case KindFreePoint: return m_freePoint;
        case KindFreeLine: return m_freeLine;
        case KindFreePlane: return m_freePlane;
        case KindFaceSurface: return m_surface;
        case KindPartition: return GetCurrentPartition();
        case KindApplicationItem: return m_bareFace->GetTag();
        case KindDeletedEntity: return m_deleted;
        default: return 0;
        }
    }

    int m_surface = 0;
    int m_deleted = 0;
};

TEST_F(KernelTagCheckTest, EachCheckAcceptsOnlyEntitiesOfItsKinds)
{
    ASSERT_EQ(GetEntityClass(m_surface), KernelClassPlane);
    for (const KernelCheckCase& c : s_kernelChecks)
        for (int kind = 0; kind < KindCount; ++kind) {
            const ResultType expected =
                c.accepted.count(EntityKind(kind)) ? ResultTypeOk : ResultTypeBadArgument;
            EXPECT_EQ(c.check(TagOf(EntityKind(kind))), expected)
                << c.name << " given a " << s_kindNames[kind];
        }
}

TEST_F(KernelTagCheckTest, ArrayChecksPassTheEmptyArrayAndRefuseOneStrayElement)
{
    const int face2 = FirstOfBody(brennik::build::Block(), BQ_BODY_ask_faces);
    EXPECT_EQ(CheckArgTopolArray(Tags({})), ResultTypeOk);
    EXPECT_EQ(CheckArgFaceArray(Tags({})), ResultTypeOk);
    EXPECT_EQ(CheckArgGeomArray(Tags({})), ResultTypeOk);

    EXPECT_EQ(CheckArgTopolArray(Tags({m_face, m_edge, m_vertex})), ResultTypeOk);
    EXPECT_EQ(CheckArgTopolArray(Tags({m_face, m_edge, m_freePlane})), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgFaceArray(Tags({m_face, face2})), ResultTypeOk);
    EXPECT_EQ(CheckArgFaceArray(Tags({m_face, face2, m_edge})), ResultTypeBadArgument);
    EXPECT_EQ(CheckArgGeomArray(Tags({m_freePoint, m_freeLine, m_surface})), ResultTypeOk);
    EXPECT_EQ(CheckArgGeomArray(Tags({m_freePoint, m_face})), ResultTypeBadArgument);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
