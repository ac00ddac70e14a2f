// Changing faces of kernel bodies in one call: offset, move, taper and reblend on the
// kernel's fixtures; a change that cannot be made leaves the body as it was.
#include "WiredTestBase.h"

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <gp_Ax2.hxx>

#include <algorithm>
#include <cmath>

namespace {

class FaceChangeCallTest : public WiredTest {
 protected:
  static HXR_FACE_change_s Offset(double distance) {
    HXR_FACE_change_s change{};
    change.change = HXR_CHANGE_offset;
    change.offset = distance;
    return change;
  }
  static HXR_FACE_change_s Move(int transform) {
    HXR_FACE_change_s change{};
    change.change = HXR_CHANGE_transform;
    change.transform = transform;
    return change;
  }
  // Changes the faces, all with the one change record.
  int Change(std::vector<int> faces, const HXR_FACE_change_s& change) {
    const std::vector<int> indices(faces.size(), 0);
    HXR_FACE_change_o_s options{};
    options.version = 1;
    return HXR_FACE_change(static_cast<int>(faces.size()), faces.data(), indices.data(), 1, &change,
                           1e-6, &options, &m_tracking);
  }
};

TEST_F(FaceChangeCallTest, OffsetMovesTheFaceAndKeepsItsTagAndGroups) {
  const int body = brennik::build::Block();
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int attrib = Tag(top);
  const int group = Group(body, {top});
  ASSERT_EQ(Change({top}, Offset(2.0)), HXR_ERROR_none);

  EXPECT_NEAR(Volume(body), 6000.0 + 200.0 * 2.0, 1e-6);
  EXPECT_EQ(FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 32)), top);
  EXPECT_EQ(Faces(body).size(), 6u);
  const std::vector<Track> tracks = Tracks();
  const Track* modify = FindTrack(tracks, HXR_TRACK_modify, top);
  ASSERT_NE(modify, nullptr);
  EXPECT_EQ(modify->products, std::vector<int>{top});
  EXPECT_EQ(FindTrack(tracks, HXR_TRACK_delete, top), nullptr);
  EXPECT_TRUE(s_callbacks.empty()) << "a modified face keeps its attribute without callbacks";
  std::vector<int> attribs = List([](int e, int* n, int** a) { return BQ_ENTITY_ask_attribs(e, 0, n, a); }, top);
  EXPECT_TRUE(Has(attribs, attrib));
  EXPECT_EQ(Members(group), std::vector<int>{top});
}

