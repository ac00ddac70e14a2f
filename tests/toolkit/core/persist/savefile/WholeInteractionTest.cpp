// One interaction holding an object of every class the file knows so far, saved and loaded
// back in both body forms: inline and from a kernel transmit file named beside the save file.
#include "SaveFileFixture.h"

#include "core/support/AlgorithmSwitches.h"
#include "core/objects/EntityCasts.h"
#include "model/patterns/FacePattern.h"
#include "model/features/Feature.h"
#include "model/features/FeatureProcedureData.h"
#include "model/transaction/MappingData.h"
#include "model/relations/Relation.h"
#include "model/patterns/Section.h"
#include "model/references/VirtualVertex.h"
#include "update/records/FoundData.h"
#include "update/records/Rule.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace QEL {
namespace testing {
namespace {

// The procedure the application maps to the features it names "boss"; never run here.
void RebuildBoss(int, int) {}

// The planar face of the body whose normal is along the axis (0 x, 1 y, 2 z) at that
// coordinate; 0 when there is none.
int PlanarFaceAt(int body, int axis, double at)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces) {
        Position location;
        Position normal;
        double radius = 0.0;
        if (GetStandardGeometry(face, nullptr, nullptr, &location, &normal, &radius, nullptr, nullptr) !=
            KernelClassPlane)
            continue;
        const double n[3] = {normal.x, normal.y, normal.z};
        const double p[3] = {location.x, location.y, location.z};
        if (std::fabs(std::fabs(n[axis]) - 1.0) < 1e-9 && std::fabs(p[axis] - at) < 1e-9)
            return face;
    }
    return 0;
}

// A procedure that rebuilds a block's top face 5 higher, mapping the cut top face to the new
// one: its run leaves the feature's mapping data in the interaction.
void RaiseTop(int interactionTag, int dataTag)
{
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    auto* data = DowncastEntity<FeatureProcedureData>(interaction->FindTaggedEntityFromTag(dataTag));
    MappingData* cut = interaction->FindMappingDataFromTag(data->GetCutToolMappingDataTag());
    MappingData* mapping = interaction->FindMappingDataFromTag(data->GetProcedureMappingDataTag());
    int mainFace = 0, cutFace = 0;
    cut->GetEntry(0, &mainFace, &cutFace);
    const int previous = GetCurrentPartition();
    SetCurrentPartition(data->GetToolPartition());
    const int tool = brennik::build::Block(10, 20, 35);
    SetCurrentPartition(previous);
    data->SetProcedureToolBody(tool);
    mapping->AddEntry(cutFace, PlanarFaceAt(tool, 2, 35.0));
}

// The first line on which two texts differ, as each has it; empty when they are equal.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    std::istringstream left(a);
    std::istringstream right(b);
    std::string leftLine;
    std::string rightLine;
    for (int line = 1;; ++line) {
        const bool moreLeft = static_cast<bool>(std::getline(left, leftLine));
        const bool moreRight = static_cast<bool>(std::getline(right, rightLine));
        if (!moreLeft && !moreRight)
            return "";
        if (moreLeft != moreRight || leftLine != rightLine)
            return "line " + std::to_string(line) + ":\n" + (moreLeft ? leftLine : "<end>") + "\n" +
                   (moreRight ? rightLine : "<end>");
    }
}

int CountObjectsOfType(Interaction* interaction, ObjectType type)
{
    int count = 0;
    for (TaggedEntity* entity : interaction->GetTagManager()->GetTaggedEntities())
        count += entity->GetType() == type;
    return count;
}

