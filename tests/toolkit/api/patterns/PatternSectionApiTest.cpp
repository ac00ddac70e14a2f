// The face-pattern loading, section and virtual-vertex calls as an application makes them:
// through the exported functions, over a plate with hole patterns and a block.
#include "../../core/frame/ApiTestFixture.h"

#include "api/debug/QelDebugApi.h"
#include "api/model/QelFacePatternApi.h"
#include "api/model/QelInstanceApi.h"
#include "api/model/QelReferenceApi.h"
#include "api/model/QelSectionApi.h"
#include "api/model/QelVirtualVertexApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/calls/QelInteractionApi.h"
#include "core/frame/TagCasts.h"
#include "model/patterns/FacePattern.h"
#include "model/features/Feature.h"

#include <cmath>
#include <set>

namespace QEL {
namespace testing {
namespace {

const double s_pi = 3.141592653589793;

Array<Array<int>> Occurrences(const std::vector<std::vector<int>>& lists)
{
    Array<Array<int>> occurrences;
    for (const std::vector<int>& list : lists)
        occurrences.Add(Array<int>(static_cast<int>(list.size()), list.data()));
    return occurrences;
}

Array<Double4x4> Translations(int count)
{
    Array<Double4x4> transforms;
    for (int i = 0; i < count; ++i) {
        Double4x4 m{};
        for (int d = 0; d < 4; ++d)
            m.m[d][d] = 1.0;
        m.m[0][3] = 15.0 * (i + 1);
        transforms.Add(m);
    }
    return transforms;
}

class PatternApiTest : public ApiTest {
protected:
    void SetUp() override
    {
        ApiTest::SetUp();
        m_tag = NewInteraction();
        OptionSetCheckArguments(m_tag, true, nullptr);
        m_plate = brennik::build::PlateWithHolePatterns();
        for (double x : {15.0, 30.0, 45.0})
            for (double y : {25.0, 55.0})
                m_holes.push_back(Ref(HoleAt(m_plate, x, y)));
        m_top = Ref(TopFace(m_plate));
        m_xLine = Ref(LineInPart(m_plate, 0, 0, 10, 1, 0, 0));
        m_yLine = Ref(LineInPart(m_plate, 0, 0, 10, 0, 1, 0));
        m_axis = Ref(LineInPart(m_plate, 90, 40, 0, 0, 0, 1));
    }
    int Ref(int entity, int instance = 0) { return CreateReference(m_tag, entity, instance, &m_result); }

    static int HoleAt(int body, double x, double y)
    {
        std::set<int> faces;
        GetBodyFaces(body, faces);
        for (int face : faces) {
            Position at;
            if (GetStandardGeometry(face, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr) ==
                    KernelClassCylinder &&
                std::fabs(at.x - x) < 1e-6 && std::fabs(at.y - y) < 1e-6)
                return face;
        }
        return 0;
    }
    static int TopFace(int body)
    {
        std::set<int> faces;
        GetBodyFaces(body, faces);
        for (int face : faces) {
            Position at;
            Position normal;
            if (GetStandardGeometry(face, nullptr, nullptr, &at, &normal, nullptr, nullptr, nullptr) == KernelClassPlane &&
                std::fabs(normal.z) > 0.5)
                return face;
        }
        return 0;
    }
    static int LineInPart(int body, double x, double y, double z, double dx, double dy, double dz)
    {
        const int line = brennik::build::FreeLine(x, y, z, dx, dy, dz);
        BQ_PART_add_geoms(body, 1, &line);
        return line;
    }

