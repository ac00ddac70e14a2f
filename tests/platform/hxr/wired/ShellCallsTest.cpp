// Shell partners of kernel bodies: recorded by a hollow, found by geometry on a thin-walled
// body, forgotten on request, rolled back with partition marks.
#include "WiredTestBase.h"

namespace {

class ShellCallsTest : public WiredTest {
 protected:
  // The partners of a face, with kind and thickness.
  struct Partners {
    int kind = HXR_SHELL_KIND_none;
    std::vector<int> faces;
    double thickness = -1.0;
  };
  static Partners PartnersOf(int face) {
    Partners out;
    int n = 0;
    int* faces = nullptr;
    EXPECT_EQ(HXR_FACE_find_shell_partners(face, &out.kind, &n, &faces, &out.thickness), HXR_ERROR_none);
    out.faces.assign(faces, faces + n);
    BQ_MEMORY_free(faces);
    return out;
  }
  static int HollowBlock(int* bottom, double wall = 1.0) {
    const int body = brennik::build::Block(10, 10, 10);
    int top = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 10));
    *bottom = FaceAt(body, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
    HXR_BODY_hollow_o_s options{};
    options.version = 1;
    options.n_pierce_faces = 1;
    options.pierce_faces = &top;
    options.local_face_type = HXR_LOCAL_FACES_none;
    EXPECT_EQ(HXR_BODY_hollow(body, 0.0, wall, 1e-6, &options, nullptr), HXR_ERROR_none);
    return body;
  }
};

TEST_F(ShellCallsTest, HollowRecordsEachOuterFacesPartnerAcrossTheWall) {
  int bottom = 0;
  const int body = HollowBlock(&bottom);
  const int inner = FaceAt(body, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 1));
  ASSERT_NE(inner, 0);
  const Partners partners = PartnersOf(bottom);
  EXPECT_NE(partners.kind, HXR_SHELL_KIND_none);
  EXPECT_EQ(partners.faces, std::vector<int>{inner});
  EXPECT_NEAR(partners.thickness, 1.0, 1e-12);
  // And the other way round.
  EXPECT_EQ(PartnersOf(inner).faces, std::vector<int>{bottom});

  int nSame = 0, nOpposite = 0;
  int *same = nullptr, *opposite = nullptr;
  double thickness = 0.0;
  ASSERT_EQ(HXR_FACE_find_shell_sides(bottom, &nSame, &same, &nOpposite, &opposite, &thickness), HXR_ERROR_none);
  EXPECT_EQ(std::vector<int>(same, same + nSame), std::vector<int>{bottom});
  EXPECT_EQ(std::vector<int>(opposite, opposite + nOpposite), std::vector<int>{inner});
  EXPECT_NEAR(thickness, 1.0, 1e-12);
  BQ_MEMORY_free(same);
  BQ_MEMORY_free(opposite);
}

TEST_F(ShellCallsTest, PartnersAreFoundByGeometryOnAThinWalledBodyAndNotOnABlock) {
  const int box = brennik::build::ThinWalledBox(1.0);
  const int outerBottom = FaceAt(box, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  ASSERT_NE(outerBottom, 0);
  const Partners partners = PartnersOf(outerBottom);
  EXPECT_NE(partners.kind, HXR_SHELL_KIND_none);
  ASSERT_EQ(partners.faces.size(), 1u);
  EXPECT_NEAR(partners.thickness, 1.0, 1e-9);

  const int block = brennik::build::Block();
  const Partners none = PartnersOf(FaceAt(block, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 30)));
  EXPECT_EQ(none.kind, HXR_SHELL_KIND_none);
  EXPECT_TRUE(none.faces.empty());
  EXPECT_EQ(none.thickness, 0.0);
}

TEST_F(ShellCallsTest, RemovedPartnersStayGoneAndComeBackWithARollback) {
  int bottom = 0;
  const int body = HollowBlock(&bottom);
  int partition = 0, mark = 0;
  BQ_ENTITY_ask_partition(body, &partition);
  ASSERT_EQ(BQ_PARTITION_make_pmark(partition, &mark), 0);
  const HXR_FACE_remove_shell_relns_o_s options{1};
  ASSERT_EQ(HXR_FACE_remove_shell_relns(bottom, &options), HXR_ERROR_none);
  EXPECT_EQ(PartnersOf(bottom).kind, HXR_SHELL_KIND_none);
  const BQ_PMARK_goto_o_t back{1, false, false, false, false};
  int n[3] = {};
  int* lists[3] = {};
  ASSERT_EQ(BQ_PMARK_goto_2(mark, &back, &n[0], &lists[0], &n[1], &lists[1], &n[2], &lists[2]), 0);
  for (int* list : lists) BQ_MEMORY_free(list);
  EXPECT_EQ(PartnersOf(bottom).faces.size(), 1u);
  EXPECT_EQ(HXR_FACE_remove_shell_relns(body, &options), HXR_ERROR_bad_argument);
}

TEST_F(ShellCallsTest, AReceivedHollowKnowsItsPartnersOnItsOwnFaces) {
  // Walls this thick are beyond what the geometric finder takes for a thin wall: only the
  // recorded pairs can answer.
  int bottom = 0;
  const int body = HollowBlock(&bottom, 3.0);
  ASSERT_EQ(PartnersOf(bottom).faces.size(), 1u);
  const BQ_PART_transmit_o_t out{2, BQ_PART_format_binary, true};
  BQ_MEMORY_block_t* block = nullptr;
  ASSERT_EQ(BQ_PART_transmit_b(1, &body, &out, &block), 0);
  const BQ_PART_receive_o_t in{1, BQ_PART_format_binary, true};
  int n = 0;
  int* parts = nullptr;
  ASSERT_EQ(BQ_PART_receive_b(block, &in, &n, &parts), 0);
  BQ_MEMORY_block_f(block);
  ASSERT_EQ(n, 1);
  const int copy = parts[0];
  BQ_MEMORY_free(parts);
  const int copyBottom = FaceAt(copy, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0));
  const int copyInner = FaceAt(copy, gp_Dir(0, 0, 1), gp_Pnt(0, 0, 3));
  ASSERT_NE(copyInner, 0);
  const Partners partners = PartnersOf(copyBottom);
  EXPECT_EQ(partners.faces, std::vector<int>{copyInner});
  EXPECT_NEAR(partners.thickness, 3.0, 1e-12);
  // Without the recorded pairs the same wall has no partners.
  const int plain = brennik::store::CreateBody(brennik::store::ShapeOf(copy));
  EXPECT_EQ(PartnersOf(FaceAt(plain, gp_Dir(0, 0, -1), gp_Pnt(0, 0, 0))).kind, HXR_SHELL_KIND_none);
}

}  // namespace