// The content of the save-file content test, with relations, a feature, patterns, a section, a virtual
// vertex and application feature data beside it.
class WholeInteractionTest : public SaveFileContentTest {
protected:
    void SetUp() override
    {
        SaveFileContentTest::SetUp();
        if (HasFatalFailure())
            return;
        Instance* block = m_interaction->GetInstance(0);
        Xform moved;
        moved.SetToTranslation(Vec(40.0, 0.0, 0.0));

        // Patterns of all three kinds over the bare block's faces.
        std::vector<Reference*> faces;
        for (int face : Faces(m_block))
            faces.push_back(Reference::Create(m_interaction, face, nullptr));
        Reference* zAxis = FreeLine(0, 0, 1);
        std::vector<Reference*> seed = {faces[0]};
        CircularFacePattern* circular = CircularFacePattern::CreateClosed(m_interaction, seed, 3, zAxis);
        ASSERT_NE(circular, nullptr);
        for (int i = 1; i < 3; ++i) {
            std::vector<Reference*> occurrence = {faces[i]};
            ASSERT_TRUE(circular->SetOccurrence(occurrence, i));
        }
        std::vector<Reference*> row = {faces[3]};
        ASSERT_NE(RectangularFacePattern::Create(m_interaction, row, 2, 1, 2.5, 0.0, FreeLine(1, 0, 0),
                                                 nullptr),
                  nullptr);
        std::vector<Reference*> first = {faces[4]};
        UserDefinedFacePattern* user = UserDefinedFacePattern::Create(m_interaction, first);
        ASSERT_NE(user, nullptr);
        std::vector<Reference*> second = {faces[5]};
        ASSERT_TRUE(user->AddOccurrence(second, moved));

        // A section of the placed block on a free plane.
        Reference* plane =
            Reference::Create(m_interaction, brennik::build::FreePlane(0, 0, 15, 0, 0, 1), nullptr);
        Section* section = Section::Create(m_interaction, plane);
        ASSERT_NE(section, nullptr);
        ASSERT_TRUE(section->GenerateSectionGeometry(block));

        // A virtual vertex at a blended corner, where three planes meet.
        const int corner = brennik::build::BlockWithBlendedCorner(2.0);
        const double seedPoint[3] = {9.0, 19.0, 29.0};
        std::vector<Reference*> defining = {FaceOn(corner, 0, 10.0), FaceOn(corner, 1, 20.0),
                                            FaceOn(corner, 2, 30.0)};
        ASSERT_NE(VirtualVertex::Create(m_interaction, defining, seedPoint), nullptr);

        // Relations of several types with values, application strings and a subtype: between
        // references through instances, on bare bodies and to free geometry.
        Reference* blendFace = nullptr;
        Reference* blendNeighbour = nullptr;
        for (int face : Faces(m_blended))
            (GetGeometryClassOfTopology(face) == KernelClassCylinder ? blendFace : blendNeighbour) =
                Reference::Create(m_interaction, face, nullptr);
        Relation* distance =
            Relation::CreateBinary(m_interaction, RelationTypeDistance, m_planeReference, FaceOn(m_block, 2, 30.0, block));
        ASSERT_NE(distance, nullptr);
        distance->SetValue(12.5);
        distance->SetApplicationString("clearance");
        Relation* radius = Relation::CreateUnary(m_interaction, RelationTypeRadius, blendFace);
        ASSERT_NE(radius, nullptr);
        radius->SetApplicationString("fillet");
        Relation* parallel =
            Relation::CreateBinary(m_interaction, RelationTypeParallel, blendFace, blendNeighbour);
        ASSERT_NE(parallel, nullptr);
        ASSERT_TRUE(parallel->SetRelationSubtype(blendFace, RelationSubtypeAxis, false));
        Instance* blended = m_interaction->GetInstance(1);
        ASSERT_NE(Relation::CreateBinary(m_interaction, RelationTypePerpendicular, m_faceReference,
                                         Reference::Create(m_interaction, Faces(m_blended)[0], blended)),
                  nullptr);

        // A recreated feature with a procedure found by its identifier, its lists and
        // application numbers.
        Feature::MapIdentifierToProcedure("boss", &RebuildBoss);
        Feature* boss = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
        ASSERT_NE(boss, nullptr);
        boss->AddReference(m_faceReference);
        boss->AddProfileReference(m_planeReference);
        boss->AddDependents(blendNeighbour);
        boss->SetAppIdentifier("boss");
        boss->SetAppDataInteger(3, -7);
        boss->SetAppDataDouble(1, 0.1);
        boss->SetUpdateRequired(true);

        // A feature whose procedure has run: its mapping data is the run's own and is not saved.
        const int raised = brennik::build::Block();
        Feature* raise = Feature::Create(m_interaction, FeatureTypeSimpleRecreate);
        raise->AddReference(Reference::Create(m_interaction, PlanarFaceAt(raised, 2, 30.0), nullptr));
        raise->SetProcedure(&RaiseTop, nullptr);
        SetNewPFAlgorithm(true);
        const int edited = raise->Edit(nullptr);
        SetNewPFAlgorithm(false);
        ASSERT_EQ(edited, ResultTypeOk);
        ASSERT_NE(raise->GetProcedureMapData(), nullptr);
        ASSERT_EQ(raise->GetProcedureMapData()->GetEntryCount(), 1);

        // What a configure leaves: rules, one the application made, and found data of a
        // relation and of a wall.
        Rule::Create(m_interaction, blendFace, RuleTypeKeepRadius, RuleStateApply, Vec(), true, false)
            ->SetAppliedInLastConfigure(true);
        Rule::Create(m_interaction, m_faceReference, RuleTypeTranslateInDir, RuleStateRelax, Vec(0, 0, 1), false,
                     true);
        FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateRelax, radius, 1, true);
        const ShellClusterData wall({Faces(m_block)[0]}, {Faces(m_block)[1]}, 10.0);
        FoundData::Create(m_interaction, FoundDataTypeShell, FoundDataStateApply, wall, 2, true);

