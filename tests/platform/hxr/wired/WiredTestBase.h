// Shared set-up of the add-on calls' contract tests: a fresh kernel session per test, an
// attribute definition whose callbacks are recorded, and small readers of bodies, groups
// and track records.
#pragma once

#include "BodyStore.h"
#include "brennik.h"
#include "brennik_build.h"
#include "brennik_test.h"
#include "engine/ShapeChecks.h"
#include "fixtures/EngineFixtures.h"
#include "hxr.h"

#include <BRepAdaptor_Surface.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Dir.hxx>
#include <gp_Pnt.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

// One attribute callback as the kernel called it: kind ('S', 'M', 'D', 'C') and the four
// arguments (entity, attribute, other attribute, other entity).
using Callback = std::tuple<char, int, int, int, int>;

// One track record with its lists copied out.
struct Track {
  int track;
  std::vector<int> originals;
  std::vector<int> products;
};

class WiredTest : public ::testing::Test {
 protected:
  void SetUp() override {
    brennik::test::RestartSession();
    s_callbacks.clear();
    const int owners[] = {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex, BQ_CLASS_body};
    BQ_ATTDEF_sf_t form{"TEST/WIRED", BQ_ATTDEF_class_normal, 4, owners, 0, nullptr, nullptr};
    ASSERT_EQ(BQ_ATTDEF_create_2(&form, &m_attdef), 0);
    BQ_ATTDEF_callback_fns_t fns{&OnSplit, &OnMerge, &OnDelete, &OnCopy};
    BQ_ATTDEF_register_cb(m_attdef, &fns);
    BQ_ATTDEF_callback_flags_t on{true, true, true, true, false, false};
    BQ_ATTDEF_set_callback_flags(m_attdef, &on);
  }
  void TearDown() override {
    HXR_ENTITY_track_r_f(&m_tracking);
    brennik::test::Reset();
  }

  // An attribute of the test definition on the entity.
  int Tag(int entity) {
    int attrib = 0;
    EXPECT_EQ(BQ_ATTRIB_create_empty(entity, m_attdef, &attrib), 0);
    return attrib;
  }

  // The track records of the last call, copied (and the add-on's result freed).
  std::vector<Track> Tracks() {
    std::vector<Track> out;
    for (int i = 0; i < m_tracking.n_track_records; ++i) {
      const HXR_ENTITY_track_record_r_s& r = m_tracking.track_records[i];
      EXPECT_EQ(r.form, HXR_TRACK_FORM_map);
      out.push_back({r.track, std::vector<int>(r.originals, r.originals + r.n_originals),
                     std::vector<int>(r.products, r.products + r.n_products)});
    }
    HXR_ENTITY_track_r_f(&m_tracking);
    return out;
  }

  static const Track* FindTrack(const std::vector<Track>& tracks, int kind, int original) {
    for (const Track& t : tracks)
      if (t.track == kind && std::count(t.originals.begin(), t.originals.end(), original)) return &t;
    return nullptr;
  }

  static std::vector<int> Faces(int body) { return List(BQ_BODY_ask_faces, body); }
  static std::vector<int> Edges(int body) { return List(BQ_BODY_ask_edges, body); }
  static std::vector<int> Members(int group) { return List(BQ_GROUP_ask_entities, group); }
  static std::vector<int> GroupsOf(int body) { return List(BQ_PART_ask_groups, body); }
  // The entity's attributes of the test definition.
  std::vector<int> Attribs(int entity) const {
    int n = 0;
    int* array = nullptr;
    if (BQ_ENTITY_ask_attribs(entity, m_attdef, &n, &array) != 0) return {};
    std::vector<int> out(array, array + n);
    BQ_MEMORY_free(array);
    return out;
  }

  static bool Has(const std::vector<int>& list, int tag) {
    return std::find(list.begin(), list.end(), tag) != list.end();
  }

  static double Volume(int body) { return hxr::engine::VolumeOf(brennik::store::ShapeOf(body)); }
  static double Area(int entity) { return hxr::engine::AreaOf(brennik::store::ShapeOf(entity)); }

