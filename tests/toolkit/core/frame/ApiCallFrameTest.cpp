// The frame around every exported call: whose handlers are in force during and after a call,
// nested calls and their recovery points, kernel errors that do and do not end a call, the
// journalling rule, and how long a call's change tracking is kept.

#include "ApiTestFixture.h"

#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/calls/QelInteractionApi.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"

#include <cstring>

namespace QEL {
namespace testing {
namespace {

class ApiCallFrameTest : public ApiTest {};

int ApplicationErrorHandler(const BQ_ERROR_report_t* report) { return report ? report->code : 0; }
void ApplicationAbortEntry(int*) {}
// An application's fault handler installed after the toolkit's: it hands on what it does not
// handle itself, as crash reporters do, to the handler it replaced.
struct sigaction s_replacedAbort {}, s_replacedSegv {};
void ApplicationSignalHandler(int signal, siginfo_t* info, void* context)
{
    const struct sigaction& replaced = signal == SIGABRT ? s_replacedAbort : s_replacedSegv;
    if (replaced.sa_flags & SA_SIGINFO)
        replaced.sa_sigaction(signal, info, context);
}

BQ_ERROR_handler_f_t CurrentErrorHandler()
{
    BQ_ERROR_callbacks_t callbacks{};
    BQ_ERROR_ask_callbacks(&callbacks);
    return callbacks.handler_fn;
}
BQ_FRUSTRUM_f_t CurrentAbortEntry()
{
    BQ_SESSION_frustrum_t frustrum{};
    BQ_SESSION_ask_frustrum(&frustrum);
    return frustrum.fabort;
}
void (*CurrentSignalHandler(int signal))(int, siginfo_t*, void*)
{
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_sigaction;
}

// What the handlers were while the last call ran.
BQ_ERROR_handler_f_t s_handlerDuringCall = nullptr;
BQ_FRUSTRUM_f_t s_abortEntryDuringCall = nullptr;
void RecordHandlersDuringCall()
{
    s_handlerDuringCall = CurrentErrorHandler();
    s_abortEntryDuringCall = CurrentAbortEntry();
}

TEST_F(ApiCallFrameTest, TheApplicationsHandlersAreBackAfterEveryCall)
{
    const int interaction = NewInteraction();
    BQ_ERROR_callbacks_t callbacks{&ApplicationErrorHandler};
    BQ_ERROR_register_callbacks(&callbacks);
    BQ_SESSION_frustrum_t frustrum{};
    BQ_SESSION_ask_frustrum(&frustrum);
    frustrum.fabort = &ApplicationAbortEntry;
    BQ_SESSION_register_frustrum(&frustrum);
    ResultType first = ResultTypeOk;
    OptionGetAdaptiveLiftMode(interaction, &first);  // the toolkit's handlers are in by now
    struct sigaction application {};
    application.sa_sigaction = &ApplicationSignalHandler;
    application.sa_flags = SA_SIGINFO;
    sigaction(SIGABRT, &application, &s_replacedAbort);
    sigaction(SIGSEGV, &application, &s_replacedSegv);

    for (void (*fault)() : {&RecordHandlersDuringCall, &RaiseSegmentationFault, &RaiseAbortSignal,
                            &RaiseFatalKernelError}) {
        SetApiCallFaultForTest(fault);
        ResultType result = ResultTypeOk;
        OptionSetAdaptiveLiftMode(interaction, true, &result);
        EXPECT_EQ(result, fault == &RecordHandlersDuringCall ? ResultTypeOk : ResultTypeUnhandledException);
        EXPECT_EQ(CurrentErrorHandler(), &ApplicationErrorHandler);
        EXPECT_EQ(CurrentAbortEntry(), &ApplicationAbortEntry);
        EXPECT_EQ(CurrentSignalHandler(SIGABRT), &ApplicationSignalHandler);
        EXPECT_EQ(CurrentSignalHandler(SIGSEGV), &ApplicationSignalHandler);
    }
    EXPECT_EQ(s_handlerDuringCall, &OnKernelError);
    EXPECT_EQ(s_abortEntryDuringCall, &OnKernelAbort);

    sigaction(SIGABRT, &s_replacedAbort, nullptr);
    sigaction(SIGSEGV, &s_replacedSegv, nullptr);
    BQ_ERROR_callbacks_t none{};
    BQ_ERROR_register_callbacks(&none);
}

TEST_F(ApiCallFrameTest, RecoveryPointsNestAndTheOuterOneHoldsAgainAfterAnInnerCall)
{
    bool innerCompleted = true, afterInner = false;
    const bool outerCompleted = RunWithFaultRecovery([&] {
        innerCompleted = RunWithFaultRecovery([] { std::raise(SIGSEGV); });
        afterInner = true;
        std::raise(SIGSEGV);
    });
    EXPECT_FALSE(innerCompleted);
    EXPECT_TRUE(afterInner);
    EXPECT_FALSE(outerCompleted);
    EXPECT_TRUE(RunWithFaultRecovery([] {}));
}

// An application callback that makes a call which faults, then faults itself.
int s_innerInteraction = 0;
ResultType s_innerResult = ResultTypeOk;
void CallThatFaultsFromInsideACall()
{
    SetApiCallFaultForTest(&ThrowFromCall);
    OptionGetAdaptiveLiftMode(s_innerInteraction, &s_innerResult);
}
void NestedFaultThenOwnFault()
{
    CallThatFaultsFromInsideACall();
    std::raise(SIGSEGV);
}

TEST_F(ApiCallFrameTest, ACallMadeFromInsideACallHasItsOwnRecoveryPoint)
{
    const int interaction = NewInteraction();
    s_innerInteraction = interaction;

    SetApiCallFaultForTest(&CallThatFaultsFromInsideACall);
    ResultType outer = ResultTypeFail;
    OptionSetAdaptiveLiftMode(interaction, true, &outer);
    EXPECT_EQ(s_innerResult, ResultTypeUnhandledException);
    EXPECT_EQ(outer, ResultTypeOk) << "the outer call goes on after the inner one ended";
    EXPECT_TRUE(m_made.front()->GetAdaptiveLiftMode());

    // The inner fault emptied the registry; the outer call's own fault after the inner call
    // returned still comes back to the outer call.
    TagManager::RegisterInteraction(m_made.front());
    SetApiCallFaultForTest(&NestedFaultThenOwnFault);
    OptionSetAdaptiveLiftMode(interaction, false, &outer);
    EXPECT_EQ(outer, ResultTypeUnhandledException);
}

void FailKernelCallWith(int code)
{
    brennik::test::FailNextCall("BQ_BODY_ask_faces", code);
    int count = 0;
    int* faces = nullptr;
    BQ_BODY_ask_faces(0, &count, &faces);
}
void FailWithOtherError() { FailKernelCallWith(931); }
void FailWithArgumentError() { FailKernelCallWith(22); }
void RaiseFatalThroughTheApplicationRaise() { BQ_ERROR_raise(901, nullptr, 3); }

TEST_F(ApiCallFrameTest, KernelErrorsThatAreOnlyCountedDoNotEndTheCall)
{
    const int interaction = NewInteraction();
    s_countBQArgumentErrors = true;
    s_countBQOtherErrors = true;
    const int argumentErrors = numQELBrennikArgumentErrors;
    const int otherErrors = numQELBrennikOtherErrors;
    for (void (*fault)() : {&FailWithOtherError, &FailWithArgumentError,
                            &RaiseFatalThroughTheApplicationRaise}) {
        SetApiCallFaultForTest(fault);
        ResultType result = ResultTypeFail;
        OptionSetAdaptiveLiftMode(interaction, true, &result);
        EXPECT_EQ(result, ResultTypeOk);
    }
    EXPECT_EQ(numQELBrennikArgumentErrors, argumentErrors + 1);
    EXPECT_EQ(numQELBrennikOtherErrors, otherErrors + 1);
    s_countBQArgumentErrors = false;
    s_countBQOtherErrors = false;
    EXPECT_EQ(TagManager::GetInteractionCount(), 1);
}

TEST_F(ApiCallFrameTest, ANullResultPointerIsAllowed)
{
    const int interaction = NewInteraction();
    OptionSetAdaptiveLiftMode(interaction, true, nullptr);
    EXPECT_TRUE(OptionGetAdaptiveLiftMode(interaction, nullptr));
    EXPECT_FALSE(OptionGetAdaptiveLiftMode(kUnknownTag, nullptr));
}

// A call that reads three values, as drag steps and positions do.
constexpr ApiCallProperties s_SumOfPoint{"SumOfPoint", 0, "interaction"};
double SumOfPoint(int interaction, const double* point, ResultType* result)
{
    return ApiCall<double>(s_SumOfPoint, interaction, result)
        .Requires([&](Interaction*) { return CheckArgDoubleArray(point, 3); })
        .Run([&](Interaction*, ResultType&) { return point[0] + point[1] + point[2]; });
}

TEST_F(ApiCallFrameTest, AMissingValuesArrayIsABadArgumentWhetherChecksAreOnOrNot)
{
    const int interaction = NewInteraction();
    const double point[3] = {1, 2, 3};
    for (bool checksOn : {true, false}) {
        ResultType result = ResultTypeOk;
        OptionSetCheckArguments(interaction, checksOn, &result);
        EXPECT_DOUBLE_EQ(SumOfPoint(interaction, point, &result), 6.0);
        EXPECT_EQ(result, ResultTypeOk);
        EXPECT_DOUBLE_EQ(SumOfPoint(interaction, nullptr, &result), 0.0);
        EXPECT_EQ(result, ResultTypeBadArgument);
        EXPECT_EQ(TagManager::FindInteractionFromTag(interaction), m_made.front());
    }
}

TEST_F(ApiCallFrameTest, TheJournallingRule)
{
    struct Case {
        bool open, journallable, minimise, query;
        const char* name;
        bool journalled;
    };
    const Case cases[] = {
        {false, true, false, false, "Reset", false},
        {true, false, false, false, "SetMinimiseJournal", false},
        {true, true, false, true, "GetFeatureCount", true},
        {true, true, true, true, "GetFeatureCount", false},
        {true, true, true, false, "StartJournalling", false},
        {true, true, true, false, "GetTessikJournalling", false},
        {true, true, true, false, "GetBrennikJournalling", false},
        {true, true, true, false, "SetTessikJournallingPrefix", true},
        {true, true, true, false, "Reset", true},
        {true, true, true, false, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "null name");
        if (c.open)
            OpenJournalFile();
        SetJournalMinimised(c.minimise);
        EXPECT_EQ(ApiCallGuard::DecideJournalling(c.journallable, c.query, c.name), c.journalled);
        if (IsJournalOpen())
            CloseJournal();
    }
}

// Places a block in the interaction of the running call.
Interaction* s_trackedInteraction = nullptr;
int s_placedBody = 0;
void PlaceBlockDuringCall() { Instance::Create(s_trackedInteraction, s_placedBody, nullptr); }

TEST_F(ApiCallFrameTest, ATrackedCallReportsItsChangesUntilTheNextCallThatIsNoQuery)
{
    const int interaction = NewInteraction();
    s_trackedInteraction = m_made.front();
    s_placedBody = brennik::build::Block();
    TrackingManager& tracking = *s_trackedInteraction->GetTrackingManager();

    SetApiCallFaultForTest(&PlaceBlockDuringCall);
    ResultType result = ResultTypeFail;
    EXPECT_EQ(Update(interaction, &result), UpdateApplied);
    EXPECT_EQ(result, ResultTypeOk);
    ASSERT_EQ(tracking.GetQELData().size(), 1u);
    EXPECT_EQ(tracking.GetQELData()[0]->GetType(), TrackingDataTypeCreate);
    EXPECT_EQ(tracking.GetQELData()[0]->GetNewTags(),
              std::vector<int>{s_trackedInteraction->GetInstance(0)->GetTag()});

    OptionGetAdaptiveLiftMode(interaction, &result);
    EXPECT_EQ(tracking.GetQELData().size(), 1u) << "a query keeps the data";
    const int id = GetNextUniqueIdInTheInteraction(interaction, &result);
    EXPECT_EQ(id, s_trackedInteraction->GetEntityIdCounter());
    EXPECT_EQ(tracking.GetQELData().size(), 1u);

    // An untracked call that is no query clears the data and collects nothing new.
    SetApiCallFaultForTest(&PlaceBlockDuringCall);
    OptionSetAdaptiveLiftMode(interaction, true, &result);
    EXPECT_TRUE(tracking.GetQELData().empty());
}

}  // namespace
}  // namespace testing
}  // namespace QEL