TEST_F(FaceChangeCallTest, ChangesMadeOnTheFixtures) {
  struct Case {
    const char* name;
    int (*make)();
    gp_Dir normal;
    gp_Pnt point;
    HXR_FACE_change_s (*change)();
    double volume;  // expected afterwards
  };
  const Case cases[] = {
      // The step face of the L prism moved 2 along y: 15 x 10 of section gained per unit.
      {"move the L prism's step", [] { return brennik::build::LPrism(); }, gp_Dir(0, 1, 0),
       gp_Pnt(10, 5, 0), [] { return Move(Translation(0, 2, 0)); }, 1500.0 + 15.0 * 10.0 * 2.0},
      {"offset the block's top inwards", [] { return brennik::build::Block(); }, gp_Dir(0, 0, 1),
       gp_Pnt(0, 0, 30), [] { return Offset(-3.0); }, 6000.0 - 200.0 * 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = c.make();
    const int face = FaceAt(body, c.normal, c.point);
    ASSERT_NE(face, 0);
    const size_t faceCount = Faces(body).size();
    ASSERT_EQ(Change({face}, c.change()), HXR_ERROR_none);
    EXPECT_NEAR(Volume(body), c.volume, 1e-6);
    EXPECT_EQ(Faces(body).size(), faceCount);
    EXPECT_TRUE(Has(Faces(body), face));
    EXPECT_NE(FindTrack(Tracks(), HXR_TRACK_modify, face), nullptr);
  }
}

// The thin-walled box (40 x 30 x 20, walls 1, open at the top): its +x wall's outer face at
// x = 40 changes, and the inner face at x = 39 follows as an offset measured from it.
TEST_F(FaceChangeCallTest, PartnerOffsetIsMeasuredFromItsReferenceFace) {
  struct Case {
    const char* name;
    bool outerChanged;  // else the reference stays where it is
    bool outerByOffset; // else by a transform
    double partnerOffset;
    double outerX, innerX, volume;
  };
  // Volumes: the outer block less the pocket, 28 x 19 across and (innerX - 1) long.
  const Case cases[] = {
      {"outer moved +2, wall kept 1", true, false, -1.0, 42, 41, 42 * 600.0 - 40 * 532.0},
      {"outer offset +2, wall kept 1", true, true, -1.0, 42, 41, 42 * 600.0 - 40 * 532.0},
      {"outer moved +2, wall made 4", true, false, -4.0, 42, 38, 42 * 600.0 - 37 * 532.0},
      {"outer stays, wall made 2", false, false, -2.0, 40, 38, 40 * 600.0 - 37 * 532.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = brennik::build::ThinWalledBox(1.0);
    const int outer = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(40, 15, 10));
    const int inner = FaceAt(body, gp_Dir(-1, 0, 0), gp_Pnt(39, 15, 10));
    ASSERT_NE(outer, 0);
    ASSERT_NE(inner, 0);
    const HXR_FACE_change_offset_o_s fromOuter{1, outer};
    HXR_FACE_change_s changes[2] = {c.outerByOffset ? Offset(2.0) : Move(Translation(2, 0, 0)),
                                    Offset(c.partnerOffset)};
    changes[1].options = &fromOuter;
    std::vector<int> faces{inner}, indices{1};
    if (c.outerChanged) {
      faces.insert(faces.begin(), outer);
      indices.insert(indices.begin(), 0);
    }
    ASSERT_EQ(HXR_FACE_change(static_cast<int>(faces.size()), faces.data(), indices.data(), 2, changes, 1e-6,
                              nullptr, &m_tracking),
              HXR_ERROR_none);
    EXPECT_EQ(FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(c.outerX, 15, 10)), outer);
    EXPECT_EQ(FaceAt(body, gp_Dir(-1, 0, 0), gp_Pnt(c.innerX, 15, 10)), inner);
    EXPECT_NEAR(Volume(body), c.volume, 1e-6);
    EXPECT_TRUE(RoundTrips(body));
    HXR_ENTITY_track_r_f(&m_tracking);
  }
}

// A tube 20 long, radii 10 and 9: the outer face grows by 2 and the inner face, measured
// from it, keeps the wall at 1.
TEST_F(FaceChangeCallTest, PartnerOffsetOfATubeFollowsItsReferenceRadius) {
  const TopoDS_Shape bore = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(0, 0, -1), gp_Dir(0, 0, 1)), 9.0, 22.0).Shape();
  const TopoDS_Shape tube = BRepAlgoAPI_Cut(BRepPrimAPI_MakeCylinder(10.0, 20.0).Shape(), bore).Shape();
  TopoDS_Shape solid;
  for (TopExp_Explorer it(tube, TopAbs_SOLID); it.More(); it.Next()) solid = it.Current();
  const int body = brennik::store::CreateBody(solid);
  ASSERT_NE(body, 0);
  int outer = 0, inner = 0;
  for (TopExp_Explorer it(solid, TopAbs_FACE); it.More(); it.Next()) {
    BRepAdaptor_Surface surface(TopoDS::Face(it.Current()));
    if (surface.GetType() != GeomAbs_Cylinder) continue;
    (surface.Cylinder().Radius() > 9.5 ? outer : inner) = brennik::store::TagOf(body, it.Current());
  }
  ASSERT_NE(outer, 0);
  ASSERT_NE(inner, 0);
  const HXR_FACE_change_offset_o_s fromOuter{1, outer};
  HXR_FACE_change_s changes[2] = {Offset(2.0), Offset(-1.0)};
  changes[1].options = &fromOuter;
  const int faces[2] = {outer, inner}, indices[2] = {0, 1};
  ASSERT_EQ(HXR_FACE_change(2, faces, indices, 2, changes, 1e-6, nullptr, &m_tracking), HXR_ERROR_none);
  EXPECT_NEAR(Volume(body), M_PI * (12.0 * 12.0 - 11.0 * 11.0) * 20.0, 1e-6);
  EXPECT_NEAR(BRepAdaptor_Surface(TopoDS::Face(brennik::store::ShapeOf(inner))).Cylinder().Radius(), 11.0, 1e-9);
}