  // The planar face of the body with the outward normal through the point.
  static int FaceAt(int body, const gp_Dir& normal, const gp_Pnt& point) {
    const TopoDS_Shape face =
        hxr::engine::fixtures::PlanarFace(brennik::store::ShapeOf(body), normal, point);
    return face.IsNull() ? 0 : brennik::store::TagOf(body, face);
  }

  // The faces of the body that are not planes.
  static std::vector<int> CurvedFaces(int body) {
    std::vector<int> out;
    for (const TopoDS_Face& face : hxr::engine::fixtures::CurvedFaces(brennik::store::ShapeOf(body)))
      out.push_back(brennik::store::TagOf(body, face));
    return out;
  }

  // Every face of the body whose surface is no plane, corner patches included.
  static std::vector<int> NonPlanarFaces(int body) {
    std::vector<int> out;
    for (TopExp_Explorer it(brennik::store::ShapeOf(body), TopAbs_FACE); it.More(); it.Next()) {
      if (BRepAdaptor_Surface(TopoDS::Face(it.Current())).GetType() != GeomAbs_Plane)
        out.push_back(brennik::store::TagOf(body, it.Current()));
    }
    return out;
  }

  // True when the body comes back from a transmit and receive through memory: receiving
  // refuses a body that fails the kernel's check.
  static bool RoundTrips(int body) {
    BQ_MEMORY_block_t* block = nullptr;
    if (BQ_PART_transmit_b(1, &body, nullptr, &block) != BQ_ERROR_no_errors) return false;
    int count = 0;
    int* parts = nullptr;
    const int error = BQ_PART_receive_b(block, nullptr, &count, &parts);
    BQ_MEMORY_block_f(block);
    if (error == BQ_ERROR_no_errors && count > 0) BQ_ENTITY_delete(count, parts);
    BQ_MEMORY_free(parts);
    return error == BQ_ERROR_no_errors && count == 1;
  }

  static int Translation(double x, double y, double z) {
    BQ_TRANSF_sf_t sf{};
    for (int i = 0; i < 4; ++i) sf.matrix[i][i] = 1.0;
    sf.matrix[0][3] = x;
    sf.matrix[1][3] = y;
    sf.matrix[2][3] = z;
    int transf = 0;
    EXPECT_EQ(BQ_TRANSF_create(&sf, &transf), 0);
    return transf;
  }

  static int Group(int body, std::vector<int> members) {
    int group = 0;
    EXPECT_EQ(BQ_GROUP_create_from_entities(body, 1000, static_cast<int>(members.size()),
                                            members.data(), &group),
              0);
    return group;
  }

  // What a failed call must leave: the very same body record (no replacement happened).
  struct Snapshot {
    const brennik::BodyRecord* record;
    std::vector<int> faces;
    double volume;
  };
  static Snapshot Snap(int body) { return {brennik::store::FindBody(body), Faces(body), Volume(body)}; }
  static void ExpectUnchanged(int body, const Snapshot& before) {
    EXPECT_EQ(brennik::store::FindBody(body), before.record);
    EXPECT_EQ(Faces(body), before.faces);
    EXPECT_NEAR(Volume(body), before.volume, 1e-9);
  }

  static std::vector<int> List(int (*call)(int, int*, int**), int tag) {
    int n = 0;
    int* array = nullptr;
    if (call(tag, &n, &array) != 0) return {};
    std::vector<int> out(array, array + n);
    BQ_MEMORY_free(array);
    return out;
  }

  int m_attdef = 0;
  HXR_ENTITY_track_r_s m_tracking{};
  static inline std::vector<Callback> s_callbacks;

 private:
  static void OnSplit(int e, int a, int b, int o) { s_callbacks.emplace_back('S', e, a, b, o); }
  static void OnMerge(int e, int a, int b, int o) { s_callbacks.emplace_back('M', e, a, b, o); }
  static void OnDelete(int e, int a, int b, int o) { s_callbacks.emplace_back('D', e, a, b, o); }
  static void OnCopy(int e, int a, int b, int o) { s_callbacks.emplace_back('C', e, a, b, o); }
};
