// Option settings of face changes and pastes: the settings the layer acts on are accepted
// and change the body; every other known setting is refused as unsupported and an unknown
// token as a bad argument, both leaving the body as it was.
#include "WiredTestBase.h"

#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <GProp_GProps.hxx>

#include <cmath>

namespace {

enum class Option { TaperMethod, LaminarEdge, TaperedEdges, NormalEdges, StepFace, Merge, Reblend };

class ChangeOptionsTest : public WiredTest {
 protected:
  // The body and face an option is tried on, and the paste's tool.
  struct Subject {
    int body = 0;
    int face = 0;
    int tool = 0;
  };

  static Subject Make(Option option) {
    Subject s;
    switch (option) {
      case Option::TaperMethod:
      case Option::LaminarEdge:
      case Option::TaperedEdges:
      case Option::NormalEdges:
        s.body = brennik::build::Block(10, 10, 10);
        s.face = FaceAt(s.body, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0));
        break;
      case Option::StepFace:
        s.body = brennik::build::LPrism();
        s.face = FaceAt(s.body, gp_Dir(0, 1, 0), gp_Pnt(10, 5, 0));
        break;
      case Option::Merge:
        s.body = brennik::build::Block();
        s.face = FaceAt(s.body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30));
        break;
      case Option::Reblend:
        s.body = brennik::build::Block();
        s.tool = brennik::build::Block();
        break;
    }
    return s;
  }

  // Runs the call that reads the option, with the option set to `value` and everything
  // else as the toolkit sends it by default.
  int Run(Option option, int value, const Subject& s) {
    if (option == Option::Reblend) {
      const HXR_BODY_paste_o_s paste{4, HXR_PASTE_add, false, HXR_PASTE_OPTION_default, value};
      return HXR_BODY_paste(s.body, s.tool, Translation(5, 0, 0), &paste, &m_tracking);
    }
    HXR_FACE_change_s change{};
    HXR_FACE_change_taper_o_s taper{1, nullptr, 0, nullptr, 0, HXR_TAPER_METHOD_curve,
                                    HXR_LAMINAR_EDGE_normal};
    HXR_FACE_change_transform_o_s transform{2, {0, 0, 0}, HXR_STEP_FACE_off};
    HXR_FACE_change_surface_o_s surface{1, HXR_MERGE_no};
    int edge = Edges(s.body).front();
    switch (option) {
      case Option::TaperMethod: taper.method = value; break;
      case Option::LaminarEdge: taper.laminar_edge = value; break;
      case Option::TaperedEdges: taper.tapered_edges = &edge, taper.n_tapered_edges = value; break;
      case Option::NormalEdges: taper.normal_edges = &edge, taper.n_normal_edges = value; break;
      case Option::StepFace: transform.step_face = value; break;
      case Option::Merge: surface.merge = value; break;
      case Option::Reblend: break;
    }
    if (option == Option::StepFace) {
      change.change = HXR_CHANGE_transform;
      change.transform = Translation(0, 2, 0);
      change.options = &transform;
    } else if (option == Option::Merge) {
      const BQ_PLANE_sf_t plane{{{{0, 0, 32}}, {{0, 0, 1}}, {{1, 0, 0}}}};
      EXPECT_EQ(BQ_PLANE_create(&plane, &change.surface), 0);
      change.change = HXR_CHANGE_replace_surface;
      change.sense = true;
      change.options = &surface;
    } else {
      change.change = HXR_CHANGE_taper;
      change.direction[2] = 1.0;
      change.angle = 5.0 * M_PI / 180.0;
      change.options = &taper;
    }
    const int index = 0;
    HXR_FACE_change_o_s options{};
    options.version = 1;
    return HXR_FACE_change(1, &s.face, &index, 1, &change, 1e-6, &options, &m_tracking);
  }
};