TEST_F(FaceChangeCallTest, ReferenceFaceThatIsNoOtherFaceOfTheBodyIsRefused) {
  const int body = brennik::build::ThinWalledBox(1.0);
  const int other = brennik::build::Block();
  const int inner = FaceAt(body, gp_Dir(-1, 0, 0), gp_Pnt(39, 15, 10));
  struct Case {
    const char* name;
    HXR_FACE_change_offset_o_s options;
  };
  const Case cases[] = {
      {"a face of another body", {1, Faces(other).front()}},
      {"the face itself", {1, inner}},
      {"an edge", {1, Edges(body).front()}},
      {"another version", {2, FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(40, 15, 10))}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HXR_FACE_change_s change = Offset(-1.0);
    change.options = &c.options;
    const Snapshot before = Snap(body);
    EXPECT_EQ(Change({inner}, change), HXR_ERROR_bad_argument);
    ExpectUnchanged(body, before);
  }
}

// The top of the block moved up 2: its neighbours extend to meet it, whichever step-face
// setting is given, as no step face is needed there.
TEST_F(FaceChangeCallTest, MoveMadeUnderEveryStepFaceSetting) {
  for (int token : {HXR_STEP_FACE_off, HXR_STEP_FACE_smooth_edges, HXR_STEP_FACE_all_edges,
                    HXR_STEP_FACE_if_not_coincident}) {
    SCOPED_TRACE(token);
    const int body = brennik::build::Block();
    const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
    const HXR_FACE_change_transform_o_s options{2, {0, 0, 0}, token};
    HXR_FACE_change_s change = Move(Translation(0, 0, 2));
    change.options = &options;
    ASSERT_EQ(Change({top}, change), HXR_ERROR_none);
    EXPECT_NEAR(Volume(body), 6000.0 + 200.0 * 2.0, 1e-6);
    EXPECT_EQ(FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 32)), top);
    EXPECT_EQ(Faces(body).size(), 6u);
    HXR_ENTITY_track_r_f(&m_tracking);
  }
}

// A side under a blend moved off the blend along its normal: the blend no longer meets it,
// and only a step face between them could close the body. None is made: the change is
// refused as one that needs new faces, and the body stays.
TEST_F(FaceChangeCallTest, MoveThatNeedsAStepFaceIsRefused) {
  for (int token : {HXR_STEP_FACE_off, HXR_STEP_FACE_smooth_edges, HXR_STEP_FACE_all_edges,
                    HXR_STEP_FACE_if_not_coincident}) {
    SCOPED_TRACE(token);
    const int body = brennik::build::BlockWithBlend(2.0);
    const int side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(10, 5, 15));
    ASSERT_NE(side, 0);
    const HXR_FACE_change_transform_o_s options{2, {0, 0, 0}, token};
    HXR_FACE_change_s change = Move(Translation(2, 0, 0));
    change.options = &options;
    const Snapshot before = Snap(body);
    EXPECT_EQ(Change({side}, change), HXR_ERROR_topology_change_needed);
    ExpectUnchanged(body, before);
    EXPECT_EQ(m_tracking.n_track_records, 0);
  }
}

TEST_F(FaceChangeCallTest, TaperTiltsTheSideAboutItsHinge) {
  const int body = brennik::build::Block(10, 10, 10);
  const int side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
  HXR_FACE_change_s change{};
  change.change = HXR_CHANGE_taper;
  change.direction[2] = 1.0;
  change.angle = 5.0 * M_PI / 180.0;
  ASSERT_EQ(Change({side}, change), HXR_ERROR_none);
  EXPECT_NEAR(std::abs(Volume(body) - 1000.0), 500.0 * std::tan(change.angle), 1e-6);
  EXPECT_EQ(Faces(body).size(), 6u);
  EXPECT_TRUE(Has(Faces(body), side));
}

