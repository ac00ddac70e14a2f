// The replay registry and the unpackers: exported calls registered at load under their
// exact names, replayed from recorded values with outputs and return values captured.
#include "core/frame/ApiCallTable.h"
#include "replay/ReplayRegistry.h"
#include "replay/ReplayUnpackers.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace QEL {

// Stand-ins for exported calls, with the signatures of real ones.
namespace {
int s_calls = 0;
int s_lastInteraction = 0;
}  // namespace

bool ReplayProbeFindClusterOfShell(int interaction, int seedFace, Array<int>& sameSide, Array<int>& otherSide,
                                   double* thickness, ResultType* result)
{
  ++s_calls;
  s_lastInteraction = interaction;
  sameSide.RemoveAll();
  sameSide.Add(seedFace);
  sameSide.Add(seedFace + 1);
  otherSide.RemoveAll();
  otherSide.Add(seedFace + 100);
  if (thickness != nullptr) *thickness = 2.5;
  if (result != nullptr) *result = ResultTypeFail;
  return true;
}

void ReplayProbeSetExactDragging(int interaction, bool exact, ResultType* result)
{
  ++s_calls;
  s_lastInteraction = exact ? interaction : -interaction;
  if (result != nullptr) *result = ResultTypeOk;
}

void ReplayProbeReset(ResultType* result)
{
  ++s_calls;
  if (result != nullptr) *result = ResultTypeOk;
}

UpdateStatus ReplayProbeDragStep(int interaction, double* position, ResultType* result)
{
  ++s_calls;
  s_lastInteraction = interaction;
  if (result != nullptr) *result = ResultTypeOk;
  return position != nullptr && position[2] == 3 ? UpdateApplied : UpdateSolveFailed;
}

namespace {
double s_profile[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {0, 0, 0, 1}};
}  // namespace

double* ReplayProbeGetProfileXform(int, int feature, ResultType*)
{
  ++s_calls;
  return feature != 0 ? &s_profile[0][0] : nullptr;
}

const char* ReplayProbeGetIdentifier(int, int relation, ResultType*)
{
  ++s_calls;
  return relation != 0 ? "hinge" : nullptr;
}

bool ReplayProbePreviewRadius(int, int, bool* hasRadius, double* radius, bool* hasMinor, double* minor, ResultType*)
{
  ++s_calls;
  if (hasRadius != nullptr) *hasRadius = true;
  if (radius != nullptr) *radius = 4;
  if (hasMinor != nullptr) *hasMinor = false;
  if (minor != nullptr) *minor = 1;
  return true;
}

void ReplayProbeGetTransform(int, int, double matrix[4][4], ResultType*)
{
  ++s_calls;
  matrix[0][3] = 42;
}

QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeFindClusterOfShell);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeSetExactDragging);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeReset);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeDragStep);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeGetProfileXform);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeGetIdentifier);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbePreviewRadius);
QEL_REGISTER_REPLAY_FUNCTION(ReplayProbeGetTransform);

namespace {

ReplayValue Int(int value, ReplayDirection direction = ReplayDirectionInput)
{
  ReplayValue v;
  v.SetInt(value).SetDirection(direction);
  return v;
}

ReplayValue Output(ReplayValue value)
{
  value.Clear();  // as the engine empties a recorded output before the call
  value.SetDirection(ReplayDirectionOutput);
  return value;
}

ReplayValue Null(ReplayValueKind kind)
{
  ReplayValue v;
  v.SetKind(kind);
  v.SetNull(true);
  return v;
}

ReplayValue Triple(double x, double y, double z)
{
  const double values[3] = {x, y, z};
  return ReplayValue().SetDoubleTriple(values);
}

std::vector<ReplayValue> FindClusterArguments()
{
  return {Int(7), Int(11), Output(ReplayValue().SetTagArray(Array<int>())),
          Output(ReplayValue().SetTagArray(Array<int>())), Output(Triple(0, 0, 0)), Output(Int(0))};
}

class ReplayRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { s_calls = 0; }

