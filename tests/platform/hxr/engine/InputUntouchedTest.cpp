// Every operation works on a copy: the body it is given keeps its geometry and its
// tolerances whether the operation succeeds or fails (OCCT algorithms may otherwise
// raise tolerances of the shapes they are given in place).
#include "engine/BlendOps.h"
#include "engine/BodyHollow.h"
#include "engine/BodyPaste.h"
#include "engine/FaceChange.h"
#include "engine/FaceCopy.h"
#include "engine/FaceDelete.h"
#include "fixtures/EngineFixtures.h"

#include <functional>

#include <gtest/gtest.h>

namespace hxr::engine {
namespace {

using namespace fixtures;

struct OperationCase {
  const char* name;
  TopoDS_Shape (*make)();
  std::function<Result(const TopoDS_Shape&)> run;
};

void PrintTo(const OperationCase& c, std::ostream* os) { *os << c.name; }

TopoDS_Shape Block() { return Box(10, 10, 10); }
TopoDS_Shape Blended() { return BlendedBlock(2.0); }
TopoDS_Shape Prism() { return LPrism(); }
TopoDS_Face Top(const TopoDS_Shape& body) { return PlanarFace(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10)); }

FaceChange Change(const TopoDS_Shape& face, FaceChangeKind kind) {
  FaceChange change;
  change.face = face;
  change.kind = kind;
  return change;
}

class InputUntouched : public testing::TestWithParam<OperationCase> {};

TEST_P(InputUntouched, TheGivenBodyKeepsItsGeometryAndTolerances) {
  const OperationCase& c = GetParam();
  const TopoDS_Shape body = c.make();
  const std::string before = Fingerprint(body);
  c.run(body);
  EXPECT_EQ(Fingerprint(body), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputUntouched,
    testing::Values(
        OperationCase{"Offset", Block, [](const TopoDS_Shape& b) {
                        FaceChange c = Change(Top(b), FaceChangeKind::FaceChangeOffset);
                        c.distance = 2.0;
                        return ChangeFaces(b, {c});
                      }},
        OperationCase{"FailedMove", Prism, [](const TopoDS_Shape& b) {
                        FaceChange c = Change(PlanarFace(b, gp_Dir(0, 0, 1), gp_Pnt(10, 0, 4)),
                                              FaceChangeKind::FaceChangeTransform);
                        c.motion.SetTranslation(gp_Vec(0, 0, 7));
                        return ChangeFaces(b, {c});
                      }},
        OperationCase{"Taper", Block, [](const TopoDS_Shape& b) {
                        FaceChange c = Change(PlanarFace(b, gp_Dir(1, 0, 0), gp_Pnt(10, 0, 0)),
                                              FaceChangeKind::FaceChangeTaper);
                        c.taperDirection = gp_Dir(0, 0, 1);
                        c.taperAngle = 0.1;
                        return ChangeFaces(b, {c});
                      }},
        OperationCase{"Reblend", Blended, [](const TopoDS_Shape& b) {
                        FaceChange c = Change(CurvedFaces(b).front(), FaceChangeKind::FaceChangeReblend);
                        c.radius = 3.0;
                        return ChangeFaces(b, {c});
                      }},
        OperationCase{"Delete", Blended, [](const TopoDS_Shape& b) { return DeleteFaces(b, {CurvedFaces(b).front()}); }},
        OperationCase{"Cut", Blended, [](const TopoDS_Shape& b) { return CutFaces(b, {CurvedFaces(b).front()}); }},
        OperationCase{"PasteAdd", Block, [](const TopoDS_Shape& b) {
                        return PasteBody(b, Box(2, 2, 2, gp_Pnt(4, 4, 10)), PasteType::PasteTypeAdd, nullptr);
                      }},
        OperationCase{"PasteSubtract", Block, [](const TopoDS_Shape& b) {
                        return PasteBody(b, Box(2, 2, 2, gp_Pnt(4, 4, 9)), PasteType::PasteTypeSubtract, nullptr);
                      }},
        OperationCase{"Hollow", Block, [](const TopoDS_Shape& b) {
                        HollowOptions options;
                        options.inward = 1.0;
                        options.pierceFaces = {Top(b)};
                        return HollowBody(b, options);
                      }}),
    [](const testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace hxr::engine
