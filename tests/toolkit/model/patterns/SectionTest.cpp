// Sections: the section body of a cut instance with its parallel source and section lists,
// references on section entities carried over when the section is made again, lookups,
// plane tests, comparison and the file form.
#include "PatternFixture.h"

#include "core/frame/Array.h"
#include "model/patterns/Section.h"

#include <hxr.h>

#include <algorithm>

namespace QEL {
namespace testing {
namespace {

class SectionTest : public PatternTest {
protected:
    void SetUp() override
    {
        PatternTest::SetUp();
        const double shifted[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        m_cut = Instance::Create(m_interaction, m_block, shifted);
        // The world plane z = 15 cuts the block at mid-height.
        m_plane = Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 15, 0, 0, 1), nullptr);
        m_section = Section::Create(m_interaction, m_plane);
    }
    SectionEntityMap Map() const
    {
        SectionEntityMap map;
        m_section->GetSrcSectionEntityMap(m_cut, map);
        return map;
    }
    std::vector<int> SectionOfClass(int classCode) const
    {
        std::set<int> found;
        for (int entity : Map().second)
            if (GetEntityClass(entity) == classCode)
                found.insert(entity);
        return std::vector<int>(found.begin(), found.end());
    }
    // Moves the block's x = 10 face outwards by the distance, as an edit would.
    void OffsetSideFace(double distance)
    {
        HXR_FACE_change_s change{};
        change.change = HXR_CHANGE_offset;
        change.offset = distance;
        int face = FaceAt(m_block, 1, 0, 0, 10);
        int index = 0;
        HXR_ENTITY_track_r_s tracking{};
        ASSERT_EQ(Model::FaceChange(m_interaction, 1, &face, &index, 1, &change, 1e-6, nullptr, &tracking, true,
                                    nullptr),
                  0);
        HXR_ENTITY_track_r_f(&tracking);
    }

