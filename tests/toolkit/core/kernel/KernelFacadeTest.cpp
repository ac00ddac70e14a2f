// The kernel facade on exact fixture bodies: neutral answers for bad tags, class codes,
// adjacency, standard forms, partitions and marks.
#include "core/kernel/EntityDescription.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"

#include <brennik.h>
#include <brennik_build.h>
#include <brennik_test.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace QEL {
namespace {

class KernelFacadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        brennik::test::RestartSession();
        m_block = brennik::build::Block();
        std::set<int> faces;
        GetBodyFaces(m_block, faces);
        m_faces.assign(faces.begin(), faces.end());
    }
    void TearDown() override { brennik::test::Reset(); }

    // The block face whose plane has the given outward normal.
    int FaceWithNormal(double x, double y, double z)
    {
        for (int face : m_faces) {
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (normal.IsEqual(Dir(x, y, z)))
                return face;
        }
        return 0;
    }

    int m_block = 0;
    std::vector<int> m_faces;
};

TEST_F(KernelFacadeTest, DeadAndNullTagsGiveTheNullClass)
{
    int copy = CopyEntity(m_block);
    ASSERT_NE(copy, 0);
    ASSERT_TRUE(DeleteEntity(copy));
    for (int tag : {0, copy, -5}) {
        EXPECT_EQ(GetEntityClass(tag), KernelClassNull);
        EXPECT_FALSE(IsFace(tag));
        EXPECT_FALSE(IsEntity(tag));
        EXPECT_EQ(GetEntityIdentifier(tag), 0);
        EXPECT_EQ(GetOwningBody(tag), 0);
        EXPECT_EQ(GetGeometryClass(tag), KernelClassNull);
    }
    EXPECT_FALSE(DeleteEntity(copy));
    EXPECT_TRUE(DeleteEntities({}));
}

TEST_F(KernelFacadeTest, QueriesThatTheKernelCannotAnswerSayNo)
{
    int item = 0;
    ASSERT_EQ(BQ_APPITEM_create(nullptr, &item), BQ_ERROR_no_errors);
    EXPECT_TRUE(IsApplicationItem(item));
    EXPECT_FALSE(IsApplicationItem(m_block));
    BQ_SESSION_stop();
    EXPECT_FALSE(IsApplicationItem(item));
    EXPECT_FALSE(IsEntity(m_block));
    EXPECT_EQ(GetEntityClass(m_block), KernelClassNull);
    EXPECT_EQ(GetCurrentPartition(), 0);
    brennik::test::RestartSession();
}

TEST_F(KernelFacadeTest, ClassesAndOwningBodiesOfTopologyAndGeometry)
{
    ASSERT_EQ(m_faces.size(), 6u);
    const int face = m_faces.front();
    std::vector<int> edges;
    GetFaceEdges(face, &edges);
    std::vector<int> vertices;
    GetFaceVertices(face, &vertices);
    ASSERT_EQ(edges.size(), 4u);
    ASSERT_EQ(vertices.size(), 4u);

    EXPECT_EQ(GetEntityClass(m_block), KernelClassBody);
    EXPECT_TRUE(IsFace(face));
    EXPECT_TRUE(IsEdge(edges[0]));
    EXPECT_TRUE(IsVertex(vertices[0]));
    EXPECT_TRUE(IsFaceEdgeOrVertex(edges[0]));
    EXPECT_EQ(GetOwningBody(face), m_block);
    EXPECT_EQ(GetOwningBody(edges[0]), m_block);
    EXPECT_EQ(GetOwningBody(m_block), 0);
    EXPECT_EQ(GetOwningBody(GetGeometryOfTopology(face)), m_block);
    EXPECT_EQ(GetGeometryClassOfTopology(face), KernelClassPlane);
    EXPECT_EQ(GetGeometryClass(edges[0]), KernelClassLine);
    EXPECT_EQ(GetGeometryClassOfTopology(vertices[0]), KernelClassPoint);
    EXPECT_TRUE(IsPointLineOrPlane(GetGeometryOfTopology(face)));
    EXPECT_FALSE(IsPointLineOrPlane(face));
}

