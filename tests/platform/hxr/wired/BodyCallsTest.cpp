// Body operations on kernel bodies: paste (with the tool's groups and attributes copied into
// the target), hollow, rejoin and disjoin, the paste-tool test, blend reordering and
// replacement by a sheet's surface.
#include "WiredTestBase.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepGProp_Face.hxx>
#include <BRep_Builder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Pln.hxx>

namespace {

class BodyCallsTest : public WiredTest {
 protected:
  static double Radius(int face) { return hxr::engine::fixtures::CylinderRadius(brennik::store::ShapeOf(face)); }
  static int BoxAt(double x, double y, double z, double dx, double dy, double dz) {
    return brennik::store::CreateBody(BRepPrimAPI_MakeBox(gp_Pnt(x, y, z), dx, dy, dz).Shape());
  }
};

TEST_F(BodyCallsTest, PasteAddsOrSubtractsThePlacedTool) {
  struct Case {
    const char* name;
    int type;
    double volume;
  };
  const Case cases[] = {
      {"add", HXR_PASTE_add, 15.0 * 20.0 * 30.0},
      {"default adds", HXR_PASTE_default, 15.0 * 20.0 * 30.0},
      {"subtract", HXR_PASTE_subtract, 5.0 * 20.0 * 30.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int target = brennik::build::Block();
    const int tool = brennik::build::Block();
    const int placement = Translation(5, 0, 0);
    const HXR_BODY_paste_o_s options{4, c.type, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
    ASSERT_EQ(HXR_BODY_paste(target, tool, placement, &options, &m_tracking), HXR_ERROR_none);
    EXPECT_NEAR(Volume(target), c.volume, 1e-6);
    EXPECT_NEAR(Volume(tool), 6000.0, 1e-9) << "the tool stays as it was";
    const std::vector<Track> tracks = Tracks();
    EXPECT_TRUE(std::any_of(tracks.begin(), tracks.end(),
                            [](const Track& t) { return t.track == HXR_TRACK_derive; }));
  }
}

TEST_F(BodyCallsTest, PastedToolFacesBringTheirAttributesAndGroups) {
  const int target = brennik::build::Block();
  const int tool = brennik::build::Block();
  const int toolEnd = FaceAt(tool, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  const int attrib = Tag(toolEnd);
  Group(tool, {toolEnd});
  const HXR_BODY_paste_o_s options{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
  ASSERT_EQ(HXR_BODY_paste(target, tool, Translation(5, 0, 0), &options, &m_tracking), HXR_ERROR_none);

  // The tool's end face is now the target's end face at x = 15.
  const int end = FaceAt(target, gp_Dir(1, 0, 0), gp_Pnt(15, 0, 0));
  ASSERT_NE(end, 0);
  const std::vector<Track> tracks = Tracks();
  const Track* derive = FindTrack(tracks, HXR_TRACK_derive, toolEnd);
  ASSERT_NE(derive, nullptr);
  const auto at = std::find(derive->originals.begin(), derive->originals.end(), toolEnd);
  EXPECT_EQ(derive->products[at - derive->originals.begin()], end) << "paired by position";
  ASSERT_EQ(s_callbacks.size(), 1u);
  EXPECT_EQ(std::get<0>(s_callbacks[0]), 'C');
  EXPECT_EQ(std::get<1>(s_callbacks[0]), toolEnd);
  EXPECT_EQ(std::get<2>(s_callbacks[0]), attrib);
  EXPECT_EQ(std::get<4>(s_callbacks[0]), end);
  std::vector<int> groups = List(BQ_PART_ask_groups, target);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(Members(groups[0]), std::vector<int>{end});
}

TEST_F(BodyCallsTest, ASlotCutAcrossTheTopSplitsItWithCallbacksGroupsAndASplitRecord) {
  const int target = brennik::build::Block();
  const int top = FaceAt(target, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int attrib = Tag(top);
  const int group = Group(target, {top});
  const int slot = BoxAt(4, -1, 25, 2, 22, 6);
  const HXR_BODY_paste_o_s cut{4, HXR_PASTE_subtract, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
  ASSERT_EQ(HXR_BODY_paste(target, slot, 0, &cut, &m_tracking), HXR_ERROR_none);

  EXPECT_NEAR(Volume(target), 6000.0 - 2.0 * 20.0 * 5.0, 1e-6);
  const std::vector<Track> tracks = Tracks();
  const Track* split = FindTrack(tracks, HXR_TRACK_split, top);
  ASSERT_NE(split, nullptr);
  ASSERT_EQ(split->products.size(), 2u);
  EXPECT_EQ(split->products[0], top) << "the first piece keeps the tag";
  const int piece = split->products[1];
  EXPECT_TRUE(Has(Faces(target), piece));
  ASSERT_EQ(s_callbacks.size(), 1u);
  EXPECT_EQ(std::get<0>(s_callbacks[0]), 'S');
  EXPECT_EQ(std::get<1>(s_callbacks[0]), top);
  EXPECT_EQ(std::get<2>(s_callbacks[0]), attrib);
  EXPECT_EQ(std::get<4>(s_callbacks[0]), piece);
  EXPECT_EQ(Members(group), (std::vector<int>{top, piece}));
}

TEST_F(BodyCallsTest, RefusedPastesLeaveTheTarget) {
  const int target = brennik::build::Block();
  const int tool = brennik::build::Block();
  const int inside = BoxAt(2, 2, 2, 1, 1, 1);
  const int sheet = brennik::build::Sheet();
  const HXR_BODY_paste_o_s add{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
  const HXR_BODY_paste_o_s oldVersion{3, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, HXR_PASTE_no_reblend};
  struct Case {
    const char* name;
    int tool;
    int transform;
    const HXR_BODY_paste_o_s* options;
  };
  const Case cases[] = {
      {"a tool inside the target changes nothing", inside, 0, &add},
      {"a sheet is no tool", sheet, 0, &add},
      {"the target as its own tool", target, 0, &add},
      {"a transform tag that names a body", tool, tool, &add},
      {"options of another version", tool, 0, &oldVersion},
  };
  const Snapshot before = Snap(target);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(HXR_BODY_paste(target, c.tool, c.transform, c.options, &m_tracking), HXR_ERROR_none);
    ExpectUnchanged(target, before);
    EXPECT_EQ(m_tracking.n_track_records, 0);
  }
}

TEST_F(BodyCallsTest, PasteToolTestAnswersForSolidsOnly) {
  bool isTool = false;
  EXPECT_EQ(HXR_BODY_is_paste_tool(brennik::build::Block(), nullptr, &isTool), HXR_ERROR_none);
  EXPECT_TRUE(isTool);
  EXPECT_EQ(HXR_BODY_is_paste_tool(brennik::build::Sheet(), nullptr, &isTool), HXR_ERROR_none);
  EXPECT_FALSE(isTool);
  isTool = true;
  EXPECT_EQ(HXR_BODY_is_paste_tool(0, nullptr, &isTool), HXR_ERROR_bad_argument);
  EXPECT_FALSE(isTool);
}

TEST_F(BodyCallsTest, HollowWithTheTopPiercedMakesWallsAndKeepsTheOuterFaces) {
  const int body = brennik::build::Block(10, 10, 10);
  int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const int bottom = FaceAt(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  HXR_BODY_hollow_o_s options{};
  options.version = 1;
  options.n_pierce_faces = 1;
  options.pierce_faces = &top;
  options.local_face_type = HXR_LOCAL_FACES_none;
  ASSERT_EQ(HXR_BODY_hollow(body, 0.0, 1.0, 1e-6, &options, &m_tracking), HXR_ERROR_none);
  EXPECT_NEAR(Volume(body), 1000.0 - 8.0 * 8.0 * 9.0, 1e-6);
  EXPECT_EQ(Faces(body).size(), 11u);
  EXPECT_TRUE(Has(Faces(body), bottom));
  EXPECT_TRUE(Has(Faces(body), top)) << "the rim left of the pierced face keeps its tag";
  EXPECT_NEAR(Area(top), 100.0 - 64.0, 1e-6);
  EXPECT_FALSE(Tracks().empty());
}

TEST_F(BodyCallsTest, RefusedHollowsLeaveTheBody) {
  const int body = brennik::build::Block(10, 10, 10);
  int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  HXR_BODY_hollow_o_s local{};
  local.version = 1;
  local.local_face_type = HXR_LOCAL_FACES_add;
  local.n_local_faces = 1;
  local.local_faces = &top;
  const Snapshot before = Snap(body);
  EXPECT_EQ(HXR_BODY_hollow(body, 0.0, 0.0, 1e-6, nullptr, &m_tracking), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_BODY_hollow(body, 0.0, -1.0, 1e-6, nullptr, &m_tracking), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_BODY_hollow(body, 0.0, 1.0, 1e-6, &local, &m_tracking), HXR_ERROR_unsupported);
  // Nothing opened: the walls would enclose a void, which is not made.
  EXPECT_EQ(HXR_BODY_hollow(body, 0.0, 1.0, 1e-6, nullptr, &m_tracking), HXR_ERROR_unsupported);
  ExpectUnchanged(body, before);
}

TEST_F(BodyCallsTest, RejoinAndDisjoinTwoLumps) {
  const int first = brennik::build::Block();
  const int second = BoxAt(20, 0, 0, 10, 20, 30);
  const std::vector<int> firstFaces = Faces(first);
  const int joined[] = {first, second};
  int body = 0;
  ASSERT_EQ(HXR_BODY_rejoin(2, joined, &body), HXR_ERROR_none);
  EXPECT_EQ(body, first);
  EXPECT_NEAR(Volume(body), 12000.0, 1e-6);
  EXPECT_EQ(Faces(body).size(), 12u);
  for (int face : firstFaces) EXPECT_TRUE(Has(Faces(body), face));
  bool live = true;
  BQ_ENTITY_is(second, &live);
  EXPECT_FALSE(live);

  int n = 0;
  int* bodies = nullptr;
  ASSERT_EQ(HXR_BODY_disjoin(body, nullptr, &n, &bodies), HXR_ERROR_none);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(bodies[0], first);
  EXPECT_NEAR(Volume(bodies[0]), 6000.0, 1e-6);
  EXPECT_NEAR(Volume(bodies[1]), 6000.0, 1e-6);
  EXPECT_EQ(Faces(bodies[0]), firstFaces);
  EXPECT_EQ(Faces(bodies[1]).size(), 6u);
  BQ_MEMORY_free(bodies);
}

TEST_F(BodyCallsTest, DisjoinedLumpsTakeTheirAttributesAndGroupsAlong) {
  // A tall lump and a low one beside it, so that each top is told apart by its height.
  BRep_Builder builder;
  TopoDS_Compound lumps;
  builder.MakeCompound(lumps);
  builder.Add(lumps, BRepPrimAPI_MakeBox(gp_Pnt(0, 0, 0), 10, 20, 30).Shape());
  builder.Add(lumps, BRepPrimAPI_MakeBox(gp_Pnt(20, 0, 0), 10, 20, 10).Shape());
  const int body = brennik::store::CreateBody(lumps);
  const int near = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int far = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(20, 0, 10));
  const int farSide = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(30, 0, 0));
  ASSERT_NE(near * far * farSide, 0);
  const int nearAttrib = Tag(near);
  const int farAttrib = Tag(far);
  const int mixed = Group(body, {near, far, farSide});
  const int nearOnly = Group(body, {near});
  int farId = 0, farSideId = 0;
  BQ_ENTITY_ask_identifier(far, &farId);
  BQ_ENTITY_ask_identifier(farSide, &farSideId);

  int n = 0;
  int* bodies = nullptr;
  ASSERT_EQ(HXR_BODY_disjoin(body, nullptr, &n, &bodies), HXR_ERROR_none);
  ASSERT_EQ(n, 2);
  const int piece = bodies[1];
  BQ_MEMORY_free(bodies);
  const int farCopy = FaceAt(piece, gp_Dir(0, 0, 1), gp_Pnt(20, 0, 10));
  const int farSideCopy = FaceAt(piece, gp_Dir(1, 0, 0), gp_Pnt(30, 0, 0));
  ASSERT_NE(farCopy * farSideCopy, 0);
  // The moved faces are the same entities to whoever holds their identifiers.
  int id = 0;
  BQ_ENTITY_ask_identifier(farCopy, &id);
  EXPECT_EQ(id, farId);
  BQ_ENTITY_ask_identifier(farSideCopy, &id);
  EXPECT_EQ(id, farSideId);

  // The staying lump is untouched; the far top's attribute is copied, never deleted.
  EXPECT_EQ(Attribs(near), std::vector<int>{nearAttrib});
  const std::vector<int> moved = Attribs(farCopy);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(s_callbacks, (std::vector<Callback>{{'C', far, farAttrib, moved[0], farCopy}}));
  bool live = true;
  BQ_ENTITY_is(farAttrib, &live);
  EXPECT_FALSE(live);
  // Memberships follow the faces: the body's groups keep their own lump's members and the new
  // body gets a group for each group that held one of its faces.
  EXPECT_EQ(Members(mixed), std::vector<int>{near});
  EXPECT_EQ(Members(nearOnly), std::vector<int>{near});
  const std::vector<int> pieceGroups = GroupsOf(piece);
  ASSERT_EQ(pieceGroups.size(), 1u);
  EXPECT_EQ(Members(pieceGroups[0]), (std::vector<int>{farCopy, farSideCopy}));
}

TEST_F(BodyCallsTest, RejoinedBodiesBringTheirAttributesAndGroups) {
  const int first = brennik::build::Block();
  const int second = BoxAt(20, 0, 0, 10, 20, 10);
  const int secondTop = FaceAt(second, gp_Dir(0, 0, 1), gp_Pnt(20, 0, 10));
  const int faceAttrib = Tag(secondTop);
  const int bodyAttrib = Tag(second);
  Group(second, {secondTop});
  const int joined[] = {first, second};
  int body = 0;
  ASSERT_EQ(HXR_BODY_rejoin(2, joined, &body), HXR_ERROR_none);
  ASSERT_EQ(body, first);

  const int joinedTop = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(20, 0, 10));
  ASSERT_NE(joinedTop, 0);
  const std::vector<int> copied = Attribs(joinedTop);
  ASSERT_EQ(copied.size(), 1u);
  std::vector<int> firstAttribs = Attribs(first);
  ASSERT_EQ(firstAttribs.size(), 1u);
  // Copies only: the second body's deletion takes nothing the joined body did not get.
  EXPECT_EQ(s_callbacks, (std::vector<Callback>{{'C', second, bodyAttrib, firstAttribs[0], first},
                                                 {'C', secondTop, faceAttrib, copied[0], joinedTop}}));
  const std::vector<int> groups = GroupsOf(body);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(Members(groups[0]), std::vector<int>{joinedTop});
}

TEST_F(BodyCallsTest, RejoiningOverlappingBodiesIsRefused) {
  const int first = brennik::build::Block();
  const int second = BoxAt(5, 0, 0, 10, 20, 30);
  const int attrib = Tag(second);
  const Snapshot before = Snap(first);
  const int joined[] = {first, second};
  int body = 9;
  EXPECT_NE(HXR_BODY_rejoin(2, joined, &body), HXR_ERROR_none);
  EXPECT_EQ(body, 0);
  ExpectUnchanged(first, before);
  bool live = false;
  BQ_ENTITY_is(second, &live);
  EXPECT_TRUE(live);
  EXPECT_EQ(Attribs(second), std::vector<int>{attrib});
  EXPECT_TRUE(Attribs(first).empty());
  EXPECT_TRUE(s_callbacks.empty());
}

TEST_F(BodyCallsTest, ReorderedBlendsKeepTheirRadiiAndTags) {
  const int body = brennik::store::CreateBody(hxr::engine::fixtures::OppositeBlendBlock(2.0, 1.0));
  std::vector<int> blends = CurvedFaces(body);
  ASSERT_EQ(blends.size(), 2u);
  const double volume = Volume(body);
  const HXR_FACE_reorder_blends_o_s options{1, 1e-6};
  ASSERT_EQ(HXR_FACE_reorder_blends(1, &blends[0], 1, &blends[1], &options, &m_tracking), HXR_ERROR_none);
  EXPECT_NEAR(Volume(body), volume, 1e-6);
  const std::vector<Track> tracks = Tracks();
  for (int blend : blends) EXPECT_NE(FindTrack(tracks, HXR_TRACK_modify, blend), nullptr);
  std::vector<int> after = CurvedFaces(body);
  std::sort(after.begin(), after.end());
  std::sort(blends.begin(), blends.end());
  EXPECT_EQ(after, blends);

  // A plane is no blend.
  const int plane = FaceAt(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  const Snapshot before = Snap(body);
  EXPECT_EQ(HXR_FACE_reorder_blends(1, &plane, 1, &blends[1], &options, &m_tracking), HXR_ERROR_not_a_blend);
  ExpectUnchanged(body, before);
}

// Blends that meet (at the block's corner (10, 0, 30)) are made again one after the other, in
// either order: the body stays valid, keeps every face with its tag (the blends as cylinders of
// their radii, each with a modify track) and changes only in the corner cube of the larger
// radius, so its volume stays within that cube's 8 of the input's; the orders differ there.
TEST_F(BodyCallsTest, MeetingBlendsAreMadeAgainInEitherOrder) {
  const HXR_FACE_reorder_blends_o_s options{1, 1e-6};
  std::vector<double> volumes;
  for (bool largeFirst : {true, false}) {
    SCOPED_TRACE(largeFirst ? "radius 2 first" : "radius 1 first");
    const int body = brennik::build::BlockWithTwoBlends(2.0, 1.0);
    const std::vector<int> faces = Faces(body);
    std::vector<int> blends = CurvedFaces(body);
    ASSERT_EQ(blends.size(), 2u);
    std::sort(blends.begin(), blends.end(), [](int a, int b) { return Radius(a) > Radius(b); });
    if (!largeFirst) std::swap(blends[0], blends[1]);
    const double volume = Volume(body);
    ASSERT_EQ(HXR_FACE_reorder_blends(1, &blends[0], 1, &blends[1], &options, &m_tracking), HXR_ERROR_none);

    EXPECT_TRUE(RoundTrips(body));
    for (int face : faces) EXPECT_TRUE(Has(Faces(body), face)) << face;
    EXPECT_NEAR(Radius(blends[0]), largeFirst ? 2.0 : 1.0, 1e-9);
    EXPECT_NEAR(Radius(blends[1]), largeFirst ? 1.0 : 2.0, 1e-9);
    const std::vector<Track> tracks = Tracks();
    for (int blend : blends) EXPECT_NE(FindTrack(tracks, HXR_TRACK_modify, blend), nullptr);
    EXPECT_NEAR(Volume(body), volume, 8.0);
    volumes.push_back(Volume(body));
  }
  EXPECT_GT(std::abs(volumes[0] - volumes[1]), 1e-3);
}

TEST_F(BodyCallsTest, ReplaceWithSheetPutsTheFaceOnTheSheetsPlane) {
  const int body = brennik::build::Block(10, 10, 10);
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const gp_Pln plane(gp_Pnt(0, 0, 10), gp_Dir(0.1, 0, -1));
  const int sheet = brennik::store::CreateBody(BRepBuilderAPI_MakeFace(plane, -30, 30, -30, 30).Shape());
  const HXR_FACE_replace_with_sheet_o_s options{1, 1e-6, HXR_CHANGE_OPTION_default, HXR_SHEET_OPTION_default, {}};
  ASSERT_EQ(HXR_FACE_replace_with_sheet(1, &top, sheet, &options, &m_tracking), HXR_ERROR_none);
  EXPECT_NEAR(Volume(body), 1050.0, 1e-9);
  EXPECT_TRUE(Has(Faces(body), top));
  EXPECT_NE(FindTrack(Tracks(), HXR_TRACK_modify, top), nullptr);

  // A sheet that is the body itself, or no body: refused, nothing changes.
  const Snapshot before = Snap(body);
  EXPECT_EQ(HXR_FACE_replace_with_sheet(1, &top, body, &options, &m_tracking), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_FACE_replace_with_sheet(1, &top, 0, &options, &m_tracking), HXR_ERROR_bad_argument);
  ExpectUnchanged(body, before);
}

// A box of the footprint and height standing on z = base, open below: a sheet of five faces on
// five planes.
int Lid(double dx, double dy, double height, double base) {
  const TopoDS_Shape box = BRepPrimAPI_MakeBox(gp_Pnt(0, 0, base), dx, dy, height).Shape();
  BRep_Builder builder;
  TopoDS_Shell shell;
  builder.MakeShell(shell);
  for (TopExp_Explorer it(box, TopAbs_FACE); it.More(); it.Next()) {
    const TopoDS_Face& face = TopoDS::Face(it.Current());
    gp_Pnt point;
    gp_Vec normal;
    BRepGProp_Face(face).Normal(0.5, 0.5, point, normal);
    if (normal.Z() > -0.5) builder.Add(shell, face);
  }
  return brennik::store::CreateBody(shell);
}

TEST_F(BodyCallsTest, ReplaceWithSheetSewsASheetOfSeveralSurfacesIntoTheOpening) {
  const int body = brennik::build::Block(10, 10, 10);
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
  const HXR_FACE_replace_with_sheet_o_s options{1, 1e-6, HXR_CHANGE_OPTION_default, HXR_SHEET_OPTION_default, {}};

  // A lid that does not meet the opening's edges cannot close it: refused, nothing changes.
  const Snapshot before = Snap(body);
  const int narrow = Lid(8, 8, 5, 10);
  EXPECT_EQ(HXR_FACE_replace_with_sheet(1, &top, narrow, &options, &m_tracking),
            HXR_ERROR_topology_change_needed);
  ExpectUnchanged(body, before);

  const int lid = Lid(10, 10, 5, 10);
  const std::vector<int> lidFaces = Faces(lid);
  ASSERT_EQ(HXR_FACE_replace_with_sheet(1, &top, lid, &options, &m_tracking), HXR_ERROR_none);
  EXPECT_NEAR(Volume(body), 1500.0, 1e-6);
  EXPECT_EQ(Faces(body).size(), 10u);
  EXPECT_FALSE(Has(Faces(body), top));
  // Each face of the sheet is paired with the face of the body it became.
  const std::vector<Track> tracks = Tracks();
  for (int face : lidFaces) {
    const Track* derive = FindTrack(tracks, HXR_TRACK_derive, face);
    ASSERT_NE(derive, nullptr);
    const size_t j = std::find(derive->originals.begin(), derive->originals.end(), face) - derive->originals.begin();
    ASSERT_LT(j, derive->products.size());
    EXPECT_TRUE(Has(Faces(body), derive->products[j]));
  }
}

}  // namespace
