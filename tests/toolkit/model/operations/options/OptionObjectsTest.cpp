// The fourteen option objects of the one-shot modelling operations: one shape for type codes,
// registration, snapshots, comparison and XML, then the blocks and tokens each hands to the
// add-on, the settings rollback restores, and the lists a block points into.

#include "OptionsFixture.h"

#include "model/operations/BlockOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

#include <cstring>
#include <functional>

namespace QEL {
namespace testing {
namespace {

struct OptionClass {
    const char* name;
    ObjectType type;
    std::function<SerializableObject*(Interaction*)> make;
    std::function<SerializableObject*(Interaction*, XMLIO&)> read;
};

template <typename T>
OptionClass Entry()
{
    return {T::s_className, T::s_objectType, [](Interaction* i) -> SerializableObject* { return new T(i); },
            [](Interaction* i, XMLIO& xmlio) -> SerializableObject* { return T::CreateFromXML(i, xmlio); }};
}

const std::vector<OptionClass>& OptionClasses()
{
    static const std::vector<OptionClass> s_classes = {
        Entry<ReorderBlendsOptions>(), Entry<CutOptions>(), Entry<CopyOptions>(),
        Entry<DeleteFacesOptions>(), Entry<ShellOptions>(), Entry<PasteOptions>(),
        Entry<OffsetFacesOptions>(), Entry<TaperOptions>(), Entry<ReplaceOptions>(),
        Entry<ReplaceFacesWithSheetOptions>(), Entry<ExtractBodyPersistentDataOptions>(),
        Entry<RestoreBodyPersistentDataOptions>(), Entry<RemoveFaceShellPersistentDataOptions>(),
        Entry<BodyIsPasteToolOptions>(),
    };
    return s_classes;
}

using OptionObjects = OptionsTest;

TEST_F(OptionObjects, EveryClassCarriesItsTypeAndComparesEqualToItsSnapshotAndItsElementReadBack)
{
    const std::vector<ObjectType> expectedTypes = {
        ObjectTypeReorderBlendsOptions, ObjectTypeCutOptions, ObjectTypeCopyOptions,
        ObjectTypeDeleteFacesOptions, ObjectTypeShellOptions, ObjectTypePasteOptions,
        ObjectTypeOffsetFacesOptions, ObjectTypeTaperOptions, ObjectTypeReplaceOptions,
        ObjectTypeReplaceFacesWithSheetOptions, ObjectTypeExtractBodyPersistentDataOptions,
        ObjectTypeRestoreBodyPersistentDataOptions, ObjectTypeRemoveFaceShellPersistentDataOptions,
        ObjectTypeBodyIsPasteToolOptions};
    ASSERT_EQ(OptionClasses().size(), expectedTypes.size());
    SerializableObject* previous = nullptr;
    for (std::size_t i = 0; i < OptionClasses().size(); ++i) {
        const OptionClass& option = OptionClasses()[i];
        SCOPED_TRACE(option.name);
        SerializableObject* object = option.make(m_interaction);
        EXPECT_EQ(object->GetType(), expectedTypes[i]);
        EXPECT_EQ(m_interaction->FindTaggedEntityFromTag(object->GetTag()), object);

        RollableEntity* snapshot = object->Clone();
        EXPECT_TRUE(object->Compare(dynamic_cast<TaggedEntity*>(snapshot)));
        snapshot->Release();
        if (previous) {
            EXPECT_FALSE(object->Compare(previous));
        }

        auto writer = Writer();
        ASSERT_TRUE(object->DoIO(*writer));
        const std::string text = writer->ToText();
        EXPECT_NE(text.find("<" + std::string(option.name) + " id=\"id" +
                            std::to_string(object->GetEntityId()) + "\""),
                  std::string::npos)
            << text;
        auto reader = Reader(text);
        SerializableObject* back = option.read(m_interaction, *reader);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetType(), expectedTypes[i]);
        EXPECT_TRUE(object->Compare(back));
        back->Destroy();

        // An element of another name is not read, and leaves no object behind.
        const int registered = m_interaction->GetTagManager()->GetNumTaggedEnts();
        auto other = Reader("<Test><Instance id=\"id900\"/></Test>");
        EXPECT_EQ(option.read(m_interaction, *other), nullptr);
        EXPECT_EQ(m_interaction->GetTagManager()->GetNumTaggedEnts(), registered);

        if (previous)
            previous->Destroy();
        previous = object;
    }
    previous->Destroy();
}

TEST_F(OptionObjects, NewObjectsHoldTheDefaultBlocks)
{
    m_interaction->SetModellingTolerance(1e-5);
    CutOptions cut(nullptr);
    CopyOptions copy(nullptr);
    OffsetFacesOptions offset(nullptr);
    EXPECT_EQ(cut.GetOptionBlock().version, 1);
    EXPECT_EQ(cut.GetOptionBlock().partition, 0);
    EXPECT_EQ(copy.GetOptionBlock().version, 1);
    EXPECT_EQ(copy.GetOptionBlock().partition, 0);
    EXPECT_EQ(offset.GetOptionBlock().version, 1);
    EXPECT_EQ(offset.GetOptionBlock().reference_face, 0);
    EXPECT_EQ(DeleteFacesOptions(nullptr).GetOptionBlock().version, 1);
    EXPECT_EQ(RestoreBodyPersistentDataOptions(nullptr).GetOptionBlock().version, 1);
    EXPECT_EQ(RemoveFaceShellPersistentDataOptions(nullptr).GetOptionBlock().version, 1);
    EXPECT_EQ(BodyIsPasteToolOptions(nullptr).GetOptionBlock().version, 1);

    ExtractBodyPersistentDataOptions extract(nullptr);
    HXR_BODY_extract_relations_o_s extractBlock;
    extract.GetOptionBlock(extractBlock);
    EXPECT_EQ(extractBlock.version, 2);
    EXPECT_TRUE(extractBlock.store);

    PasteOptions pasteOptions(nullptr);
    const HXR_BODY_paste_o_s& paste = pasteOptions.GetOptionBlock();
    EXPECT_EQ(paste.version, 4);
    EXPECT_EQ(paste.paste_type, 50200);
    EXPECT_FALSE(paste.flag);
    EXPECT_EQ(paste.option, 50260);
    EXPECT_EQ(paste.reblend, 50341);

    auto* sheet = new ReplaceFacesWithSheetOptions(m_interaction);
    EXPECT_EQ(sheet->GetOptionBlock().version, 1);
    EXPECT_EQ(sheet->GetOptionBlock().tolerance, 1e-5);
    EXPECT_EQ(sheet->GetOptionBlock().option, 50081);
    EXPECT_EQ(sheet->GetOptionBlock().sheet_option, 50320);
    EXPECT_EQ(sheet->GetOptionBlock().reserved[0] | sheet->GetOptionBlock().reserved[1] |
                  sheet->GetOptionBlock().reserved[2],
              0);
    sheet->Destroy();
    EXPECT_EQ(ReplaceFacesWithSheetOptions(nullptr).GetOptionBlock().tolerance, 1e-6);

    ShellOptions shell(nullptr);
    const HXR_BODY_hollow_o_s& hollow = shell.GetOptionBlock();
    EXPECT_EQ(shell.GetType(), ShellTypeInwards);
    EXPECT_EQ(hollow.version, 1);
    EXPECT_EQ(hollow.n_pierce_faces + hollow.n_offset_out_faces + hollow.n_offset_in_faces + hollow.n_local_faces, 0);
    EXPECT_EQ(hollow.pierce_faces, nullptr);
    EXPECT_EQ(hollow.offset_in_values, nullptr);
    EXPECT_EQ(hollow.local_face_type, 50282);

    TaperOptions taper(nullptr);
    HXR_FACE_change_taper_o_s taperBlock;
    taper.GetOptionBlock(taperBlock);
    EXPECT_EQ(taperBlock.version, 1);
    EXPECT_EQ(taperBlock.tapered_edges, nullptr);
    EXPECT_EQ(taperBlock.n_tapered_edges, 0);
    EXPECT_EQ(taperBlock.normal_edges, nullptr);
    EXPECT_EQ(taperBlock.n_normal_edges, 0);
    EXPECT_EQ(taperBlock.method, 50120);
    EXPECT_EQ(taperBlock.laminar_edge, 50140);
    EXPECT_TRUE(taper.GetMaintainShell());

    ReplaceOptions replace(nullptr);
    HXR_FACE_change_surface_o_s merge;
    replace.GetMergeOptionBlock(merge);
    EXPECT_EQ(merge.version, 1);
    EXPECT_EQ(merge.merge, 50160);
    EXPECT_TRUE(replace.GetMaintainShell());
    // With nothing to replace, the built block is exactly the reset block.
    HXR_FACE_change_o_s reset;
    ResetFaceChangeOptionBlock(reset);
    replace.BuildChangeOptions();
    EXPECT_EQ(std::memcmp(&replace.GetChangeOptionBlock(), &reset, sizeof reset), 0);
    EXPECT_EQ(reset.version, 1);
    EXPECT_TRUE(reset.first_flag && reset.second_flag);
    EXPECT_EQ(reset.option, 50081);
    EXPECT_EQ(reset.edges_use, 50100);
}

TEST_F(OptionObjects, SettingsBecomeTheAddOnTokens)
{
    PasteOptions paste(nullptr);
    const struct {
        int type;
        int token;
    } pasteTypes[] = {{PasteTypeSubtract, 50202}, {3, 50202}, {PasteTypeAdd, 50201}, {-1, 50201},
                      {PasteTypeDefault, 50200}};
    for (const auto& step : pasteTypes) {
        paste.SetPasteType(static_cast<PasteType>(step.type));
        EXPECT_EQ(paste.GetOptionBlock().paste_type, step.token) << step.type;
    }
    paste.SetReblend(false);
    EXPECT_EQ(paste.GetOptionBlock().reblend, 50340);
    paste.SetReblend(true);
    EXPECT_EQ(paste.GetOptionBlock().reblend, 50341);

    const std::vector<int> two = {m_faces[0], m_faces[1]};
    const struct {
        std::vector<int> faces;
        int type;
        int token;
        int count;
    } localFaces[] = {{two, ShellLocalFaceTypeAdd, 50280, 2},
                      {two, ShellLocalFaceTypeExclude, 50281, 2},
                      {two, 7, 50280, 2},
                      {two, ShellLocalFaceTypeNone, 50282, 0},
                      {{}, ShellLocalFaceTypeExclude, 50282, 0}};
    ShellOptions shell(nullptr);
    for (const auto& step : localFaces) {
        shell.SetLocalFaces(step.faces, static_cast<ShellLocalFaceType>(step.type));
        EXPECT_EQ(shell.GetOptionBlock().local_face_type, step.token) << step.type;
        EXPECT_EQ(shell.GetOptionBlock().n_local_faces, step.count);
        EXPECT_EQ(shell.GetOptionBlock().local_faces == nullptr, step.count == 0);
    }

    TaperOptions taper(nullptr);
    HXR_FACE_change_taper_o_s block;
    const int methods[][2] = {{1, 50120}, {2, 50121}, {3, 50122}, {4, 50123}, {5, 50124}, {0, 50120}, {6, 50120}};
    for (const auto& method : methods) {
        taper.SetTaperMethodType(static_cast<TaperMethodType>(method[0]));
        taper.GetOptionBlock(block);
        EXPECT_EQ(block.method, method[1]) << method[0];
    }
    const int laminar[][2] = {{2, 50141}, {1, 50140}, {3, 50140}};
    for (const auto& type : laminar) {
        taper.SetTaperLaminarEdgeType(static_cast<TaperLaminarEdgeType>(type[0]));
        taper.GetOptionBlock(block);
        EXPECT_EQ(block.laminar_edge, type[1]) << type[0];
    }
    taper.SetTaperEdges({m_edges[0], m_edges[1]});
    taper.GetOptionBlock(block);
    EXPECT_EQ(block.n_tapered_edges, 2);
    EXPECT_EQ(block.tapered_edges[1], m_edges[1]);
    EXPECT_EQ(block.normal_edges, nullptr);

    ReplaceOptions replace(nullptr);
    HXR_FACE_change_surface_o_s merge;
    const int merges[][2] = {{1, 50160}, {2, 50161}, {3, 50162}, {4, 50160}};
    for (const auto& type : merges) {
        replace.SetReplaceMergeType(static_cast<ReplaceMergeType>(type[0]));
        replace.GetMergeOptionBlock(merge);
        EXPECT_EQ(merge.merge, type[1]) << type[0];
    }
    const int uses[][2] = {{1, 50100}, {2, 50101}, {3, 50102}, {0, 50100}};
    for (const auto& use : uses) {
        ASSERT_TRUE(replace.SetEdgeData({m_edges[0]}, {GetGeometryOfTopology(m_edges[0])}, {1e-6},
                                        static_cast<ReplaceEdgesUseType>(use[0])));
        replace.BuildChangeOptions();
        EXPECT_EQ(replace.GetChangeOptionBlock().edges_use, use[1]) << use[0];
    }
}

TEST_F(OptionObjects, TheChangeBlockPointsAtTheListsAndPositionTriples)
{
    auto* replace = new ReplaceOptions(m_interaction);
    const int curve = GetGeometryOfTopology(m_edges[0]);
    ASSERT_TRUE(replace->SetEdgeData({m_edges[0], m_edges[1]}, {curve, curve}, {1e-6, 2e-6},
                                     ReplaceEdgesUseTypeExisting));
    ASSERT_TRUE(replace->SetVertexData({m_vertices[0]}, {Position(1, 2, 3)}, {1e-5}));
    ASSERT_TRUE(replace->SetEdgeHelp({m_edges[2]}, {Position(4, 5, 6)}));
    ASSERT_TRUE(replace->SetVertexHelp({m_vertices[1], m_vertices[2]}, {Position(7, 8, 9), Position(10, 11, 12)}));
    replace->BuildChangeOptions();
    const HXR_FACE_change_o_s& block = replace->GetChangeOptionBlock();
    EXPECT_EQ(block.n_edges, 2);
    EXPECT_EQ(block.edges[1], m_edges[1]);
    EXPECT_EQ(block.curves[0], curve);
    EXPECT_EQ(block.edge_tolerances[1], 2e-6);
    EXPECT_EQ(block.edges_use, 50102);
    EXPECT_EQ(block.n_vertices, 1);
    EXPECT_EQ(block.vertex_positions[2], 3.0);
    EXPECT_EQ(block.vertex_tolerances[0], 1e-5);
    EXPECT_EQ(block.n_help_edges, 1);
    EXPECT_EQ(block.help_edge_positions[0], 4.0);
    EXPECT_EQ(block.n_help_vertices, 2);
    EXPECT_EQ(block.help_vertex_positions[5], 12.0);
    replace->Destroy();
}

TEST_F(OptionObjects, ListsOfUnequalLengthsAreAcceptedAndTheBlockNeverReadsPastAListsEnd)
{
    ReplaceOptions replace(nullptr);
    const int curve = GetGeometryOfTopology(m_edges[0]);
    const std::vector<int> threeEdges = {m_edges[0], m_edges[1], m_edges[2]};
    // Three edges with one tolerance: the tolerance stands for all three.
    ASSERT_TRUE(replace.SetEdgeData(threeEdges, {curve, curve, curve}, {1e-6}, ReplaceEdgesUseTypeYes));
    replace.BuildChangeOptions();
    const HXR_FACE_change_o_s& block = replace.GetChangeOptionBlock();
    ASSERT_EQ(block.n_edges, 3);
    EXPECT_EQ(block.edge_tolerances[2], 1e-6);
    EXPECT_EQ(block.curves[2], curve);

    struct Case {
        const char* name;
        std::function<bool()> set;
        std::function<int()> count;
        int expected;
    };
    const std::vector<Case> cases = {
        {"edges past their curves",
         [&] { return replace.SetEdgeData(threeEdges, {curve}, {1e-6, 2e-6, 3e-6}, ReplaceEdgesUseTypeYes); },
         [&] { return block.n_edges; }, 1},
        {"vertices without positions",
         [&] { return replace.SetVertexData({m_vertices[0]}, {}, {1e-6}); }, [&] { return block.n_vertices; }, 0},
        {"vertices without tolerances",
         [&] { return replace.SetVertexData({m_vertices[0], m_vertices[1]}, {Position(0, 0, 0), Position(1, 1, 1)}, {}); },
         [&] { return block.n_vertices; }, 2},
        {"help edges past their positions",
         [&] { return replace.SetEdgeHelp(threeEdges, {Position(0, 0, 0)}); }, [&] { return block.n_help_edges; }, 1},
        {"help positions past their vertices",
         [&] { return replace.SetVertexHelp({m_vertices[0]}, {Position(0, 0, 0), Position(1, 1, 1)}); },
         [&] { return block.n_help_vertices; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.set());
        replace.BuildChangeOptions();
        EXPECT_EQ(c.count(), c.expected);
    }
    // The last reads of every list the block points at stay inside it (the sanitizers see to it).
    EXPECT_EQ(block.edge_tolerances[0], 1e-6);
    EXPECT_EQ(block.vertex_tolerances[1], 0.0);
    EXPECT_EQ(block.help_edge_positions[2], 0.0);
    EXPECT_EQ(block.help_vertex_positions[2], 0.0);

    ShellOptions shell(nullptr);
    ASSERT_TRUE(shell.SetOffsetInFaces({m_faces[0], m_faces[1]}, {1.0}));
    ASSERT_TRUE(shell.SetOffsetOutFaces({m_faces[2]}, {1.0, 2.0}));
    ASSERT_EQ(shell.GetOptionBlock().n_offset_in_faces, 2);
    EXPECT_EQ(shell.GetOptionBlock().offset_in_values[1], 1.0);
    ASSERT_EQ(shell.GetOptionBlock().n_offset_out_faces, 1);
    EXPECT_EQ(shell.GetOptionBlock().offset_out_values[0], 1.0);
    // An empty face list clears the faces whatever values come with it.
    EXPECT_TRUE(shell.SetOffsetInFaces({}, {1.5}));
    EXPECT_EQ(shell.GetOptionBlock().n_offset_in_faces, 0);
    EXPECT_EQ(shell.GetOptionBlock().offset_in_values, nullptr);
}

TEST_F(OptionObjects, RollbackRestoresTheRecordedSettingsAndKeepsTheOthers)
{
    auto* paste = new PasteOptions(m_interaction);
    auto* extract = new ExtractBodyPersistentDataOptions(m_interaction);
    auto* shell = new ShellOptions(m_interaction);
    auto* taper = new TaperOptions(m_interaction);
    auto* replace = new ReplaceOptions(m_interaction);
    const int mark = m_interaction->CreateMark();

    paste->SetPasteType(PasteTypeSubtract);
    paste->SetReblend(false);
    extract->SetStore(false);
    shell->SetType(ShellTypeSymmetric);
    shell->SetPierceFaces({m_faces[0]});
    ASSERT_TRUE(shell->SetOffsetOutFaces({m_faces[1]}, {2.0}));
    taper->SetTaperMethodType(TaperMethodTypeNormal);
    taper->SetMaintainShell(false);
    taper->SetNormalEdges({m_edges[0]});
    replace->SetReplaceMergeType(ReplaceMergeTypeOut);
    replace->SetReblends({m_faces[2]});
    m_interaction->CreateMark();
    m_interaction->RollToMark(mark);

    EXPECT_EQ(paste->GetOptionBlock().paste_type, 50202);
    EXPECT_EQ(paste->GetOptionBlock().reblend, 50340);
    EXPECT_FALSE(extract->GetOptionBlock().store);
    EXPECT_EQ(shell->GetType(), ShellTypeInwards);
    EXPECT_EQ(shell->GetOptionBlock().n_pierce_faces, 0);
    EXPECT_EQ(shell->GetOptionBlock().pierce_faces, nullptr);
    EXPECT_EQ(shell->GetOptionBlock().offset_out_values, nullptr);
    HXR_FACE_change_taper_o_s block;
    taper->GetOptionBlock(block);
    EXPECT_EQ(block.method, 50120);
    EXPECT_EQ(block.n_normal_edges, 0);
    EXPECT_TRUE(taper->GetMaintainShell());
    HXR_FACE_change_surface_o_s merge;
    replace->GetMergeOptionBlock(merge);
    EXPECT_EQ(merge.merge, 50160);
    EXPECT_TRUE(replace->GetReblendFaces().empty());

    for (SerializableObject* object : std::vector<SerializableObject*>{paste, extract, shell, taper, replace})
        object->Destroy();
}

TEST_F(OptionObjects, AShellSnapshotsBlockPointsAtItsOwnLists)
{
    auto* shell = new ShellOptions(m_interaction);
    shell->SetPierceFaces({m_faces[0], m_faces[1]});
    shell->SetLocalFaces({m_faces[2]}, ShellLocalFaceTypeExclude);
    ASSERT_TRUE(shell->SetOffsetInFaces({m_faces[3]}, {0.25}));
    ASSERT_TRUE(shell->SetOffsetOutFaces({m_faces[4]}, {0.5}));
    auto* copy = dynamic_cast<ShellOptions*>(shell->Clone());
    ASSERT_NE(copy, nullptr);
    shell->Destroy();

    const HXR_BODY_hollow_o_s& block = copy->GetOptionBlock();
    ASSERT_EQ(block.n_pierce_faces, 2);
    EXPECT_EQ(block.pierce_faces[1], m_faces[1]);
    EXPECT_EQ(block.local_face_type, 50281);
    EXPECT_EQ(block.local_faces[0], m_faces[2]);
    EXPECT_EQ(block.offset_in_faces[0], m_faces[3]);
    EXPECT_EQ(block.offset_in_values[0], 0.25);
    EXPECT_EQ(block.offset_out_faces[0], m_faces[4]);
    EXPECT_EQ(block.offset_out_values[0], 0.5);
    copy->Release();
}

TEST_F(OptionObjects, ListsCompareByTheirCountsAndShellValuesWithinTolerance)
{
    TaperOptions taperA(nullptr), taperB(nullptr);
    taperA.SetTaperEdges({m_edges[0], m_edges[1]});
    taperB.SetTaperEdges({m_edges[2], m_edges[3]});
    EXPECT_TRUE(taperA.Compare(&taperB));
    taperB.SetReblends({m_faces[0]});
    EXPECT_FALSE(taperA.Compare(&taperB));

    ReplaceOptions replaceA(nullptr), replaceB(nullptr);
    const int curve = GetGeometryOfTopology(m_edges[0]);
    ASSERT_TRUE(replaceA.SetEdgeData({m_edges[0]}, {curve}, {1e-6}, ReplaceEdgesUseTypeYes));
    ASSERT_TRUE(replaceB.SetEdgeData({m_edges[1]}, {curve}, {5e-6}, ReplaceEdgesUseTypeYes));
    EXPECT_TRUE(replaceA.Compare(&replaceB));
    replaceB.SetMaintainShell(false);
    EXPECT_FALSE(replaceA.Compare(&replaceB));

    ShellOptions shellA(nullptr), shellB(nullptr);
    ASSERT_TRUE(shellA.SetOffsetInFaces({m_faces[0]}, {1.0}));
    ASSERT_TRUE(shellB.SetOffsetInFaces({m_faces[1]}, {1.0 + 1e-9}));
    EXPECT_TRUE(shellA.Compare(&shellB));
    ASSERT_TRUE(shellB.SetOffsetInFaces({m_faces[1]}, {1.1}));
    EXPECT_FALSE(shellA.Compare(&shellB));

    PasteOptions pasteA(nullptr), pasteB(nullptr);
    EXPECT_TRUE(pasteA.Compare(&pasteB));
    pasteB.SetReblend(false);
    EXPECT_FALSE(pasteA.Compare(&pasteB));
    ExtractBodyPersistentDataOptions extractA(nullptr), extractB(nullptr);
    extractB.SetStore(false);
    EXPECT_TRUE(extractA.Compare(&extractB));
}

TEST_F(OptionObjects, ShellElementSkipsDeadFacesAndLeavesOutWhatIsNotSet)
{
    auto* shell = new ShellOptions(m_interaction);
    shell->SetType(ShellTypeOutwards);
    shell->SetPierceFaces({m_faces[0], DeadFace()});
    ASSERT_TRUE(shell->SetOffsetInFaces({m_faces[1], m_faces[2]}, {0.0, 0.75}));
    auto writer = Writer();
    ASSERT_TRUE(shell->DoIO(*writer));
    const std::string text = writer->ToText();
    EXPECT_EQ(text.find("localFaceType"), std::string::npos) << text;
    EXPECT_EQ(text.find("offsetValue=\"0\""), std::string::npos) << text;

    auto reader = Reader(text);
    ShellOptions* back = ShellOptions::CreateFromXML(m_interaction, *reader);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetType(), ShellTypeOutwards);
    const HXR_BODY_hollow_o_s& block = back->GetOptionBlock();
    ASSERT_EQ(block.n_pierce_faces, 1);
    EXPECT_EQ(block.pierce_faces[0], m_faces[0]);
    EXPECT_EQ(block.n_local_faces, 0);
    EXPECT_EQ(block.local_face_type, 50282);
    ASSERT_EQ(block.n_offset_in_faces, 2);
    EXPECT_EQ(block.offset_in_values[0], 0.0);
    EXPECT_EQ(block.offset_in_values[1], 0.75);

    // Local faces travel with their type.
    shell->SetLocalFaces({m_faces[3]}, ShellLocalFaceTypeExclude);
    auto second = Writer();
    ASSERT_TRUE(shell->DoIO(*second));
    auto secondReader = Reader(second->ToText());
    ShellOptions* local = ShellOptions::CreateFromXML(m_interaction, *secondReader);
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->GetOptionBlock().local_face_type, 50281);
    EXPECT_EQ(local->GetOptionBlock().local_faces[0], m_faces[3]);
    shell->Destroy();
    back->Destroy();
    local->Destroy();
}

TEST_F(OptionObjects, ListElementsReadBackTheirEntitiesAndValues)
{
    auto* taper = new TaperOptions(m_interaction);
    taper->SetTaperMethodType(TaperMethodTypeIsocline);
    taper->SetTaperLaminarEdgeType(TaperLaminarEdgeTypeDraw);
    taper->SetMaintainShell(false);
    taper->SetReblends({m_faces[0], DeadFace()});
    taper->SetTaperEdges({m_edges[0], m_edges[1]});
    taper->SetNormalEdges({m_edges[2]});
    auto* replace = new ReplaceOptions(m_interaction);
    ASSERT_TRUE(replace->SetEdgeData({m_edges[0]}, {GetGeometryOfTopology(m_edges[0])}, {2e-6},
                                     ReplaceEdgesUseTypeYes));
    ASSERT_TRUE(replace->SetVertexData({m_vertices[0]}, {Position(1.5, 2.5, 3.5)}, {1e-5}));
    ASSERT_TRUE(replace->SetEdgeHelp({m_edges[1]}, {Position(4, 5, 6)}));
    ASSERT_TRUE(replace->SetVertexHelp({m_vertices[1]}, {Position(7, 8, 9)}));
    replace->SetReplaceMergeType(ReplaceMergeTypeIn);
    replace->SetReblends({m_faces[1]});

    auto writer = Writer();
    ASSERT_TRUE(taper->DoIO(*writer));
    ASSERT_TRUE(replace->DoIO(*writer));
    auto reader = Reader(writer->ToText());
    TaperOptions* taperBack = TaperOptions::CreateFromXML(m_interaction, *reader);
    ReplaceOptions* replaceBack = ReplaceOptions::CreateFromXML(m_interaction, *reader);
    ASSERT_NE(taperBack, nullptr) << writer->ToText();
    ASSERT_NE(replaceBack, nullptr) << writer->ToText();

    HXR_FACE_change_taper_o_s block;
    taperBack->GetOptionBlock(block);
    EXPECT_EQ(block.method, 50122);
    EXPECT_EQ(block.laminar_edge, 50141);
    EXPECT_FALSE(taperBack->GetMaintainShell());
    EXPECT_EQ(taperBack->GetReblendFaces(), std::vector<int>{m_faces[0]});
    ASSERT_EQ(block.n_tapered_edges, 2);
    EXPECT_EQ(block.tapered_edges[1], m_edges[1]);
    EXPECT_EQ(block.normal_edges[0], m_edges[2]);

    replaceBack->BuildChangeOptions();
    const HXR_FACE_change_o_s& change = replaceBack->GetChangeOptionBlock();
    ASSERT_EQ(change.n_edges, 1);
    EXPECT_EQ(change.edges[0], m_edges[0]);
    EXPECT_EQ(change.curves[0], GetGeometryOfTopology(m_edges[0]));
    EXPECT_EQ(change.edge_tolerances[0], 2e-6);
    EXPECT_EQ(change.edges_use, 50101);
    ASSERT_EQ(change.n_vertices, 1);
    EXPECT_EQ(change.vertex_positions[1], 2.5);
    EXPECT_EQ(change.vertex_tolerances[0], 1e-5);
    EXPECT_EQ(change.help_edges[0], m_edges[1]);
    EXPECT_EQ(change.help_edge_positions[2], 6.0);
    EXPECT_EQ(change.help_vertices[0], m_vertices[1]);
    EXPECT_EQ(change.help_vertex_positions[0], 7.0);
    HXR_FACE_change_surface_o_s merge;
    replaceBack->GetMergeOptionBlock(merge);
    EXPECT_EQ(merge.merge, 50161);
    EXPECT_EQ(replaceBack->GetReblendFaces(), std::vector<int>{m_faces[1]});

    for (SerializableObject* object : std::vector<SerializableObject*>{taper, replace, taperBack, replaceBack})
        object->Destroy();
}

TEST_F(OptionObjects, AbsentAttributesReadAsTheDefaults)
{
    auto reader = Reader(
        "<Test><ExtractBodyPersistentDataOptions id=\"id50\"/><PasteOptions id=\"id51\"/>"
        "<TaperOptions id=\"id52\" taperMethodType=\"NoSuchMethod\"/><ReplaceOptions id=\"id53\"/>"
        "<PasteOptions id=\"id54\" pasteType=\"Subtract\" pasteReblend=\"false\"/></Test>");
    auto* extract = ExtractBodyPersistentDataOptions::CreateFromXML(m_interaction, *reader);
    auto* paste = PasteOptions::CreateFromXML(m_interaction, *reader);
    auto* taper = TaperOptions::CreateFromXML(m_interaction, *reader);
    auto* replace = ReplaceOptions::CreateFromXML(m_interaction, *reader);
    auto* subtract = PasteOptions::CreateFromXML(m_interaction, *reader);
    ASSERT_TRUE(extract && paste && taper && replace && subtract);
    EXPECT_TRUE(extract->GetOptionBlock().store);
    EXPECT_EQ(paste->GetOptionBlock().reblend, 50341);
    EXPECT_EQ(paste->GetOptionBlock().paste_type, 50200);
    EXPECT_TRUE(taper->GetMaintainShell());
    HXR_FACE_change_taper_o_s block;
    taper->GetOptionBlock(block);
    EXPECT_EQ(block.method, 50120);
    EXPECT_TRUE(replace->GetMaintainShell());
    EXPECT_EQ(subtract->GetOptionBlock().paste_type, 50202);
    EXPECT_EQ(subtract->GetOptionBlock().reblend, 50340);
    EXPECT_EQ(extract->GetEntityId(), 50);
    for (SerializableObject* object : std::vector<SerializableObject*>{extract, paste, taper, replace, subtract})
        object->Destroy();
}

}  // namespace
}  // namespace testing
}  // namespace QEL