  // Calls the named function and expects the recorded list to be refused with the text.
  void ExpectRefused(const char* name, std::vector<ReplayValue> arguments, const std::string& text)
  {
    std::vector<ReplayValue> before = arguments;
    ReplayValue returnValue;
    try {
      CallReplayFunction(name, arguments, &returnValue);
      ADD_FAILURE() << name << ": no exception, expected " << text;
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(error.what(), text) << name;
    }
    EXPECT_EQ(s_calls, 0) << name;
    EXPECT_EQ(arguments, before) << name;
  }
};

TEST_F(ReplayRegistryTest, RegisteredFunctionReplaysWithOutputsAndReturnValue)
{
  std::vector<ReplayValue> arguments = FindClusterArguments();
  ReplayValue returnValue;
  ASSERT_TRUE(CallReplayFunction("ReplayProbeFindClusterOfShell", arguments, &returnValue));
  EXPECT_EQ(s_calls, 1);
  EXPECT_EQ(s_lastInteraction, 7);
  EXPECT_EQ(GetArrayVector(arguments[2].GetTagArray()), (std::vector<int>{11, 12}));
  EXPECT_EQ(arguments[2].GetKind(), ReplayValueKindTagArray);
  EXPECT_EQ(arguments[2].GetDirection(), ReplayDirectionOutput);
  EXPECT_EQ(GetArrayVector(arguments[3].GetTagArray()), (std::vector<int>{111}));
  EXPECT_EQ(arguments[4].GetDoublePointer()[0], 2.5);
  EXPECT_EQ(arguments[5].GetInt(), ResultTypeFail);
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindBool);
  EXPECT_TRUE(returnValue.GetBool());
  EXPECT_EQ(returnValue.GetDirection(), ReplayDirectionUnset);
}

TEST_F(ReplayRegistryTest, OnlyTheExactNameFindsTheFunction)
{
  for (const char* name : {"replayprobefindclusterofshell", "ReplayProbeFindClusterOfShell ", "ReplayProbe", "NoSuchCall"}) {
    std::vector<ReplayValue> arguments = FindClusterArguments();
    const std::vector<ReplayValue> before = arguments;
    ReplayValue returnValue = ReplayValue().SetString("untouched");
    EXPECT_FALSE(CallReplayFunction(name, arguments, &returnValue)) << name;
    EXPECT_EQ(arguments, before) << name;
    EXPECT_EQ(returnValue, ReplayValue().SetString("untouched")) << name;
  }
  EXPECT_EQ(s_calls, 0);
}

TEST_F(ReplayRegistryTest, RecordedValuesThatDoNotFitAreRefusedBeforeTheCall)
{
  std::vector<ReplayValue> shorter = FindClusterArguments();
  shorter.pop_back();
  ExpectRefused("ReplayProbeFindClusterOfShell", shorter, "Unexpected number of arguments");
  std::vector<ReplayValue> longer = FindClusterArguments();
  longer.push_back(Int(0));
  ExpectRefused("ReplayProbeFindClusterOfShell", longer, "Unexpected number of arguments");
  ExpectRefused("ReplayProbeSetExactDragging", {Int(1), Int(1), Int(0)}, "Replay argument not expected type");
  ExpectRefused("ReplayProbeDragStep", {Int(1), Int(1), Int(0)}, "Expected double* replay argument");
  ExpectRefused("ReplayProbeReset", {}, "Unexpected number of arguments");
}

TEST_F(ReplayRegistryTest, NullRecordedPointersPassNullPointers)
{
  std::vector<ReplayValue> arguments = {Int(1), Int(2), Null(ReplayValueKindBool), Null(ReplayValueKindDoubleTriple),
                                        Null(ReplayValueKindBool), Output(Triple(0, 0, 0)), Null(ReplayValueKindInt)};
  ReplayValue returnValue;
  ASSERT_TRUE(CallReplayFunction("ReplayProbePreviewRadius", arguments, &returnValue));
  EXPECT_EQ(s_calls, 1);
  EXPECT_EQ(arguments[5].GetDoublePointer()[0], 1);
  EXPECT_TRUE(arguments[2].IsNull());

  std::vector<ReplayValue> reset = {Null(ReplayValueKindInt)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeReset", reset, &returnValue));
  EXPECT_EQ(s_calls, 2);
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindNone);
}