        // The application's data on an add-on feature.
        const int face = Faces(m_block)[2];
        const int label = 1;
        int feature = 0;
        const HXR_TOPOL_make_feat_o_s featureOptions{1, 0, nullptr, nullptr, 0};
        ASSERT_EQ(HXR_TOPOL_make_feat(1, &face, &label, 0, 7, &featureOptions, &feature), 0);
        m_interaction->SetAppData(feature, "depth", 2.5);
    }

    Reference* FreeLine(double dx, double dy, double dz)
    {
        return Reference::Create(m_interaction, brennik::build::FreeLine(0, 0, 0, dx, dy, dz), nullptr);
    }

    // A reference on the body's planar face at the coordinate along the axis (0 x, 1 y, 2 z),
    // bare unless an instance is given.
    Reference* FaceOn(int body, int axis, double at, Instance* instance = nullptr)
    {
        const int face = PlanarFaceAt(body, axis, at);
        if (face == 0) {
            ADD_FAILURE() << "no planar face at " << at;
            return nullptr;
        }
        return Reference::Create(m_interaction, face, instance);
    }
};

TEST_F(WholeInteractionTest, LoadsBackEqualWithBodiesInline)
{
    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetFacePatterns().size(), 3u);
    EXPECT_EQ(m_loaded->GetSectionsCount(), 1);
    EXPECT_EQ(m_loaded->GetVirtualVertices().size(), 1u);
    ASSERT_EQ(m_loaded->GetRelationCount(), 4);
    EXPECT_EQ(m_loaded->GetRelation(0)->GetValue(), 12.5);
    EXPECT_STREQ(m_loaded->GetRelation(1)->GetApplicationString(), "fillet");
    ASSERT_EQ(m_loaded->GetFeatureCount(), 2);
    Feature* feature = m_loaded->GetFeature(0);
    EXPECT_EQ(feature->GetProcedure(nullptr), &RebuildBoss);
    EXPECT_EQ(feature->GetFeatureType(), FeatureTypeSimpleRecreate);
    EXPECT_EQ(feature->GetDependentCount(), 1);
    double tenth = 0.0;
    EXPECT_TRUE(feature->GetAppDataDouble(1, &tenth));
    EXPECT_EQ(tenth, 0.1);
    Array<int> features;
    m_loaded->GetAppFeatures(features);
    EXPECT_EQ(features.GetSize(), 1);
    EXPECT_EQ(m_loaded->GetRules().size(), 2u);
    EXPECT_EQ(m_loaded->GetFoundData().size(), 2u);
    EXPECT_EQ(m_loaded->GetRelation(1)->GetFoundData(), m_loaded->GetFoundData()[0]);
    // The procedure's mapping data stays behind, and the comparison leaves it out.
    EXPECT_GT(CountObjectsOfType(m_interaction, ObjectTypeMappingData), 0);
    EXPECT_EQ(CountObjectsOfType(m_loaded, ObjectTypeMappingData), 0);
    EXPECT_EQ(m_loaded->GetFeature(1)->GetProcedureMapData(), nullptr);
    EXPECT_TRUE(m_loaded->Compare(m_interaction, false, nullptr));
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_loaded->CheckValidity(bad, codes));
    EXPECT_TRUE(codes.empty());

    // A changed object is told apart from a changed body.
    Xform turned;
    turned.SetToTranslation(Vec(0.0, 3.0, 0.0));
    for (FacePattern* pattern : m_loaded->GetFacePatterns())
        if (UserDefinedFacePattern* user = dynamic_cast<UserDefinedFacePattern*>(pattern))
            user->SetOccurrenceXform(1, turned);
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    EXPECT_EQ(result, ResultTypeObjectDiffers);
}