TEST_F(FaceChangeCallTest, ReblendChangesTheRadiusAndZeroKeepsIt) {
  for (double radius : {3.0, 0.0}) {
    SCOPED_TRACE(radius);
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = CurvedFaces(body).front();
    const HXR_FACE_change_reblend_o_s options{1, radius, HXR_REBLEND_default};
    HXR_FACE_change_s change{};
    change.change = HXR_CHANGE_reblend;
    change.options = &options;
    ASSERT_EQ(Change({blend}, change), HXR_ERROR_none);
    const double r = radius == 0.0 ? 2.0 : radius;
    // A quarter round of radius r cut from the corner: r^2 (1 - pi/4) per unit of length.
    EXPECT_NEAR(Volume(body), 6000.0 - r * r * (1.0 - M_PI / 4.0) * 30.0, 1e-6);
    const std::vector<int> blends = CurvedFaces(body);
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0], blend) << "the blend keeps its tag";
    HXR_ENTITY_track_r_f(&m_tracking);
  }
}

// The three edge blends around a blended corner are made again with the corner patch, whether
// the patch is named with them or not: the corner comes back as one patch of the new radius,
// and every blend and the patch keep their tags.
TEST_F(FaceChangeCallTest, ReblendAtABlendedCornerMakesTheCornerAgain) {
  for (bool withPatch : {true, false}) {
    SCOPED_TRACE(withPatch ? "patch named" : "patch not named");
    const int body = brennik::build::BlockWithBlendedCorner(2.0);
    const std::vector<int> curved = NonPlanarFaces(body);
    std::vector<int> blends, patches;
    for (int face : curved) {
      int surface = 0, cls = 0;
      BQ_FACE_ask_surf(face, &surface);
      BQ_ENTITY_ask_class(surface, &cls);
      (cls == BQ_CLASS_cyl ? blends : patches).push_back(face);
    }
    ASSERT_EQ(blends.size(), 3u);
    ASSERT_EQ(patches.size(), 1u);
    std::vector<int> named = blends;
    if (withPatch) named.push_back(patches[0]);
    const HXR_FACE_change_reblend_o_s options{1, 3.0, HXR_REBLEND_default};
    HXR_FACE_change_s change{};
    change.change = HXR_CHANGE_reblend;
    change.options = &options;
    ASSERT_EQ(Change(named, change), HXR_ERROR_none);

    const double r = 3.0;
    EXPECT_NEAR(Volume(body), 6000 - r * r * (1 - M_PI / 4) * (60 - 3 * r) - r * r * r * (1 - M_PI / 6), 1e-6);
    std::vector<int> after = NonPlanarFaces(body);
    std::vector<int> before = curved;
    std::sort(after.begin(), after.end());
    std::sort(before.begin(), before.end());
    EXPECT_EQ(after, before);
    const std::vector<Track> tracks = Tracks();
    for (int face : curved) EXPECT_NE(FindTrack(tracks, HXR_TRACK_modify, face), nullptr) << face;
  }
}