    Instance* m_cut = nullptr;
    Reference* m_plane = nullptr;
    Section* m_section = nullptr;
};

TEST_F(SectionTest, BlockCutAtMidHeightGivesFourEdgesWithParallelLists)
{
    ASSERT_TRUE(m_section->GenerateSectionGeometry(m_cut));
    const SectionEntityMap map = Map();
    ASSERT_EQ(map.first.size(), map.second.size());
    const std::vector<int> edges = SectionOfClass(KernelClassEdge);
    EXPECT_EQ(edges.size(), 4u);
    // Each edge comes from one side face; each corner from the two faces of a vertical edge.
    for (size_t i = 0; i < map.first.size(); ++i) {
        EXPECT_EQ(GetEntityClass(map.first[i]), KernelClassFace);
        EXPECT_EQ(GetBodyOfTopology(map.first[i]), m_block);
        Position point;
        Dir normal;
        EvaluateFaceMidpoint(map.first[i], &point, &normal);
        EXPECT_NEAR(normal.z, 0.0, 1e-9);
    }
    for (int edge : edges) {
        std::vector<int> sources;
        m_section->GetSourceEntities(m_cut, edge, sources);
        EXPECT_EQ(sources.size(), 1u);
    }
    const std::vector<int> corners = SectionOfClass(KernelClassVertex);
    EXPECT_EQ(map.first.size(), edges.size() + 2 * corners.size());

    Instance* placed = m_section->GetSectionInstance(m_cut);
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(placed->GetXform().IsEqual(m_cut->GetXform()));
    EXPECT_TRUE(m_section->IsASectionInstance(placed));
    EXPECT_FALSE(m_section->IsASectionInstance(m_cut));
    EXPECT_EQ(m_section->GetCutInstance(placed), m_cut);
    EXPECT_EQ(m_section->GetCutInstance(edges[0]), m_cut);
    // A section vertex finds its cut instance through its first edge.
    int count = 0;
    int* bodyVertices = nullptr;
    BQ_BODY_ask_vertices(placed->GetBodyTag(), &count, &bodyVertices);
    ASSERT_GT(count, 0);
    EXPECT_EQ(m_section->GetCutInstance(bodyVertices[0]), m_cut);
    std::vector<int> behindVertex;
    m_section->GetSourceEntities(m_cut, bodyVertices[0], behindVertex);
    EXPECT_EQ(behindVertex.size(), 2u);
    BQ_MEMORY_free(bodyVertices);
    EXPECT_TRUE(IsValid(m_section));
}

TEST_F(SectionTest, ReferencesFollowWhenACutFaceMovesAndGoWithAVanishedSource)
{
    ASSERT_TRUE(m_section->GenerateSectionGeometry(m_cut));
    Instance* placed = m_section->GetSectionInstance(m_cut);
    const int movingFace = FaceAt(m_block, 1, 0, 0, 10);
    int edgeOfMovingFace = 0;
    for (int edge : SectionOfClass(KernelClassEdge)) {
        std::vector<int> sources;
        m_section->GetSourceEntities(m_cut, edge, sources);
        if (sources == std::vector<int>{movingFace})
            edgeOfMovingFace = edge;
    }
    ASSERT_NE(edgeOfMovingFace, 0);
    int ends[2] = {0, 0};
    ASSERT_EQ(BQ_EDGE_ask_vertices(edgeOfMovingFace, ends), 0);
    Reference* onEdge = Reference::Create(m_interaction, edgeOfMovingFace, placed);
    Reference* onVertex = Reference::Create(m_interaction, ends[0], placed);
    ASSERT_NE(onEdge, nullptr);
    ASSERT_NE(onVertex, nullptr);
    const int oldBody = placed->GetBodyTag();

    OffsetSideFace(2.0);
    ASSERT_TRUE(m_section->GenerateSectionGeometry(m_cut));
    EXPECT_EQ(m_section->GetSectionInstance(m_cut), placed);
    EXPECT_NE(placed->GetBodyTag(), oldBody);
    EXPECT_FALSE(IsEntity(oldBody));
    // The edge reference sits on the new edge made from the moved face, 12 from the origin.
    ASSERT_EQ(GetBodyOfTopology(onEdge->GetEntityTag()), placed->GetBodyTag());
    std::vector<int> sources;
    m_section->GetSourceEntities(m_cut, onEdge->GetEntityTag(), sources);
    EXPECT_EQ(sources, std::vector<int>{movingFace});
    ASSERT_EQ(GetEntityClass(onVertex->GetEntityTag()), KernelClassVertex);
    EXPECT_EQ(GetBodyOfTopology(onVertex->GetEntityTag()), placed->GetBodyTag());
    Position corner;
    int vertex = onVertex->GetEntityTag();
    ASSERT_TRUE(GetVertexPosition(&vertex, &corner));
    EXPECT_NEAR(corner.x, 12.0, 1e-7);
    EXPECT_NEAR(corner.z, 15.0, 1e-7);

    // A section map whose source is no face of the new section: the references go.
    Array<int> unrelatedSources;
    Array<int> currentEdges;
    Instance* sameInstance = nullptr;
    ASSERT_TRUE(m_section->GetSectionMapping(m_cut, sameInstance, unrelatedSources, currentEdges));
    for (int i = 0; i < unrelatedSources.GetSize(); ++i)
        unrelatedSources[i] = m_top;
    m_section->AddSectionGeometry(m_cut, placed, unrelatedSources, currentEdges);
    // What became of other faces says nothing of the top face: a split of the bottom face into
    // the moved face, and a merge with no new face, lead its references nowhere.
    TrackingData* split = TrackingData::CreateBrennikMapData(&Manager(), TrackingDataTypeSplit);
    split->GetOldTags().push_back(FaceAt(m_block, 0, 0, -1, 0));
    split->GetNewTags().push_back(movingFace);
    TrackingData::CreateBrennikMapData(&Manager(), TrackingDataTypeMerge)->GetOldTags().push_back(m_top);
    const int interactionReferences = m_interaction->CountReferences();
    ASSERT_TRUE(m_section->GenerateSectionGeometry(m_cut));
    EXPECT_EQ(m_interaction->CountReferences(), interactionReferences - 2);
}

TEST_F(SectionTest, APlaneThatMissesTheBodyMakesNothingAndLeavesNothingBehind)
{
    Section* missing = Section::Create(
        m_interaction, Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 100, 0, 0, 1), nullptr));
    int before = 0;
    int* geometries = nullptr;
    BQ_PARTITION_ask_geoms(GetCurrentPartition(), &before, &geometries);
    BQ_MEMORY_free(geometries);
    EXPECT_FALSE(missing->GenerateSectionGeometry(m_cut));
    EXPECT_FALSE(missing->IsInstanceCut(m_cut));
    int after = 0;
    BQ_PARTITION_ask_geoms(GetCurrentPartition(), &after, &geometries);
    BQ_MEMORY_free(geometries);
    EXPECT_EQ(after, before) << "the plane brought into the body's frame is deleted again";
}

