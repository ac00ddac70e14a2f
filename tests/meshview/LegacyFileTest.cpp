// Writing and reading legacy poly-data files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "LegacyFileInput.h"
#include "MeshFixtures.h"

namespace
{
class LegacyFile : public ::testing::Test
{
protected:
  void SetUp() override
  {
    m_dir = std::filesystem::temp_directory_path() /
            ("meshview-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string path(const char* name) const { return (m_dir / name).string(); }

  static std::string line(const std::string& file, int number)
  {
    std::ifstream in(file);
    std::string text;
    for (int i = 0; i < number && std::getline(in, text); ++i)
    {
    }
    return text;
  }

  std::filesystem::path m_dir;
};
} // namespace

TEST_F(LegacyFile, RoundTripKeepsCountsAndCoordinates)
{
  auto model = makeSmallModel();
  TestQel written;
  written.ImportData(model.get());
  long points = 0, polys = 0;
  for (long i = 0; i < written.GetPolyDataCount(); ++i)
  {
    points += written.GetPolyData(i)->GetNumberOfPoints();
    polys += written.GetPolyData(i)->GetNumberOfPolys();
  }
  const std::string file = path("small.vtk");
  ASSERT_EQ(written.WriteQelFile(file.c_str(), "small model"), 1);
  EXPECT_EQ(line(file, 1), "# vtk DataFile Version 4.2");
  EXPECT_EQ(line(file, 2), "small model");
  EXPECT_EQ(line(file, 3), "ASCII");

  TestQel read;
  CProgressCtrl progress;
  read.SetProgressBar(&progress);
  ASSERT_EQ(read.ReadQelFile(file.c_str()), 1);
  ASSERT_EQ(read.GetPolyDataCount(), 1);
  vtkPolyData* polyData = read.GetPolyData(0);
  EXPECT_STREQ(polyData->GetClassName(), "vtkPolyData");
  EXPECT_EQ(polyData->GetNumberOfPoints(), points);
  EXPECT_EQ(polyData->GetNumberOfPolys(), polys);
  // Coordinates come back as the file writes them (eleven significant digits), item
  // after item.
  vtkIdType at = 0;
  for (long i = 0; i < written.GetPolyDataCount(); ++i)
  {
    vtkPolyData* item = written.GetPolyData(i);
    for (vtkIdType p = 0; p < item->GetNumberOfPoints(); ++p, ++at)
    {
      double a[3], b[3];
      item->GetPoint(p, a);
      polyData->GetPoint(at, b);
      ASSERT_NEAR(a[0], b[0], 1e-10 * (1 + std::fabs(a[0])));
      ASSERT_NEAR(a[1], b[1], 1e-10 * (1 + std::fabs(a[1])));
      ASSERT_NEAR(a[2], b[2], 1e-10 * (1 + std::fabs(a[2])));
    }
  }
  ASSERT_GE(progress.GetMessages().size(), 3u);
  EXPECT_EQ(progress.GetMessages()[0], (CProgressCtrl::Message{PBM_SETRANGE32, 0, 6}));
  // Reading replaces the poly data and tables but keeps the wire models.
  written.AddAttribute("LAYER", 7, "x");
  ASSERT_EQ(written.ReadQelFile(file.c_str()), 1);
  EXPECT_EQ(written.GetPolyDataCount(), 1);
  EXPECT_EQ(written.GetTableCount(), 0);
  EXPECT_EQ(written.GetWireModelCount(), 1);
}

TEST_F(LegacyFile, HeaderIsCutTo255Characters)
{
  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  std::string header;
  for (int i = 0; i < 300; ++i)
    header += static_cast<char>('a' + i % 26);
  const std::string file = path("header.vtk");
  ASSERT_EQ(qel.WriteQelFile(file.c_str(), header.c_str()), 1);
  EXPECT_EQ(line(file, 2), header.substr(0, 255));
}

TEST_F(LegacyFile, HeaderWithLineBreaksStaysOnOneLine)
{
  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  const std::string file = path("header.vtk");
  ASSERT_EQ(qel.WriteQelFile(file.c_str(), "first\nsecond\r\nthird"), 1);
  EXPECT_EQ(line(file, 2), "first second  third");
  TestQel read;
  ASSERT_EQ(read.ReadQelFile(file.c_str()), 1);
  EXPECT_EQ(read.GetPolyData(0)->GetNumberOfPoints(), qel.GetPolyData(0)->GetNumberOfPoints());
}

TEST_F(LegacyFile, MissingPathReadsNothingAndChangesNothing)
{
  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  qel.AddAttribute("LAYER", 1, "Top");
  EXPECT_EQ(qel.ReadQelFile(path("absent.vtk").c_str()), 0);
  EXPECT_EQ(qel.GetPolyDataCount(), 1);
  EXPECT_EQ(qel.GetTableCount(), 1);
}

TEST_F(LegacyFile, EmptyContainerWritesNothingAndSaysSo)
{
  TestQel qel;
  const std::string file = path("empty.vtk");
  EXPECT_EQ(qel.WriteQelFile(file.c_str(), "empty"), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
  // A file left from before is not taken for a successful write.
  std::ofstream(file) << "old content\n";
  EXPECT_EQ(qel.WriteQelFile(file.c_str(), "empty"), 0);
  EXPECT_EQ(line(file, 1), "old content");
}

TEST_F(LegacyFile, UnwritablePathFails)
{
  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  EXPECT_EQ(qel.WriteQelFile(path("no/such/dir/x.vtk").c_str(), "x"), 0);
}

// The corpus of the legacy-file fuzz target: seeds and every input that ever broke the
// reader. Files named "read-..." are read and files named "refused-..." refused; every
// file keeps the reader's promises.
TEST(LegacyFileCorpus, EveryFileIsReadSoundlyOrRefused)
{
  const std::filesystem::path corpus = std::filesystem::path(QEL_SOURCE_DIR) / "tests/fuzz/meshview/corpus";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus))
  {
    const std::string name = entry.path().filename().string();
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const int verdict = readLegacyFileInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    EXPECT_NE(verdict, -1) << name;
    if (name.rfind("read-", 0) == 0)
    {
      EXPECT_EQ(verdict, 1) << name;
    }
    else if (name.rfind("refused-", 0) == 0)
    {
      EXPECT_EQ(verdict, 0) << name;
    }
    ++files;
  }
  EXPECT_GE(files, 20);
}