// Re-blending only some of the blends around a blended corner, or reordering two of them,
// leaves the corner patch between blends that are kept and blends made again: the add-on
// refuses it and the body stays as it was, whole and valid.
TEST_F(FaceChangeCallTest, SomeBlendsAroundABlendedCornerAreRefusedAndLeaveTheBody) {
  struct Case {
    const char* name;
    size_t blends;  // how many of the three edge blends are named
    double radius;  // for a re-blend; negative reorders the first two named
  };
  const Case cases[] = {
      {"one re-blended larger", 1, 3.0},
      {"two re-blended smaller", 2, 1.0},
      {"two re-blended at their radius", 2, 0.0},
      {"two reordered", 2, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = brennik::build::BlockWithBlendedCorner(2.0);
    std::vector<int> blends;
    for (int face : NonPlanarFaces(body)) {
      int surface = 0, cls = 0;
      BQ_FACE_ask_surf(face, &surface);
      BQ_ENTITY_ask_class(surface, &cls);
      if (cls == BQ_CLASS_cyl) blends.push_back(face);
    }
    ASSERT_EQ(blends.size(), 3u);
    blends.resize(c.blends);
    const Snapshot before = Snap(body);
    int code = HXR_ERROR_none;
    if (c.radius < 0.0) {
      const HXR_FACE_reorder_blends_o_s options{1, 1e-6};
      code = HXR_FACE_reorder_blends(1, &blends[0], 1, &blends[1], &options, &m_tracking);
    } else {
      const HXR_FACE_change_reblend_o_s options{1, c.radius, HXR_REBLEND_default};
      HXR_FACE_change_s change{};
      change.change = HXR_CHANGE_reblend;
      change.options = &options;
      code = Change(blends, change);
    }
    EXPECT_EQ(code, HXR_ERROR_not_a_blend);
    ExpectUnchanged(body, before);
    EXPECT_EQ(m_tracking.n_track_records, 0);
    EXPECT_TRUE(RoundTrips(body));
  }
}

// A move on a plate of nine holes re-makes only the faces the moved face meets: the body passes
// the kernel's check, keeps every face with its tag and identifier, and tracks no face the move
// did not reach. A hole moved into its neighbour, across the plate's edge or off the plate is
// refused, and so is a side moved in past holes.
TEST_F(FaceChangeCallTest, MoveOnAPlateOfHolesTouchesOnlyTheFacesItMeets) {
  struct Case {
    const char* name;
    int (*face)(int body);
    double dx, dz;
    size_t modified;  // faces tracked as modified
  };
  const Case cases[] = {
      // The hole and the top and bottom its loops lie in.
      {"one hole sideways", [](int body) { return CurvedFaces(body)[4]; }, 0.5, 0.0, 3},
      // The top and every face that meets it: nine holes and four sides.
      {"the top upwards", [](int body) { return FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 2)); }, 0.0, 0.5, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = brennik::build::PlateWithManyHoles(9);
    const int face = c.face(body);
    ASSERT_NE(face, 0);
    const std::vector<int> faces = Faces(body);
    std::vector<int> identifiers(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) BQ_ENTITY_ask_identifier(faces[i], &identifiers[i]);
    const double volume = Volume(body);

    ASSERT_EQ(Change({face}, Move(Translation(c.dx, 0, c.dz))), HXR_ERROR_none);
    EXPECT_TRUE(RoundTrips(body)) << "the body passes the kernel's check";
    EXPECT_NEAR(Volume(body), volume * (2.0 + c.dz) / 2.0, 1e-6 * volume);
    EXPECT_EQ(Faces(body), faces);
    for (size_t i = 0; i < faces.size(); ++i) {
      int identifier = 0;
      BQ_ENTITY_ask_identifier(faces[i], &identifier);
      EXPECT_EQ(identifier, identifiers[i]);
    }
    std::vector<int> modified;
    for (const Track& track : Tracks()) {
      EXPECT_EQ(track.track, HXR_TRACK_modify);
      for (int original : track.originals)
        if (Has(faces, original) && !Has(modified, original)) modified.push_back(original);
    }
    EXPECT_TRUE(Has(modified, face));
    EXPECT_EQ(modified.size(), c.modified);
    HXR_ENTITY_track_r_f(&m_tracking);
  }
  // Into the next hole or across the plate's edge, and wholly off the plate.
  const int body = brennik::build::PlateWithManyHoles(9);
  for (double dx : {3.5, 20.0}) {
    for (int hole : CurvedFaces(body)) {
      const Snapshot before = Snap(body);
      EXPECT_NE(Change({hole}, Move(Translation(dx, 0, 0))), HXR_ERROR_none) << dx;
      ExpectUnchanged(body, before);
      EXPECT_EQ(m_tracking.n_track_records, 0);
    }
  }
  // A side moved in past two columns of holes: the top and bottom would keep holes outside them.
  const int side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(15, 0, 0));
  ASSERT_NE(side, 0);
  const Snapshot before = Snap(body);
  EXPECT_NE(Change({side}, Move(Translation(-11.0, 0, 0))), HXR_ERROR_none);
  ExpectUnchanged(body, before);
}