TEST_F(ReplayRegistryTest, DoublePointerTakesASingleDoubleOrATriple)
{
  ReplayValue returnValue;
  std::vector<ReplayValue> triple = {Int(1), Triple(1, 2, 3), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeDragStep", triple, &returnValue));
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindInt);  // an enumeration result travels as an int
  EXPECT_EQ(returnValue.GetInt(), UpdateApplied);
  std::vector<ReplayValue> single = {Int(1), ReplayValue().SetDouble(3), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeDragStep", single, &returnValue));
  EXPECT_EQ(returnValue.GetInt(), UpdateSolveFailed);  // the two doubles behind it are zero
}

TEST_F(ReplayRegistryTest, PointerResultsAreStoredAsValuesOrNullValues)
{
  ReplayValue returnValue;
  std::vector<ReplayValue> arguments = {Int(1), Int(5), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeGetProfileXform", arguments, &returnValue));
  EXPECT_EQ(returnValue, Triple(1, 2, 3));
  arguments = {Int(1), Int(0), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeGetProfileXform", arguments, &returnValue));
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindDoubleTriple);
  EXPECT_TRUE(returnValue.IsNull());

  arguments = {Int(1), Int(3), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeGetIdentifier", arguments, &returnValue));
  EXPECT_STREQ(returnValue.GetString(), "hinge");
  arguments = {Int(1), Int(0), Int(0)};
  ASSERT_TRUE(CallReplayFunction("ReplayProbeGetIdentifier", arguments, &returnValue));
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindString);
  EXPECT_EQ(returnValue.GetString(), nullptr);
}

TEST_F(ReplayRegistryTest, TransformOutputsLandInTheRecordedValue)
{
  double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  std::vector<ReplayValue> arguments = {Int(1), Int(2), ReplayValue().SetTransform(identity), Int(0)};
  ReplayValue returnValue = ReplayValue().SetInt(9);
  ASSERT_TRUE(CallReplayFunction("ReplayProbeGetTransform", arguments, &returnValue));
  EXPECT_EQ(arguments[2].GetTransform()[0][3], 42);
  EXPECT_EQ(returnValue.GetKind(), ReplayValueKindNone);
}

// The registry and the call table agree in both directions, whichever calls are built in: every
// registered name is a live exported call marked replayable, and every such call is registered.
TEST_F(ReplayRegistryTest, RegisteredNamesAreExactlyTheLiveReplayableCalls)
{
  std::set<std::string> replayable, live;
  for (const ApiCallEntry& entry : GetApiCalls()) {
    live.insert(entry.properties->name);
    if (entry.properties->IsReplayable()) replayable.insert(entry.properties->name);
  }
  ASSERT_FALSE(replayable.empty());
  for (const auto& entry : GetReplayFunctionRegistry()) {
    if (entry.first.rfind("ReplayProbe", 0) == 0) continue;  // this file's stand-ins
    if (entry.first == "SystemReset") continue;  // runs without the call frame, so it has no row
    EXPECT_TRUE(replayable.count(entry.first))
        << entry.first << (live.count(entry.first) ? " is a call not marked replayable" : " is no exported call");
  }
  for (const std::string& name : replayable)
    EXPECT_TRUE(GetReplayFunctionRegistry().count(name)) << name << " is marked replayable but has no adapter";
}

TEST_F(ReplayRegistryTest, RegisteringANameAgainReplacesItsAdapter)
{
  size_t count = GetReplayFunctionRegistry().size();
  RegisterReplayFunction("ReplayProbeReset", &ReplayAdapterFor<&ReplayProbeSetExactDragging>);
  EXPECT_EQ(GetReplayFunctionRegistry().size(), count);
  std::vector<ReplayValue> arguments = {Int(3), ReplayValue().SetBool(false), Int(0)};
  EXPECT_TRUE(CallReplayFunction("ReplayProbeReset", arguments, nullptr));
  EXPECT_EQ(s_lastInteraction, -3);
  RegisterReplayFunction("ReplayProbeReset", &ReplayAdapterFor<&ReplayProbeReset>);
}

}  // namespace
}  // namespace QEL