TEST_F(KernelFacadeTest, LinesAndPlanesAreFoundByIdentifierAsCurvesAndSurfaces)
{
    std::vector<int> edges;
    GetFaceEdges(m_faces.front(), &edges);
    const int line = GetGeometryOfTopology(edges.front());
    const int plane = GetGeometryOfTopology(m_faces.front());
    EXPECT_EQ(FindEntityByIdentifier(m_block, KernelClassLine, GetEntityIdentifier(line)), line);
    EXPECT_EQ(FindEntityByIdentifier(m_block, KernelClassPlane, GetEntityIdentifier(plane)), plane);
    EXPECT_EQ(FindEntityByIdentifier(m_block, KernelClassFace, GetEntityIdentifier(m_faces[1])),
              m_faces[1]);
}

TEST_F(KernelFacadeTest, NeighboursOfABlockFaceAreTheFourSides)
{
    const int top = FaceWithNormal(0, 0, 1);
    ASSERT_NE(top, 0);
    std::vector<int> neighbours;
    EXPECT_EQ(GetNeighbourFaces(top, neighbours), 4);
    std::set<int> set;
    EXPECT_EQ(GetNeighbourFaceSet(top, set), 4);
    EXPECT_EQ(set.count(top), 0u);
    EXPECT_EQ(set.count(FaceWithNormal(0, 0, -1)), 0u);

    const int side = FaceWithNormal(1, 0, 0);
    EXPECT_TRUE(AreFacesAdjacent(top, side));
    EXPECT_FALSE(AreFacesAdjacent(top, FaceWithNormal(0, 0, -1)));
    const int edge = FindCommonEdge(top, side);
    EXPECT_TRUE(IsEdge(edge));
    std::vector<int> faces;
    EXPECT_EQ(GetEdgeFaces(edge, &faces), 2);
    const int front = FaceWithNormal(0, -1, 0);
    const int vertex = FindCommonVertex(edge, FindCommonEdge(top, front));
    EXPECT_TRUE(IsVertex(vertex));
    faces.clear();
    GetFacesOfEdgeOrVertex(vertex, &faces);
    std::sort(faces.begin(), faces.end());
    EXPECT_EQ(faces.size(), 3u);
    EXPECT_TRUE(std::binary_search(faces.begin(), faces.end(), front));
}

TEST_F(KernelFacadeTest, StandardFormOfAPlaneFacePlacedByATransform)
{
    const int top = FaceWithNormal(0, 0, 1);
    int geometry = 0;
    Position location;
    Position axis;
    Xform placement;
    placement.SetToTranslation(Vec(100.0, 0.0, 0.0));
    EXPECT_EQ(GetStandardGeometry(top, &geometry, &placement, &location, &axis, nullptr, nullptr,
                                  nullptr),
              KernelClassPlane);
    EXPECT_EQ(geometry, GetGeometryOfTopology(top));
    EXPECT_NEAR(location.z, 30.0, 1e-12);
    EXPECT_GE(location.x, 100.0);
    EXPECT_TRUE(axis == Position(0.0, 0.0, 1.0));
    EXPECT_TRUE(GetGeometryAxisDirection(geometry).IsEqual(Dir(0, 0, 1)));
    EXPECT_TRUE(GetPlaneNormal(geometry).IsEqual(Dir(0, 0, 1)));
    EXPECT_EQ(GetStandardGeometry(m_block, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr),
              0);
}

TEST_F(KernelFacadeTest, RadiusScaleIsRefusedWhenTheRadiusWouldVanish)
{
    const int blended = brennik::build::BlockWithBlend(2.0);
    std::set<int> faces;
    GetBodyFaces(blended, faces);
    int cylinder = 0;
    for (int face : faces)
        if (GetGeometryClassOfTopology(face) == KernelClassCylinder)
            cylinder = face;
    ASSERT_NE(cylinder, 0);
    double radius = 0.0;
    EXPECT_EQ(GetStandardGeometry(cylinder, nullptr, nullptr, nullptr, nullptr, &radius, nullptr,
                                  nullptr),
              KernelClassCylinder);
    EXPECT_NEAR(radius, 2.0, 1e-12);
    EXPECT_NE(CreateRadiusScaleTransform(cylinder, 1.0), 0);
    EXPECT_EQ(CreateRadiusScaleTransform(cylinder, -2.0), 0);
    EXPECT_EQ(CreateRadiusScaleTransform(cylinder, -2.0 + 1e-9), 0);
}