// Each change to one relation of the loaded interaction, undone after, is an object difference
// whichever side starts the comparison.
TEST_F(WholeInteractionTest, AChangedRelationDiffers)
{
    ASSERT_EQ(SaveLoadCompare(), ResultTypeOk);
    Relation* distance = m_loaded->GetRelation(0);
    Relation* parallel = m_loaded->GetRelation(2);
    Reference* axis = parallel->GetReference(0);
    const struct {
        const char* what;
        std::function<void()> change;
        std::function<void()> undo;
    } cases[] = {
        {"value", [&] { distance->SetValue(13.0); }, [&] { distance->SetValue(12.5); }},
        {"application string", [&] { distance->SetApplicationString("gap"); },
         [&] { distance->SetApplicationString("clearance"); }},
        {"subtype", [&] { parallel->SetRelationSubtype(axis, RelationSubtypeBoundary, false); },
         [&] { parallel->SetRelationSubtype(axis, RelationSubtypeAxis, false); }},
    };
    for (const auto& c : cases) {
        c.change();
        for (auto sides : {std::make_pair(m_interaction, m_loaded), std::make_pair(m_loaded, m_interaction)}) {
            ResultType result = ResultTypeUnknown;
            EXPECT_FALSE(sides.first->Compare(sides.second, false, &result)) << c.what;
            EXPECT_EQ(result, ResultTypeObjectDiffers) << c.what;
        }
        c.undo();
        EXPECT_TRUE(m_interaction->Compare(m_loaded, false, nullptr)) << c.what << " undone";
    }
}

TEST_F(WholeInteractionTest, LoadsBackEqualWithBodiesFromANamedTransmitFile)
{
    EXPECT_EQ(SaveLoadNamedCompare(), ResultTypeOk);
    ASSERT_NE(m_loaded, nullptr);
    EXPECT_EQ(m_loaded->GetFacePatterns().size(), 3u);
    EXPECT_EQ(m_loaded->GetSectionsCount(), 1);
}