TEST_F(SectionTest, WithoutItsPlaneASectionMakesNothingAndAnswersNo)
{
    m_plane->Destroy();
    EXPECT_EQ(m_section->GetSectionPlane(), nullptr);
    EXPECT_FALSE(m_section->GenerateSectionGeometry(m_cut));
    EXPECT_FALSE(m_section->IsASectionPlane({0, nullptr}));
    EXPECT_FALSE(m_section->IsCentreOnSectionPlane(m_top, Xform()));
    EXPECT_FALSE(m_section->Compare(m_section));
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_FALSE(m_section->CheckValidity(bad, codes));
    EXPECT_EQ(codes, std::vector<InvalidityType>{InvalidityTypeBadPointer});
    EXPECT_NE(SavedText().find("planeReference=\"null\""), std::string::npos);
}

TEST_F(SectionTest, PlaneTestsReadTheGeometryInItsPlacement)
{
    // A cylinder whose axis is the plane's normal crosses it at right angles; one turned to
    // lie along x has its axis on the plane z = 15 once lifted there.
    const int turned = brennik::build::TurnedPart();
    const int cylinder = FaceOfClass(turned, KernelClassCylinder);
    ASSERT_NE(cylinder, 0);
    Position location;
    Position axis;
    GetStandardGeometry(cylinder, nullptr, nullptr, &location, &axis, nullptr, nullptr, nullptr);
    ASSERT_NEAR(std::fabs(axis.z), 1.0, 1e-12);
    EXPECT_TRUE(m_section->IsTheAxisParallelToSectionPlane(cylinder, Xform()));
    EXPECT_FALSE(m_section->IsTheAxisOnSectionPlane(cylinder, Xform()));
    Xform lying;
    lying.SetRotationAboutAxis(Vec(location.x, location.y, location.z), Vec(0, 1, 0), 1.0, 0.0);
    Xform lift;
    lift.SetToTranslation(Vec(0, 0, 15 - location.z));
    const Xform placement = MultiplyXforms(lift, lying);
    EXPECT_FALSE(m_section->IsTheAxisParallelToSectionPlane(cylinder, placement));
    EXPECT_TRUE(m_section->IsTheAxisOnSectionPlane(cylinder, placement));
    EXPECT_TRUE(m_section->IsCentreOnSectionPlane(cylinder, placement));
    EXPECT_TRUE(m_section->IsASectionPlane({m_plane->GetEntityTag(), m_cut}));
}

TEST_F(SectionTest, SectionsLoadBackEqualWithTheirMaps)
{
    Instance* second = Instance::Create(m_interaction, brennik::build::Block(4, 4, 40), nullptr);
    ASSERT_TRUE(m_section->GenerateSectionGeometry(second));
    ASSERT_TRUE(m_section->GenerateSectionGeometry(m_cut));
    EXPECT_TRUE(RoundTripsEqual());
    ASSERT_NE(m_loaded, nullptr);
    ASSERT_EQ(m_loaded->GetSectionsCount(), 1);
    Section* loaded = m_loaded->GetSection(0);
    std::set<Instance*, TaggedEntityPtrLessThan> cut;
    loaded->GetCutInstances(cut);
    ASSERT_EQ(cut.size(), 2u);
    // Section vertices come back as vertices.
    for (Instance* instance : cut) {
        SectionEntityMap map;
        loaded->GetSrcSectionEntityMap(instance, map);
        const auto vertices = std::count_if(map.second.begin(), map.second.end(),
                                            [](int e) { return GetEntityClass(e) == KernelClassVertex; });
        EXPECT_EQ(vertices, 8);
        EXPECT_EQ(std::count(map.second.begin(), map.second.end(), 0), 0);
    }
    // One more cut instance makes them differ.
    m_section->GenerateSectionGeometry(Instance::Create(m_interaction, brennik::build::Block(), nullptr));
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
}

}  // namespace
}  // namespace testing
}  // namespace QEL
