// A face put on a surface made again from its standard form, with the sense the kernel reads
// for it, keeps the body, and a changed form changes only that face.
#include "WiredTestBase.h"

#include <functional>

namespace {

class SurfaceFormRoundTripTest : public WiredTest {
 protected:
  static int FaceOfClass(int body, int cls) {
    for (int face : Faces(body)) {
      int surface = 0;
      int faceClass = 0;
      if (BQ_FACE_ask_surf(face, &surface) == 0 && BQ_ENTITY_ask_class(surface, &faceClass) == 0 &&
          faceClass == cls)
        return face;
    }
    return 0;
  }
  // The face's surface read as a standard form, changed, and made again as a new surface.
  template <class Form>
  static int Remade(int face, int (*ask)(int, Form*), int (*create)(const Form*, int*),
                    void (*change)(Form&), bool* sense) {
    int surface = 0;
    EXPECT_EQ(BQ_FACE_ask_oriented_surf(face, &surface, sense), 0);
    Form form{};
    EXPECT_EQ(ask(surface, &form), 0);
    change(form);
    int made = 0;
    EXPECT_EQ(create(&form, &made), 0);
    return made;
  }
  int Replace(int face, int surface, bool sense) {
    HXR_FACE_change_s change{};
    change.change = HXR_CHANGE_replace_surface;
    change.surface = surface;
    change.sense = sense;
    const int index = 0;
    HXR_FACE_change_o_s options{};
    options.version = 1;
    return HXR_FACE_change(1, &face, &index, 1, &change, 1e-6, &options, &m_tracking);
  }
};

// The turned part's torus sits on a left-handed placement and its cone narrows along its
// placement's axis: both come back from their standard forms with the other placement.
TEST_F(SurfaceFormRoundTripTest, TurnedPartFacesGoBackOnTheirRemadeSurfaces) {
  struct Case {
    const char* name;
    int cls;
    std::function<int(int, bool*)> remake;
    bool shrinks;  // the body loses volume by the change; else it keeps its volume
  };
  // A cone opened wider keeps its circle at z = 30 and narrows faster towards the cap.
  const Case cases[] = {
      {"torus as it was", BQ_CLASS_torus,
       [](int face, bool* sense) {
         return Remade<BQ_TORUS_sf_t>(face, BQ_TORUS_ask, BQ_TORUS_create, [](BQ_TORUS_sf_t&) {}, sense);
       },
       false},
      {"cone as it was", BQ_CLASS_cone,
       [](int face, bool* sense) {
         return Remade<BQ_CONE_sf_t>(face, BQ_CONE_ask, BQ_CONE_create, [](BQ_CONE_sf_t&) {}, sense);
       },
       false},
      {"cone opened wider", BQ_CLASS_cone,
       [](int face, bool* sense) {
         return Remade<BQ_CONE_sf_t>(face, BQ_CONE_ask, BQ_CONE_create,
                                     [](BQ_CONE_sf_t& form) { form.half_angle += 0.05; }, sense);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int body = brennik::build::TurnedPart();
    const int face = FaceOfClass(body, c.cls);
    ASSERT_NE(face, 0);
    const Snapshot before = Snap(body);
    bool sense = true;
    const int surface = c.remake(face, &sense);
    ASSERT_EQ(Replace(face, surface, sense), HXR_ERROR_none);
    HXR_ENTITY_track_r_f(&m_tracking);
    EXPECT_EQ(Faces(body), before.faces);
    if (c.shrinks) {
      EXPECT_LT(Volume(body), before.volume - 1.0);
    } else {
      EXPECT_NEAR(Volume(body), before.volume, 1e-6);
    }
    int now = 0;
    bool nowSense = !sense;
    ASSERT_EQ(BQ_FACE_ask_oriented_surf(face, &now, &nowSense), 0);
    EXPECT_EQ(nowSense, sense) << "the face keeps the sense it was given";
  }
}

}  // namespace
