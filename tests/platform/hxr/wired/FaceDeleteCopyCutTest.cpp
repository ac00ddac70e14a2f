// Deleting, copying and cutting faces of kernel bodies: the healed body, the sheet made, the
// track records, the callbacks fired and the groups afterwards; failures change nothing.
#include "WiredTestBase.h"
#include "engine/FaceDelete.h"

#include <cmath>
#include <string>

namespace {

class FaceDeleteTest : public WiredTest {};

TEST_F(FaceDeleteTest, DeletingBlendsGivesTheBlockBack) {
  struct Case {
    const char* name;
    int (*make)();
    size_t blends;
  };
  const Case cases[] = {
      {"one blend", [] { return brennik::build::BlockWithBlend(2.0); }, 1},
      {"chain of three", [] { return brennik::build::BlockWithBlendChain(2.0); }, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    s_callbacks.clear();
    const int body = c.make();
    const std::vector<int> blends = CurvedFaces(body);
    ASSERT_EQ(blends.size(), c.blends);
    const int side = FaceAt(body, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
    ASSERT_NE(side, 0);
    const int attrib = Tag(blends[0]);
    const int group = Group(body, {blends[0], side});

    const HXR_FACE_delete_o_s options{1};
    ASSERT_EQ(HXR_FACE_delete(static_cast<int>(blends.size()), blends.data(), &options, &m_tracking),
              HXR_ERROR_none);

    EXPECT_NEAR(Volume(body), 10.0 * 20.0 * 30.0, 1e-6);
    EXPECT_EQ(Faces(body).size(), 6u);
    EXPECT_TRUE(Has(Faces(body), side)) << "the neighbour keeps its tag";
    const std::vector<Track> tracks = Tracks();
    for (int blend : blends) EXPECT_NE(FindTrack(tracks, HXR_TRACK_delete, blend), nullptr);
    EXPECT_NE(FindTrack(tracks, HXR_TRACK_modify, side), nullptr);
    EXPECT_EQ(s_callbacks, (std::vector<Callback>{{'D', blends[0], attrib, 0, 0}}));
    EXPECT_EQ(Members(group), std::vector<int>{side});
  }
}

// The curved faces of the body on cylinders of the radius, in the body's order.
std::vector<int> CylindersOfRadius(const std::vector<int>& curved, double radius) {
  std::vector<int> out;
  for (int face : curved) {
    if (std::abs(hxr::engine::fixtures::CylinderRadius(brennik::store::ShapeOf(face)) - radius) < 1e-9)
      out.push_back(face);
  }
  return out;
}

TEST_F(FaceDeleteTest, AHoleABossOrACounterboreComesOutKeepingEveryOtherFace) {
  struct Case {
    const char* name;
    int (*make)();
    std::vector<int> (*feature)(int body);  // the faces to delete
    double top;                             // the height of the plate's top, which loses a loop
    bool through;                           // the bottom loses one too
  };
  const Case cases[] = {
      {"one hole of seven", [] { return brennik::build::PlateWithManyHoles(7); },
       [](int body) { return std::vector<int>{CurvedFaces(body)[3]}; }, 2, true},
      {"a boss", brennik::build::PlateWithHoles,
       [](int body) {
         std::vector<int> faces = CylindersOfRadius(CurvedFaces(body), 8);
         faces.push_back(FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 16)));
         return faces;
       },
       10, false},
      {"a counterbored hole", brennik::build::PlateWithHoles,
       [](int body) {
         std::vector<int> faces = CylindersOfRadius(CurvedFaces(body), 6);
         faces.push_back(FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 6)));
         for (int face : CylindersOfRadius(CurvedFaces(body), 3)) faces.push_back(face);
         return faces;
       },
       10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = c.make();
    const std::vector<int> feature = c.feature(body);
    std::vector<int> neighbours = {FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, c.top))};
    if (c.through) neighbours.push_back(FaceAt(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0)));
    ASSERT_FALSE(feature.empty());
    for (int face : neighbours) ASSERT_NE(face, 0);
    for (int face : feature) ASSERT_NE(face, 0);

    // What healing the gap over by the neighbours gives for the same delete.
    std::vector<TopoDS_Shape> shapes;
    for (int face : feature) shapes.push_back(brennik::store::ShapeOf(face));
    TopoDS_Shape healed;
    BRepTools_History history;
    std::string why;
    ASSERT_EQ(hxr::engine::RemoveFacesByHealing(brennik::store::ShapeOf(body), shapes, healed, history, why),
              hxr::engine::ErrorNone)
        << why;
    const double healedVolume = hxr::engine::VolumeOf(healed);

    std::vector<int> others;
    std::vector<int> identifiers;
    for (int face : Faces(body)) {
      if (Has(feature, face)) continue;
      others.push_back(face);
      identifiers.emplace_back();
      BQ_ENTITY_ask_identifier(face, &identifiers.back());
    }

    ASSERT_EQ(HXR_FACE_delete(static_cast<int>(feature.size()), feature.data(), nullptr, &m_tracking),
              HXR_ERROR_none);

    EXPECT_NEAR(Volume(body), healedVolume, 1e-6 * healedVolume);
    EXPECT_TRUE(RoundTrips(body)) << "the body passes the kernel's check";
    EXPECT_EQ(Faces(body), others);
    EXPECT_EQ(static_cast<int>(others.size()), hxr::engine::CountOf(healed, TopAbs_FACE));
    for (size_t i = 0; i < others.size(); ++i) {
      int identifier = 0;
      BQ_ENTITY_ask_identifier(others[i], &identifier);
      EXPECT_EQ(identifier, identifiers[i]);
    }
    const std::vector<Track> tracks = Tracks();
    for (int face : feature) EXPECT_NE(FindTrack(tracks, HXR_TRACK_delete, face), nullptr);
    for (int face : neighbours) EXPECT_NE(FindTrack(tracks, HXR_TRACK_modify, face), nullptr);
    for (int face : others) {
      if (Has(neighbours, face)) continue;
      for (const Track& track : tracks) EXPECT_FALSE(Has(track.originals, face)) << "face " << face;
    }
  }
}