// Two blocks meeting at one corner: the lower block's top is tilted about a line through that
// corner, which stays where it is. The upper block's faces meet the tilted face at that vertex
// alone, as the body's adjacency tells: they take the rebuilt vertex with them, so that the
// blocks still meet in one vertex.
TEST_F(FaceChangeCallTest, TiltAtAPointWhereTwoSolidsTouchKeepsThemMeetingInOneVertex) {
  const int body = brennik::store::CreateBody(
      BRepAlgoAPI_Fuse(hxr::engine::fixtures::Box(1, 1, 1), hxr::engine::fixtures::Box(1, 1, 1, gp_Pnt(1, 1, 1))).Shape());
  ASSERT_NE(body, 0);
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 1));
  ASSERT_NE(top, 0);
  gp_Trsf tilt;
  tilt.SetRotation(gp_Ax1(gp_Pnt(1, 1, 1), gp_Dir(1, 0, 0)), 5.0 * M_PI / 180.0);
  BQ_TRANSF_sf_t sf{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) sf.matrix[r][c] = tilt.Value(r + 1, c + 1);
  sf.matrix[3][3] = 1.0;
  int transform = 0;
  ASSERT_EQ(BQ_TRANSF_create(&sf, &transform), 0);

  ASSERT_EQ(Change({top}, Move(transform)), HXR_ERROR_none);
  TopTools_IndexedDataMapOfShapeListOfShape around;
  TopExp::MapShapesAndUniqueAncestors(brennik::store::ShapeOf(body), TopAbs_VERTEX, TopAbs_FACE, around);
  EXPECT_EQ(around.Extent(), 15);
  int meeting = 0;
  for (int i = 1; i <= around.Extent(); ++i) {
    if (BRep_Tool::Pnt(TopoDS::Vertex(around.FindKey(i))).Distance(gp_Pnt(1, 1, 1)) > 1e-9) continue;
    ++meeting;
    EXPECT_EQ(around(i).Extent(), 6);
  }
  EXPECT_EQ(meeting, 1);
}

TEST_F(FaceChangeCallTest, ChangesThatCannotBeMadeLeaveTheBody) {
  const int prism = brennik::build::LPrism();
  const int step = FaceAt(prism, gp_Dir(0, 1, 0), gp_Pnt(10, 5, 0));
  const int block = brennik::build::Block();
  const int top = FaceAt(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  struct Case {
    const char* name;
    int body;
    int face;
    HXR_FACE_change_s change;
    int error;
  };
  const Case cases[] = {
      {"a move past the prism's top", prism, step, Move(Translation(0, 11, 0)),
       HXR_ERROR_topology_change_needed},
      {"an offset through the bottom", block, top, Offset(-31.0), 0},
      {"no transform", block, top, Move(0), HXR_ERROR_bad_argument},
      {"a transform tag that names a face", block, top, Move(top), HXR_ERROR_bad_argument},
      {"an unknown change", block, top, HXR_FACE_change_s{}, HXR_ERROR_bad_argument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Snapshot before = Snap(c.body);
    const int code = Change({c.face}, c.change);
    if (c.error != 0) {
      EXPECT_EQ(code, c.error);
    }
    EXPECT_NE(code, HXR_ERROR_none);
    ExpectUnchanged(c.body, before);
    EXPECT_EQ(m_tracking.n_track_records, 0);
  }
  // A change index outside the change records.
  const int index = 1;
  const HXR_FACE_change_s offset = Offset(1.0);
  const Snapshot before = Snap(block);
  EXPECT_EQ(HXR_FACE_change(1, &top, &index, 1, &offset, 1e-6, nullptr, &m_tracking),
            HXR_ERROR_bad_argument);
  ExpectUnchanged(block, before);
}

}  // namespace