TEST_F(KernelFacadeTest, BlendIdentificationOfAnEdgeAsksNoKernelCall)
{
    std::vector<int> edges;
    GetFaceEdges(m_faces.front(), &edges);
    brennik::test::EnableCallLog(true);
    brennik::test::ClearCallLog();
    EXPECT_FALSE(IdentifyBlendFace(edges.front(), 1e-6, false, nullptr));
    const auto& log = brennik::test::CallLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "BQ_FACE_identify_blends"), 0);
    brennik::test::EnableCallLog(false);
}

TEST_F(KernelFacadeTest, TransmitFormatFollowsTheExtension)
{
    EXPECT_EQ(GetTransmitFormat("parts.B_B"), BQ_PART_format_binary);
    EXPECT_EQ(GetTransmitFormat("parts.b_b"), BQ_PART_format_binary);
    EXPECT_EQ(GetTransmitFormat("parts.b_t"), BQ_PART_format_text);
    EXPECT_EQ(GetTransmitFormat("parts"), BQ_PART_format_text);
    EXPECT_EQ(GetTransmitFormat(nullptr), BQ_PART_format_text);
}

TEST_F(KernelFacadeTest, PartitionHelpersRestoreTheCurrentPartition)
{
    const int initial = GetCurrentPartition();
    const int other = CreateEmptyPartition();
    ASSERT_NE(other, 0);
    EXPECT_TRUE(IsPartition(other));
    {
        const CurrentPartitionScope scope(other);
        EXPECT_EQ(GetCurrentPartition(), other);
    }
    EXPECT_EQ(GetCurrentPartition(), initial);
    const int point = CreatePointInPart(Position(1.0, 2.0, 3.0), m_block);
    EXPECT_EQ(GetEntityClass(point), KernelClassPoint);
    EXPECT_EQ(GetCurrentPartition(), initial);
    std::vector<int> geometries;
    EXPECT_TRUE(GetPartGeometries(m_block, geometries));
    EXPECT_EQ(geometries, std::vector<int>{point});
    EXPECT_TRUE(RemovePartGeometries(m_block));
    EXPECT_TRUE(GetPartGeometries(m_block, geometries));
    EXPECT_TRUE(geometries.empty());
    EXPECT_TRUE(DeletePartition(other));
    EXPECT_FALSE(IsPartition(other));
}

TEST_F(KernelFacadeTest, PartitionMarksListChangesAndGoBack)
{
    const int partition = GetEntityPartition(m_block);
    const int before = MakePartitionMarkWithChanges(partition, nullptr, nullptr, nullptr);
    ASSERT_NE(before, 0);
    const int copy = CopyEntity(m_block);
    std::vector<int> created;
    std::vector<int> deleted;
    const int after = MakePartitionMarkWithChanges(partition, &created, nullptr, &deleted);
    EXPECT_EQ(GetPrecedingPartitionMark(after), before);
    EXPECT_FALSE(created.empty());
    EXPECT_TRUE(deleted.empty());

    EXPECT_EQ(GoToPartitionMark(before), BQ_ERROR_no_errors);
    EXPECT_FALSE(IsEntity(copy));
    EXPECT_EQ(GoToPartitionMark(after), BQ_ERROR_no_errors);
    EXPECT_TRUE(IsEntity(copy));
    DeletePartitionMark(after);
    EXPECT_NE(GoToPartitionMark(after), BQ_ERROR_no_errors);
}

