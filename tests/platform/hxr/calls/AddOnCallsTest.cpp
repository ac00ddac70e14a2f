// Contract of the add-on's public calls as far as they are wired: the version, freeing
// track records (twice harmlessly), and calls on tags that name nothing failing without pretending.
#include "hxr.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <functional>

#include <gtest/gtest.h>

namespace {

TEST(AddOnSession, ReportsItsVersion) {
  int major = 0, minor = -1, build = -1;
  EXPECT_EQ(HXR_SESSION_ask_version(&major, &minor, &build), HXR_ERROR_none);
  EXPECT_EQ(major, hxr_layer_version::kMajor);
  EXPECT_GE(minor, 0);
  EXPECT_GE(build, 0);
}

TEST(AddOnTracking, FreeingATrackRecordTwiceIsHarmless) {
  HXR_ENTITY_track_r_s tracking{};
  tracking.n_track_records = 1;
  tracking.track_records = static_cast<HXR_ENTITY_track_record_r_s*>(std::malloc(sizeof(HXR_ENTITY_track_record_r_s)));
  tracking.track_records[0] = {HXR_TRACK_split, HXR_TRACK_FORM_map, 1, static_cast<int*>(std::malloc(sizeof(int))), 2,
                               static_cast<int*>(std::malloc(2 * sizeof(int)))};
  EXPECT_EQ(HXR_ENTITY_track_r_f(&tracking), HXR_ERROR_none);
  EXPECT_EQ(tracking.n_track_records, 0);
  EXPECT_EQ(tracking.track_records, nullptr);
  EXPECT_EQ(HXR_ENTITY_track_r_f(&tracking), HXR_ERROR_none);
  EXPECT_EQ(HXR_ENTITY_track_r_f(nullptr), HXR_ERROR_none);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(AddOnDebugReport, RecordsEachCallBetweenStartAndStop) {
  const std::string path = testing::TempDir() + "hxr_report_0001.xml";
  const HXR_DEBUG_report_start_o_s start{1, true};
  const HXR_DEBUG_report_stop_o_s stop{1};
  ASSERT_EQ(HXR_DEBUG_report_start(path.c_str(), &start), HXR_ERROR_none);
  int feature = 5;
  HXR_TOPOL_make_feat(0, nullptr, nullptr, 0, 0, nullptr, &feature);
  EXPECT_EQ(HXR_DEBUG_report_stop(&stop), HXR_ERROR_none);
  HXR_FEAT_delete(feature);  // after the stop: not recorded
  const std::string report = ReadFile(path);
  EXPECT_EQ(report.rfind("<?xml", 0), 0u);
  EXPECT_NE(report.find("<Call name=\"HXR_TOPOL_make_feat\""), std::string::npos);
  EXPECT_EQ(report.find("HXR_FEAT_delete"), std::string::npos);
  EXPECT_NE(report.find("</HXRReport>"), std::string::npos);
  EXPECT_EQ(HXR_DEBUG_report_stop(&stop), HXR_ERROR_none);  // stopping twice does nothing
  std::remove(path.c_str());
}

TEST(AddOnDebugReport, AFileThatCannotBeWrittenIsABadArgument) {
  const HXR_DEBUG_report_start_o_s start{1, true};
  EXPECT_EQ(HXR_DEBUG_report_start("/no/such/folder/report.xml", &start), HXR_ERROR_bad_argument);
  EXPECT_EQ(HXR_DEBUG_report_start(nullptr, &start), HXR_ERROR_bad_argument);
}

TEST(AddOnCalls, CallsOnTagsThatNameNothingFailAndClearTheirOutputs) {
  const int faces[] = {1, 2};
  HXR_ENTITY_track_r_s tracking{7, reinterpret_cast<HXR_ENTITY_track_record_r_s*>(&tracking)};
  int sheet = 99, count = 99, feature = 99, identifier = 99;
  int* list = const_cast<int*>(faces);
  int* labels = const_cast<int*>(faces);
  bool flag = true;
  const std::function<int()> calls[] = {
      [&] { return HXR_FACE_cut(2, faces, nullptr, &sheet, &tracking); },
      [&] { return HXR_FACE_delete(2, faces, nullptr, &tracking); },
      [&] { return HXR_FACE_change(2, faces, faces, 1, nullptr, 1e-6, nullptr, &tracking); },
      [&] { return HXR_BODY_paste(1, 2, 0, nullptr, &tracking); },
      [&] { return HXR_BODY_hollow(1, 0.0, 1.0, 1e-6, nullptr, &tracking); },
      [&] { return HXR_BODY_disjoin(1, nullptr, &count, &list); },
      [&] { return HXR_BODY_is_paste_tool(1, nullptr, &flag); },
      [&] { return HXR_BODY_extract_relations(1, nullptr); },
      [&] { return HXR_TOPOL_make_feat(2, faces, faces, 0, 5, nullptr, &feature); },
      [&] { return HXR_FEAT_ask_identifier(1, &identifier); },
      [&] { return HXR_FEAT_ask_topols(1, &count, &list, &labels); },
  };
  for (const auto& call : calls) EXPECT_EQ(call(), HXR_ERROR_bad_argument);
  EXPECT_EQ(sheet, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(labels, nullptr);
  EXPECT_EQ(feature, 0);
  EXPECT_EQ(identifier, 0);
  EXPECT_FALSE(flag);
  EXPECT_EQ(tracking.n_track_records, 0);
  EXPECT_EQ(tracking.track_records, nullptr);
}

}  // namespace