TEST_F(ChangeOptionsTest, SettingsTheLayerDoesNotActOnAreRefused) {
  struct Case {
    const char* name;
    Option option;
    int value;
    int expected;
  };
  const Case cases[] = {
      // What the toolkit sends unless told otherwise: made as asked.
      {"taper about a curve", Option::TaperMethod, HXR_TAPER_METHOD_curve, HXR_ERROR_none},
      {"normal laminar edges", Option::LaminarEdge, HXR_LAMINAR_EDGE_normal, HXR_ERROR_none},
      {"no step faces", Option::StepFace, HXR_STEP_FACE_off, HXR_ERROR_none},
      {"step faces on smooth edges, none needed", Option::StepFace, HXR_STEP_FACE_smooth_edges, HXR_ERROR_none},
      {"step faces on all edges, none needed", Option::StepFace, HXR_STEP_FACE_all_edges, HXR_ERROR_none},
      {"step faces where not coincident, none needed", Option::StepFace, HXR_STEP_FACE_if_not_coincident,
       HXR_ERROR_none},
      {"no merge", Option::Merge, HXR_MERGE_no, HXR_ERROR_none},
      {"paste with reblend, no blend touched", Option::Reblend, HXR_PASTE_reblend, HXR_ERROR_none},
      {"paste without reblend", Option::Reblend, HXR_PASTE_no_reblend, HXR_ERROR_none},
      // Known settings the engine has no way to make.
      {"taper on the surface", Option::TaperMethod, HXR_TAPER_METHOD_surface, HXR_ERROR_unsupported},
      {"isocline taper", Option::TaperMethod, HXR_TAPER_METHOD_isocline, HXR_ERROR_unsupported},
      {"offset taper", Option::TaperMethod, HXR_TAPER_METHOD_offset, HXR_ERROR_unsupported},
      {"normal taper", Option::TaperMethod, HXR_TAPER_METHOD_normal, HXR_ERROR_unsupported},
      {"drawn laminar edges", Option::LaminarEdge, HXR_LAMINAR_EDGE_draw, HXR_ERROR_unsupported},
      {"edges singled out to taper", Option::TaperedEdges, 1, HXR_ERROR_unsupported},
      {"edges singled out to stay normal", Option::NormalEdges, 1, HXR_ERROR_unsupported},
      {"merge in", Option::Merge, HXR_MERGE_in, HXR_ERROR_unsupported},
      {"merge out", Option::Merge, HXR_MERGE_out, HXR_ERROR_unsupported},
      // Tokens of no setting of the option.
      {"unknown taper method", Option::TaperMethod, 0, HXR_ERROR_bad_argument},
      {"a merge token as laminar edge", Option::LaminarEdge, HXR_MERGE_no, HXR_ERROR_bad_argument},
      {"negative tapered edge count", Option::TaperedEdges, -1, HXR_ERROR_bad_argument},
      {"unknown step face", Option::StepFace, 0, HXR_ERROR_bad_argument},
      {"unknown merge", Option::Merge, HXR_STEP_FACE_off, HXR_ERROR_bad_argument},
      {"unknown reblend", Option::Reblend, 1, HXR_ERROR_bad_argument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Subject subject = Make(c.option);
    ASSERT_NE(subject.body, 0);
    const Snapshot before = Snap(subject.body);
    EXPECT_EQ(Run(c.option, c.value, subject), c.expected);
    if (c.expected == HXR_ERROR_none) {
      EXPECT_GT(std::abs(Volume(subject.body) - before.volume), 1.0) << "the change was made";
    } else {
      ExpectUnchanged(subject.body, before);
      EXPECT_EQ(m_tracking.n_track_records, 0);
    }
    HXR_ENTITY_track_r_f(&m_tracking);
  }
}

// A slot cut across a blended edge: with reblend the blend is taken off, the slot cut and
// the blend made again on both sides of it, keeping its tag; without, the Boolean cuts the
// blend itself. Both give the same body.
TEST_F(ChangeOptionsTest, PasteCuttingIntoABlendMakesTheBlendAgainWhenReblendIsAsked) {
  for (int reblend : {HXR_PASTE_reblend, HXR_PASTE_no_reblend}) {
    SCOPED_TRACE(reblend);
    const int target = brennik::build::BlockWithBlend(2.0);
    const std::vector<int> blends = CurvedFaces(target);
    ASSERT_EQ(blends.size(), 1u);
    const int tool = brennik::store::CreateBody(
        BRepPrimAPI_MakeBox(gp_Pnt(5, 15, 12), gp_Pnt(11, 21, 18)).Shape());
    const HXR_BODY_paste_o_s paste{4, HXR_PASTE_subtract, false, HXR_PASTE_OPTION_default, reblend};
    ASSERT_EQ(HXR_BODY_paste(target, tool, 0, &paste, &m_tracking), HXR_ERROR_none);
    // The corner's 5 x 5 x 6 notch less the blend's quarter round over the slot's length.
    const double quarter = 4.0 * (1.0 - M_PI / 4.0);
    EXPECT_NEAR(Volume(target), 6000.0 - quarter * 24.0 - 150.0, 1e-6);
    const std::vector<int> after = CurvedFaces(target);
    EXPECT_EQ(after.size(), 2u);
    EXPECT_TRUE(Has(after, blends[0]));
    HXR_ENTITY_track_r_f(&m_tracking);
  }
}

}  // namespace