TEST_F(KernelFacadeTest, FeatureAttributeCarriesOneIntegerPerEntity)
{
    const int definition = GetFeatureAttDefTag();
    ASSERT_NE(definition, 0);
    EXPECT_EQ(GetFeatureAttDefTag(), definition);
    const int face = m_faces.front();
    EXPECT_EQ(GetFeatureAttributeTag(face), 0);
    int attribute = 0;
    ASSERT_EQ(BQ_ATTRIB_create_empty(face, definition, &attribute), BQ_ERROR_no_errors);
    const int value = 77;
    ASSERT_EQ(BQ_ATTRIB_set_ints(attribute, 0, 1, &value), BQ_ERROR_no_errors);
    EXPECT_EQ(GetFeatureAttributeTag(face), 77);
    EXPECT_EQ(GetAttributeOwner(attribute), face);
    EXPECT_EQ(GetAttributeDefinition(attribute), definition);
    std::vector<int> attributes;
    EXPECT_EQ(GetPartAttributes(m_block, definition, &attributes), 1);
    EXPECT_EQ(DeleteFeatureAttributes(m_block), BQ_ERROR_no_errors);
    EXPECT_EQ(GetFeatureAttributeTag(face), 0);

    // A new session has no such definition: the cached tag is made again.
    brennik::test::RestartSession();
    EXPECT_NE(GetFeatureAttDefTag(), 0);
}

TEST_F(KernelFacadeTest, NamedPointersAreReadBack)
{
    const int owners[] = {KernelClassFace};
    const int fields[] = {BQ_FIELD_type_pointer};
    const char* const names[] = {"QELObject"};
    const BQ_ATTDEF_sf_t form = {"TEST/POINTERS", BQ_ATTDEF_class_normal, 1, owners, 1, fields, names};
    int definition = 0;
    ASSERT_EQ(BQ_ATTDEF_create_2(&form, &definition), BQ_ERROR_no_errors);
    int attribute = 0;
    ASSERT_EQ(BQ_ATTRIB_create_empty(m_faces.front(), definition, &attribute), BQ_ERROR_no_errors);
    int first = 0;
    int second = 0;
    void* const values[] = {&first, &second};
    ASSERT_EQ(BQ_ATTRIB_set_named_pointers(attribute, "QELObject", 2, values), BQ_ERROR_no_errors);

    std::vector<void*> pointers{nullptr};
    EXPECT_EQ(GetNamedPointers(attribute, "QELObject", &pointers), 2);
    EXPECT_EQ(pointers, (std::vector<void*>{nullptr, &first, &second}));
    EXPECT_EQ(GetNamedPointers(attribute, "NoSuchField", &pointers), 0);
    std::vector<int> attributes;
    GetEntityAttributes(m_faces.front(), definition, &attributes);
    EXPECT_EQ(attributes, std::vector<int>{attribute});
}

TEST_F(KernelFacadeTest, GroupsAreListedAndEmptied)
{
    int group = 0;
    ASSERT_EQ(BQ_GROUP_create_from_entities(m_block, KernelClassFace, 2, m_faces.data(), &group),
              BQ_ERROR_no_errors);
    std::vector<int> owning;
    GetOwningGroups(m_faces[0], &owning);
    EXPECT_EQ(owning, std::vector<int>{group});
    EXPECT_EQ(GetOwningBody(group), m_block);
    EmptyGroup(group);
    std::vector<int> members;
    GetGroupEntities(group, &members);
    EXPECT_TRUE(members.empty());
}

TEST_F(KernelFacadeTest, EntityDescriptionNamesTopologyAndGeometry)
{
    EXPECT_EQ(FormatEntityDescription(0), "Null");
    const int face = m_faces.front();
    const int surface = GetGeometryOfTopology(face);
    EXPECT_EQ(FormatEntityDescription(face),
              "F(" + std::to_string(face) + ")[" + std::to_string(GetEntityIdentifier(face)) +
                  "]plane(" + std::to_string(surface) + ")");
    const int freeLine = brennik::build::FreeLine(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(FormatEntityDescription(freeLine).substr(0, 2), "C(");
    EXPECT_NE(FormatEntityDescription(freeLine).find("line("), std::string::npos);
    EXPECT_NE(FormatEntityDescription(999999).find("entity failed EntityIs test"),
              std::string::npos);
}

TEST_F(KernelFacadeTest, FaceSenseAgreesForAFaceWithItself)
{
    const int top = FaceWithNormal(0, 0, 1);
    bool sense = false;
    GetOrientedGeometry(top, &sense);
    EXPECT_EQ(CompareFaceSense(top, top), sense);
    EXPECT_EQ(Memory::GetCurrentMemory(), 0u);
}

}  // namespace
}  // namespace QEL
