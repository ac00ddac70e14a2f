#include <gtest/gtest.h>

#include <mfc/CArray.h>
#include <mfc/CMap.h>
#include <mfc/CProgressCtrl.h>
#include <mfc/CString.h>
#include <mfc/test_control.h>

#include <stdexcept>

TEST(MfcObject, RuntimeClassNamesTheClassAndItsBases)
{
  CProgressCtrl progress;
  EXPECT_STREQ(progress.GetRuntimeClass()->m_lpszClassName, "CProgressCtrl");
  EXPECT_TRUE(progress.IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_TRUE(progress.IsKindOf(RUNTIME_CLASS(CObject)));
  CWnd window;
  EXPECT_FALSE(window.IsKindOf(RUNTIME_CLASS(CProgressCtrl)));
}

TEST(MfcString, FormatsAnyLengthAndCompares)
{
  CString text;
  text.Format("%.*f|%s", 3, 1.5, std::string(2000, 'x').c_str());
  EXPECT_EQ(text.GetLength(), 2006);
  EXPECT_EQ(text.Left(6), CString("1.500|"));
  EXPECT_EQ(text.Left(-1), CString(""));
  EXPECT_EQ(CString("Abc").CompareNoCase("aBC"), 0);
  EXPECT_NE(CString("Abc").Compare("abc"), 0);
  EXPECT_EQ(CString(nullptr), CString(""));
  EXPECT_EQ(CString("one two").Find("two"), 4);
  EXPECT_EQ(CString("one").Find("x"), -1);
}

TEST(MfcArray, ReadsCheckIndicesWhileRemoveAndInsertIgnoreBadOnes)
{
  CArray<int> items;
  items.Add(1);
  items.Add(3);
  items.InsertAt(1, 2);
  items.InsertAt(9, 7);
  items.RemoveAt(5);
  ASSERT_EQ(items.GetSize(), 3);
  EXPECT_EQ(items[0] + items[1] * 10 + items[2] * 100, 321);
  EXPECT_THROW(items.GetAt(3), std::out_of_range);
  EXPECT_THROW(items.GetAt(-1), std::out_of_range);
  items.SetAtGrow(5, 6);
  EXPECT_EQ(items.GetSize(), 6);
  EXPECT_EQ(items[4], 0);
}

TEST(MfcMap, LookupLeavesValueAloneWhenAbsentAndRemoveIfDropsMatches)
{
  CMap<long, int> map;
  map.SetAt(1, 10);
  map.SetAt(2, 20);
  map.SetAt(3, 10);
  int value = -1;
  EXPECT_FALSE(map.Lookup(9, value));
  EXPECT_EQ(value, -1);
  map.RemoveIf([](long, int v) { return v == 10; });
  EXPECT_EQ(map.GetCount(), 1);
  EXPECT_TRUE(map.Lookup(2, value));
  EXPECT_EQ(value, 20);
  EXPECT_TRUE(map.RemoveKey(2));
  EXPECT_FALSE(map.RemoveKey(2));
}

TEST(MfcProgress, RecordsMessagesAndStepsLikeTheControl)
{
  CProgressCtrl progress;
  SendMessage(progress.GetSafeHwnd(), PBM_SETRANGE32, 0, 2);
  EXPECT_EQ(SendMessage(progress.GetSafeHwnd(), PBM_SETPOS, 1, 0), 0);
  SendMessage(progress.GetSafeHwnd(), PBM_SETSTEP, 1, 0);
  SendMessage(progress.GetSafeHwnd(), PBM_STEPIT, 0, 0);
  EXPECT_EQ(progress.GetPos(), 2);
  // Past the upper bound the position starts over.
  SendMessage(progress.GetSafeHwnd(), PBM_STEPIT, 0, 0);
  EXPECT_EQ(progress.GetPos(), 1);
  int lower = -1, upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  const std::vector<CProgressCtrl::Message> expected = {
    {PBM_SETRANGE32, 0, 2}, {PBM_SETPOS, 1, 0}, {PBM_SETSTEP, 1, 0}, {PBM_STEPIT, 0, 0}, {PBM_STEPIT, 0, 0}};
  EXPECT_EQ(progress.GetMessages(), expected);
  EXPECT_EQ(SendMessage(nullptr, PBM_STEPIT, 0, 0), 0);
}

TEST(MfcWindow, DesktopReportsTheScreenUnlessATestSetsIt)
{
  CRect rect;
  CWnd::GetDesktopWindow()->GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 1920);
  EXPECT_EQ(rect.Height(), 1080);
  mfcTestSetDesktopRect(CRect(0, 0, 800, 600));
  CWnd::GetDesktopWindow()->GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 800);
  mfcTestSetDesktopRect(CRect(0, 0, 1920, 1080));
}