TEST_F(FaceDeleteTest, RefusedDeletesLeaveTheBodyAsItWas) {
  const int block = brennik::build::Block();
  const int top = FaceAt(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int other = brennik::build::Block();
  const int otherFace = Faces(other).front();
  const HXR_FACE_delete_o_s wrongVersion{2};
  const int both[] = {top, otherFace};
  const Snapshot before = Snap(block);
  struct Case {
    const char* name;
    int n;
    const int* faces;
    const HXR_FACE_delete_o_s* options;
  };
  const int none = 0;
  const Case cases[] = {
      {"a face the neighbours cannot close over", 1, &top, nullptr},
      {"an empty list", 0, &none, nullptr},
      {"a tag that is no face", 1, &block, nullptr},
      {"faces of two bodies", 2, both, nullptr},
      {"options of another version", 1, &top, &wrongVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_tracking = {3, nullptr};
    EXPECT_NE(HXR_FACE_delete(c.n, c.faces, c.options, &m_tracking), HXR_ERROR_none);
    EXPECT_EQ(m_tracking.n_track_records, 0);
    ExpectUnchanged(block, before);
  }
  EXPECT_TRUE(s_callbacks.empty());
}

class FaceCopyCutTest : public WiredTest {};

TEST_F(FaceCopyCutTest, CopyMakesASheetInThePartitionAndLeavesTheBody) {
  const int body = brennik::build::Block();
  int partition = 0;
  ASSERT_EQ(BQ_PARTITION_create_empty(&partition), 0);
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const int front = FaceAt(body, gp_Dir(0, -1, 0), gp_Pnt(0, 0, 0));
  const Snapshot before = Snap(body);
  const int faces[] = {top, front};
  const HXR_FACE_copy_o_s options{1, partition};
  int sheet = 0;
  ASSERT_EQ(HXR_FACE_copy(2, faces, &options, &sheet, &m_tracking), HXR_ERROR_none);

  ExpectUnchanged(body, before);
  ASSERT_NE(sheet, 0);
  int owner = 0;
  ASSERT_EQ(BQ_ENTITY_ask_partition(sheet, &owner), 0);
  EXPECT_EQ(owner, partition);
  const std::vector<int> copies = Faces(sheet);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_NEAR(Area(sheet), 10.0 * 20.0 + 10.0 * 30.0, 1e-9);
  // The face records pair each given face with its copy, position by position.
  const std::vector<Track> tracks = Tracks();
  ASSERT_FALSE(tracks.empty());
  EXPECT_EQ(tracks[0].track, HXR_TRACK_derive);
  ASSERT_EQ(tracks[0].originals, (std::vector<int>{top, front}));
  ASSERT_EQ(tracks[0].products.size(), 2u);
  EXPECT_NEAR(Area(tracks[0].products[0]), 200.0, 1e-9);
  EXPECT_NEAR(Area(tracks[0].products[1]), 300.0, 1e-9);
  EXPECT_TRUE(Has(copies, tracks[0].products[0]));
}

TEST_F(FaceCopyCutTest, CutTakesTheBlendIntoASheetAndHealsTheBody) {
  const int body = brennik::build::BlockWithBlend(2.0);
  const int blend = CurvedFaces(body).front();
  const double blendArea = Area(blend);
  const int attrib = Tag(blend);
  HXR_FACE_cut_o_s options{};
  options.version = 1;
  int sheet = 0;
  ASSERT_EQ(HXR_FACE_cut(1, &blend, &options, &sheet, &m_tracking), HXR_ERROR_none);

  EXPECT_NEAR(Volume(body), 6000.0, 1e-6);
  EXPECT_EQ(Faces(body).size(), 6u);
  ASSERT_EQ(Faces(sheet).size(), 1u);
  EXPECT_NEAR(Area(sheet), blendArea, 1e-9);
  const std::vector<Track> tracks = Tracks();
  EXPECT_NE(FindTrack(tracks, HXR_TRACK_delete, blend), nullptr);
  const Track* derive = FindTrack(tracks, HXR_TRACK_derive, blend);
  ASSERT_NE(derive, nullptr);
  EXPECT_EQ(derive->products, Faces(sheet));
  // The sheet's face is a copy of the blend (copy callback) before the blend itself goes.
  const std::vector<int> copied = Attribs(Faces(sheet).front());
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(s_callbacks, (std::vector<Callback>{{'C', blend, attrib, copied[0], Faces(sheet).front()},
                                                 {'D', blend, attrib, 0, 0}}));
}

TEST_F(FaceCopyCutTest, VersionTwoRecordCutsAsAskedAndRefusesWhatItDoesNotMake) {
  struct Case {
    int version;
    int heal;
    int sheetForm;
    int maxSheets;
    int code;
  };
  const Case cases[] = {
      {2, HXR_CUT_HEAL_default, HXR_CUT_SHEET_connected, 1, HXR_ERROR_none},
      {2, HXR_CUT_HEAL_none, HXR_CUT_SHEET_connected, 1, HXR_ERROR_unsupported},
      {2, HXR_CUT_HEAL_default, HXR_CUT_SHEET_each_face, 1, HXR_ERROR_unsupported},
      {2, HXR_CUT_HEAL_default, HXR_CUT_SHEET_connected, 0, HXR_ERROR_bad_argument},
      {2, 1, HXR_CUT_SHEET_connected, 1, HXR_ERROR_bad_argument},
      {3, HXR_CUT_HEAL_default, HXR_CUT_SHEET_connected, 1, HXR_ERROR_bad_argument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = CurvedFaces(body).front();
    HXR_FACE_cut_o_s options{};
    options.version = c.version;
    options.heal = c.heal;
    options.sheet_form = c.sheetForm;
    options.max_sheets = c.maxSheets;
    options.want_tracking = true;
    const Snapshot before = Snap(body);
    int sheet = -1;
    ASSERT_EQ(HXR_FACE_cut(1, &blend, &options, &sheet, &m_tracking), c.code);
    if (c.code != HXR_ERROR_none) {
      EXPECT_EQ(sheet, 0);
      ExpectUnchanged(body, before);
      continue;
    }
    EXPECT_EQ(Faces(body).size(), 6u);
    ASSERT_EQ(Faces(sheet).size(), 1u);
    const std::vector<Track> tracks = Tracks();
    const Track* derive = FindTrack(tracks, HXR_TRACK_derive, blend);
    ASSERT_NE(derive, nullptr);
    EXPECT_EQ(derive->products, Faces(sheet));
  }
}

TEST_F(FaceCopyCutTest, TheSheetsFacesCarryCopiesOfTheFacesAttributes) {
  struct Case {
    const char* name;
    bool cut;
  };
  for (const Case& c : {Case{"copy", false}, Case{"cut", true}}) {
    SCOPED_TRACE(c.name);
    s_callbacks.clear();
    const int body = brennik::build::BlockWithBlend(2.0);
    const int blend = CurvedFaces(body).front();
    const int attrib = Tag(blend);
    const int group = Group(body, {blend});
    int sheet = 0;
    const int code = c.cut ? HXR_FACE_cut(1, &blend, nullptr, &sheet, &m_tracking)
                           : HXR_FACE_copy(1, &blend, nullptr, &sheet, &m_tracking);
    ASSERT_EQ(code, HXR_ERROR_none);
    const std::vector<int> copies = Faces(sheet);
    ASSERT_EQ(copies.size(), 1u);
    const std::vector<int> copied = Attribs(copies[0]);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_NE(copied[0], attrib);
    std::vector<Callback> expected{{'C', blend, attrib, copied[0], copies[0]}};
    if (c.cut) expected.push_back({'D', blend, attrib, 0, 0});
    EXPECT_EQ(s_callbacks, expected);
    // The original keeps its attribute and group while it stays in the body.
    EXPECT_EQ(Attribs(blend), c.cut ? std::vector<int>{} : std::vector<int>{attrib});
    EXPECT_EQ(Members(group), c.cut ? std::vector<int>{} : std::vector<int>{blend});
    EXPECT_TRUE(GroupsOf(sheet).empty());
    const std::vector<Track> tracks = Tracks();
    const Track* derive = FindTrack(tracks, HXR_TRACK_derive, blend);
    ASSERT_NE(derive, nullptr);
    EXPECT_EQ(derive->products, copies);
  }
}

TEST_F(FaceCopyCutTest, RefusedCutLeavesTheBodyAndMakesNoSheet) {
  const int body = brennik::build::Block();
  const int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
  const Snapshot before = Snap(body);
  int partition = 0;
  BQ_ENTITY_ask_partition(body, &partition);
  const size_t bodiesBefore = List(BQ_PARTITION_ask_bodies, partition).size();
  int sheet = 7;
  HXR_FACE_cut_o_s options{};
  options.version = 1;
  EXPECT_NE(HXR_FACE_cut(1, &top, &options, &sheet, &m_tracking), HXR_ERROR_none);
  EXPECT_EQ(sheet, 0);
  ExpectUnchanged(body, before);
  EXPECT_EQ(m_tracking.n_track_records, 0);
  EXPECT_EQ(List(BQ_PARTITION_ask_bodies, partition).size(), bodiesBefore);
}

}  // namespace