    int m_tag = 0;
    int m_plate = 0;
    std::vector<int> m_holes;
    int m_top = 0;
    int m_xLine = 0;
    int m_yLine = 0;
    int m_axis = 0;
    ResultType m_result = ResultTypeOk;
};

TEST_F(PatternApiTest, OccurrenceChecksInUserDefinedAndGridModes)
{
    const int otherPlate = brennik::build::PlateWithHolePatterns();
    const int onOtherBody = Ref(HoleAt(otherPlate, 15, 25));
    const int placed = Ref(HoleAt(m_plate, 15, 25), CreateInstance(m_tag, m_plate, nullptr, &m_result));
    const int h0 = m_holes[0], h1 = m_holes[1], h2 = m_holes[2], h3 = m_holes[3], h4 = m_holes[4];
    // The features hold references of their own to the faces, apart from those the lists name.
    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    Feature::Create(interaction, FeatureTypeSimpleRecreate)
        ->AddReference(CastTagToReference(interaction, Ref(HoleAt(m_plate, 45, 55))));
    Feature::Create(interaction, FeatureTypeSimple)
        ->AddReference(CastTagToReference(interaction, Ref(HoleAt(m_plate, 30, 55))));
    const int rebuilt = m_holes[5], simple = h3;
    const struct {
        const char* what;
        std::vector<std::vector<int>> occurrences;
        ResultType userDefined;
        ResultType grid;
    } cases[] = {
        {"one face per copy", {{h0}, {h1}}, ResultTypeOk, ResultTypeOk},
        {"empty seed, later copies of two", {{}, {h0, h1}, {h2, h3}}, ResultTypeBadArgument, ResultTypeOk},
        {"a missing face in one copy", {{h0, h1}, {h2, 0}}, ResultTypeOk, ResultTypeOk},
        {"a copy of only missing faces", {{h0, h1}, {0, 0}}, ResultTypeBadArgument, ResultTypeOk},
        {"plane and cylinder at one position", {{h0, h4}, {h1, m_top}}, ResultTypeBadArgument, ResultTypeBadArgument},
        {"faces of two bodies", {{h0}, {onOtherBody}}, ResultTypeBadArgument, ResultTypeBadArgument},
        {"a reference through an instance", {{h0}, {placed}}, ResultTypeBadArgument, ResultTypeBadArgument},
        {"a face a recreating feature rebuilds", {{h0}, {rebuilt}}, ResultTypeBadArgument, ResultTypeBadArgument},
        {"a face of a simple feature", {{h0}, {simple}}, ResultTypeOk, ResultTypeOk},
        {"copies of different sizes", {{h0}, {h1, h2}}, ResultTypeBadArgument, ResultTypeBadArgument},
        {"no copies at all", {}, ResultTypeBadArgument, ResultTypeBadArgument},
    };
    for (const auto& c : cases) {
        Array<Array<int>> occurrences = Occurrences(c.occurrences);
        Array<Double4x4> transforms = Translations(std::max(0, occurrences.GetSize() - 1));
        LoadUserDefinedFacePattern(m_tag, occurrences, transforms, &m_result);
        EXPECT_EQ(m_result, c.userDefined) << c.what;
        const int axis = occurrences.GetSize() >= 2 ? m_axis : 0;
        const int tag = LoadOpenCircularFacePattern(m_tag, occurrences, 0.3, axis, &m_result);
        EXPECT_EQ(m_result, c.grid) << c.what;
        EXPECT_EQ(tag != 0, c.grid == ResultTypeOk) << c.what;
    }
}

TEST_F(PatternApiTest, ChecksOffInputsThatWouldLeaveAnUnsaveableInteractionAreRefused)
{
    OptionSetCheckArguments(m_tag, false, &m_result);
    Array<Array<int>> occurrences = Occurrences({{m_holes[0]}, {m_holes[2]}, {m_holes[4]}});
    const int nothing = 987654;
    EXPECT_EQ(LoadOpenCircularFacePattern(m_tag, occurrences, 0.3, nothing, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(LoadClosedCircularFacePattern(m_tag, occurrences, nothing, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_EQ(CreateInstance(m_tag, HoleAt(m_plate, 15, 25), nullptr, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);

    // What was accepted saves, and the file loads.
    EXPECT_NE(LoadOpenCircularFacePattern(m_tag, occurrences, 0.3, m_axis, &m_result), 0);
    EXPECT_NE(CreateInstance(m_tag, m_plate, nullptr, &m_result), 0);
    DebugSaveInteraction(m_tag, m_path.c_str(), &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    Interaction::SetAllowMultipleInteractions(true);
    EXPECT_NE(DebugLoadInteraction(m_path.c_str(), &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeOk);
}

TEST_F(PatternApiTest, GridAndAxisReferencesFollowTheCounts)
{
    const std::vector<std::vector<int>> six = {{m_holes[0]}, {m_holes[2]}, {m_holes[4]},
                                               {m_holes[1]}, {m_holes[3]}, {m_holes[5]}};
    Array<Array<int>> grid = Occurrences(six);
    const int pattern = LoadRectangularFacePattern(m_tag, grid, 3, 2, 15, 30, m_xLine, m_yLine, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    auto* loaded = dynamic_cast<RectangularFacePattern*>(CastTagToFacePattern(TagManager::FindInteractionFromTag(m_tag), pattern));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetOccurrenceCount(), 6);
    for (int count : {5, 7}) {
        std::vector<std::vector<int>> lists = six;
        lists.resize(count, {m_holes[0]});
        Array<Array<int>> wrong = Occurrences(lists);
        EXPECT_EQ(LoadRectangularFacePattern(m_tag, wrong, 3, 2, 15, 30, m_xLine, m_yLine, &m_result), 0);
        EXPECT_EQ(m_result, ResultTypeBadArgument) << count;
    }
    Array<Array<int>> column = Occurrences({{m_holes[0]}, {m_holes[1]}, {m_holes[2]}, {m_holes[3]}});
    LoadRectangularFacePattern(m_tag, column, 1, 4, 0, 10, m_xLine, m_yLine, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "one column names no x direction";
    LoadRectangularFacePattern(m_tag, column, 1, 4, 0, 10, 0, m_yLine, &m_result);
    EXPECT_EQ(m_result, ResultTypeOk);
    LoadRectangularFacePattern(m_tag, column, 1, 4, 0, 10, 0, m_top, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "a direction is a line";
    const int freeLine = Ref(brennik::build::FreeLine(0, 0, 0, 0, 1, 0));
    LoadRectangularFacePattern(m_tag, column, 1, 4, 0, 10, 0, freeLine, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "a direction is a line of the pattern's body";

    Array<Array<int>> one = Occurrences({{m_holes[0]}});
    LoadClosedCircularFacePattern(m_tag, one, m_axis, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "one occurrence names no axis";
}

TEST_F(PatternApiTest, ClosedCircleSpacingIsAFullTurnOverTheOccurrences)
{
    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    for (int count : {6, 4, 1}) {
        std::vector<std::vector<int>> lists;
        for (int k = 0; k < count; ++k)
            lists.push_back({m_holes[k]});
        Array<Array<int>> occurrences = Occurrences(lists);
        const int tag = LoadClosedCircularFacePattern(m_tag, occurrences, count > 1 ? m_axis : 0, &m_result);
        ASSERT_EQ(m_result, ResultTypeOk) << count;
        auto* pattern = dynamic_cast<CircularFacePattern*>(CastTagToFacePattern(interaction, tag));
        ASSERT_NE(pattern, nullptr);
        EXPECT_DOUBLE_EQ(pattern->GetSpacing(), count > 1 ? 2 * s_pi / count : 0.0) << count;
        EXPECT_EQ(pattern->GetOccurrenceCount(), count);
    }
}

TEST_F(PatternApiTest, UserDefinedLeavesOutAnEmptyCopyAndTrustsArgumentsWithChecksOff)
{
    Interaction* interaction = TagManager::FindInteractionFromTag(m_tag);
    Array<Array<int>> occurrences = Occurrences({{m_holes[0]}, {}, {m_holes[2]}});
    Array<Double4x4> transforms = Translations(1);
    LoadUserDefinedFacePattern(m_tag, occurrences, transforms, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument) << "three occurrences take two transforms";
    transforms = Translations(2);
    const int tag = LoadUserDefinedFacePattern(m_tag, occurrences, transforms, &m_result);
    ASSERT_EQ(m_result, ResultTypeOk);
    auto* pattern = dynamic_cast<UserDefinedFacePattern*>(CastTagToFacePattern(interaction, tag));
    ASSERT_NE(pattern, nullptr);
    ASSERT_EQ(pattern->GetOccurrenceCount(), 2);
    EXPECT_NEAR(pattern->GetOccurrenceXform(1)->translation.x, 30.0, 1e-12) << "copies keep their own transforms";

    OptionSetCheckArguments(m_tag, false, nullptr);
    Array<Array<int>> short4 = Occurrences({{m_holes[0]}, {m_holes[1]}, {m_holes[2]}});
    LoadRectangularFacePattern(m_tag, short4, 2, 2, 1, 1, m_xLine, m_yLine, &m_result);
    EXPECT_EQ(m_result, ResultTypeUnhandledException);
}

// ---- Sections and virtual vertices -------------------------------------------------------

TEST_F(PatternApiTest, SectionCallsMakeReadAndRecordSectionGeometry)
{
    const int block = brennik::build::Block();
    const int planarFace = Ref(TopFace(block));
    const int plane = Ref(brennik::build::FreePlane(0, 0, 15, 0, 0, 1));
    EXPECT_EQ(CreateSection(m_tag, planarFace, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    const int section = CreateSection(m_tag, plane, &m_result);
    ASSERT_NE(section, 0);
    EXPECT_EQ(GetSectionsCount(m_tag, &m_result), 1);
    EXPECT_EQ(GetSection(m_tag, 0, &m_result), section);
    EXPECT_EQ(GetSection(m_tag, 1, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_EQ(SectionGetPlane(m_tag, section, &m_result), plane);

    const int cut = CreateInstance(m_tag, block, nullptr, &m_result);
    const int uncut = CreateInstance(m_tag, brennik::build::Block(), nullptr, &m_result);
    int sectionInstance = -1;
    Array<int> sources;
    Array<int> sectionEntities;
    // Stopped before its effect, the call answers true and only the result tells.
    EXPECT_TRUE(SectionGenerateGeometry(m_tag, cut, cut, sectionInstance, sources, sectionEntities, &m_result));
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    EXPECT_TRUE(SectionGenerateGeometry(m_tag, section, cut, sectionInstance, sources, sectionEntities, &m_result));
    EXPECT_EQ(m_result, ResultTypeOk);
    EXPECT_EQ(sources.GetSize(), sectionEntities.GetSize());
    EXPECT_GE(sources.GetSize(), 4);
    EXPECT_TRUE(IsASectionInstance(m_tag, sectionInstance, &m_result));
    EXPECT_FALSE(IsASectionInstance(m_tag, cut, &m_result));

    int none = -1;
    EXPECT_FALSE(SectionGetMapping(m_tag, section, uncut, none, sources, sectionEntities, &m_result));
    EXPECT_EQ(m_result, ResultTypeFail);
    EXPECT_EQ(none, 0);

    std::vector<int> three = {sectionEntities[0], sectionEntities[1], sectionEntities[2]};
    Array<int> threeSections(3, three.data());
    Array<int> twoSources(2, GetArrayVector(sources).data());
    EXPECT_TRUE(SectionAddGeometry(m_tag, section, uncut, sectionInstance, twoSources, threeSections, &m_result));
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    Array<int> threeSources(3, GetArrayVector(sources).data());
    EXPECT_TRUE(SectionAddGeometry(m_tag, section, uncut, sectionInstance, threeSources, threeSections, &m_result));
    Array<int> readSources;
    Array<int> readSections;
    int readInstance = 0;
    EXPECT_TRUE(SectionGetMapping(m_tag, section, uncut, readInstance, readSources, readSections, &m_result));
    EXPECT_EQ(readInstance, sectionInstance);
    EXPECT_EQ(GetArrayVector(readSources), GetArrayVector(threeSources));
    EXPECT_EQ(GetArrayVector(readSections), three);

    Array<int> cutInstances;
    cutInstances.Add(7);
    SectionGetCutInstances(m_tag, section, cutInstances, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    cutInstances.RemoveAll();
    SectionGetCutInstances(m_tag, section, cutInstances, &m_result);
    EXPECT_EQ(GetArrayVector(cutInstances), (std::vector<int>{std::min(cut, uncut), std::max(cut, uncut)}));
}

TEST_F(PatternApiTest, VirtualVertexCallsMakeAndReadBackTheCorner)
{
    const int corner = brennik::build::BlockWithBlendedCorner(2.0);
    std::vector<int> defining;
    std::set<int> faces;
    GetBodyFaces(corner, faces);
    for (int face : faces) {
        Position at;
        Position normal;
        if (GetStandardGeometry(face, nullptr, nullptr, &at, &normal, nullptr, nullptr, nullptr) != KernelClassPlane)
            continue;
        if ((normal.x > 0.5 && std::fabs(at.x - 10) < 1e-9) || (normal.y > 0.5 && std::fabs(at.y - 20) < 1e-9) ||
            (normal.z > 0.5 && std::fabs(at.z - 30) < 1e-9))
            defining.push_back(Ref(face));
    }
    ASSERT_EQ(defining.size(), 3u);
    const double seed[3] = {9, 19, 29};
    for (bool checks : {true, false}) {
        OptionSetCheckArguments(m_tag, checks, nullptr);
        Array<int> empty;
        EXPECT_EQ(CreateVirtualVertex(m_tag, empty, seed, &m_result), 0);
        EXPECT_EQ(m_result, ResultTypeFail);
    }
    OptionSetCheckArguments(m_tag, true, nullptr);
    Array<int> placed(static_cast<int>(defining.size()), defining.data());
    placed[0] = Ref(ReferenceGetEntity(m_tag, defining[0], &m_result), CreateInstance(m_tag, corner, nullptr, &m_result));
    EXPECT_EQ(CreateVirtualVertex(m_tag, placed, seed, &m_result), 0);
    EXPECT_EQ(m_result, ResultTypeFail);

    Array<int> tags(static_cast<int>(defining.size()), defining.data());
    const int vertex = CreateVirtualVertex(m_tag, tags, seed, &m_result);
    ASSERT_NE(vertex, 0);
    Array<int> read;
    VirtualVertexGetDefiningRefs(m_tag, vertex, read, &m_result);
    EXPECT_EQ(GetArrayVector(read), defining);
    VirtualVertexGetDefiningRefs(m_tag, vertex, read, &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
    const int point = VirtualVertexGetVirtualPoint(m_tag, vertex, &m_result);
    EXPECT_EQ(GetEntityClass(point), KernelClassPoint);
    VirtualVertexGetVirtualPoint(m_tag, defining[0], &m_result);
    EXPECT_EQ(m_result, ResultTypeBadArgument);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