// Every saved class at once: after a mark the fields of an object of each class and the
// interaction's options change, then every object is destroyed; rolling back to the mark gives
// back the very file the interaction saved before, and rolling forward again the emptied one.
TEST_F(WholeInteractionTest, MarkRoundTripRestoresEveryObjectOfEveryClass)
{
    // The saved text without the moment of saving.
    const auto saved = [this](const char* name) {
        const std::string path = PathOf(name);
        EXPECT_TRUE(m_interaction->SaveToFile(path.c_str()));
        std::string text = ReadFile(path);
        const size_t info = text.find("<Info ");
        if (info != std::string::npos)
            text.erase(info, text.find("/>", info) + 2 - info);
        return text;
    };
    const std::string before = saved("before.xml");
    const int mark = m_interaction->CreateMark();

    Xform moved;
    moved.SetToTranslation(Vec(0.0, 0.0, 5.0));
    m_interaction->GetInstance(0)->SetXform(moved);
    m_faceReference->SetBehaviour(m_faceReference->GetBehaviour() == ReferenceBehaviourModelling
                                      ? ReferenceBehaviourPositioning
                                      : ReferenceBehaviourModelling);
    Relation* distance = m_interaction->GetRelation(0);
    distance->SetValue(13.0);
    distance->SetApplicationString("gap");
    Feature* boss = m_interaction->GetFeature(0);
    boss->SetFeatureType(FeatureTypeComplexRecreate);
    boss->SetUpdateRequired(false);
    boss->SetAppDataInteger(3, 8);
    boss->SetAppIdentifier("other");
    for (FacePattern* pattern : m_interaction->GetFacePatterns()) {
        pattern->SetRigidOccurrences(!pattern->GetRigidOccurrences());
        if (auto* circular = dynamic_cast<CircularFacePattern*>(pattern)) {
            EXPECT_TRUE(circular->SetSpacing(0.5));
        }
        if (auto* rectangular = dynamic_cast<RectangularFacePattern*>(pattern)) {
            EXPECT_TRUE(rectangular->SetXSpacing(4.0));
        }
        if (auto* user = dynamic_cast<UserDefinedFacePattern*>(pattern))
            user->SetOccurrenceXform(1, moved);
    }
    for (Rule* rule : m_interaction->GetRules())
        rule->SetState(rule->GetState() == RuleStateApply ? RuleStateRelax : RuleStateApply);
    for (FoundData* found : m_interaction->GetFoundData()) {
        found->SetState(found->GetState() == FoundDataStateApply ? FoundDataStateRelax : FoundDataStateApply);
        found->SetFoundLevel(found->GetFoundLevel() + 5);
    }
    for (TaggedEntity* entity : m_interaction->GetTagManager()->GetTaggedEntities())
        if (auto* shell = dynamic_cast<ShellOptions*>(entity))
            shell->SetType(ShellTypeInwards);
    EXPECT_EQ(m_interaction->SetExactDragging(!m_interaction->GetExactDragging()), ResultTypeOk);
    EXPECT_EQ(m_interaction->SetModellingTolerance(2e-6), ResultTypeOk);
    Array<int> features;
    m_interaction->GetAppFeatures(features);
    ASSERT_EQ(features.GetSize(), 1);
    m_interaction->SetAppData(features[0], "depth", 4.0);
    ASSERT_NE(saved("changed.xml"), before);

    const TaggedEntitySet& registered = m_interaction->GetTagManager()->GetTaggedEntities();
    for (std::size_t left = registered.size(); left > 0; --left) {
        auto next = std::find_if(registered.begin(), registered.end(),
                                 [this](TaggedEntity* entity) { return entity != m_interaction; });
        if (next == registered.end())
            break;
        (*next)->Destroy();
    }
    ASSERT_EQ(m_interaction->GetInstanceCount() + m_interaction->GetRelationCount() +
                  m_interaction->GetFeatureCount() + m_interaction->GetSectionsCount(),
              0);
    const std::string emptied = saved("emptied.xml");
    ASSERT_NE(emptied, before);
    const int after = m_interaction->CreateMark();

    m_interaction->RollToMark(mark);
    EXPECT_EQ(FirstDifference(saved("restored.xml"), before), "");
    std::vector<TaggedEntity*> bad;
    std::vector<InvalidityType> codes;
    EXPECT_TRUE(m_interaction->CheckValidity(bad, codes));
    m_interaction->RollToMark(after);
    EXPECT_EQ(FirstDifference(saved("redone.xml"), emptied), "");
}

}  // namespace
}  // namespace testing
}  // namespace QEL
