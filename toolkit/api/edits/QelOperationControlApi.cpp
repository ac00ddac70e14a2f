#include "api/edits/QelOperationControlApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/objects/Interaction.h"
#include "core/objects/Object.h"
#include "core/support/Timer.h"
#include "solver/operations/OperationControl.h"

namespace QEL {

namespace {

constexpr unsigned s_neverJournalled = ApiCallNotJournallable | ApiCallQuery;

// The seconds the interaction's method took, journalled as "time" beside the return value.
void JournalTime(JournalArguments& journal, double seconds)
{
    journal.WriteJournalDoubleField("time", seconds, 6);
}

// A call whose result is the interaction's method's.
void ControlCall(const ApiCallProperties& call, int interaction, ResultType* result,
                 ResultType (OperationControl::*method)())
{
    Call(call, interaction, result).Run([method](Interaction* target, ResultType& status) {
        status = (OperationControl(target).*method)();
    });
}

// A query whose method answers and leaves the result Ok.
template <typename Value>
Value QueryCall(const ApiCallProperties& call, int interaction, ResultType* result,
                Value (OperationControl::*method)() const)
{
    return Call<Value>(call, interaction, result).Run([method](Interaction* target, ResultType&) {
        return (OperationControl(target).*method)();
    });
}

// The operation's three doubles written into the caller's buffer.
void VectorQuery(const ApiCallProperties& call, int interaction, double out[3], ResultType* result,
                 ResultType (OperationControl::*method)(double*) const)
{
    Call(call, interaction, result, DoublesAt(out, 3, "out"))
        .Run([method](Interaction* target, ResultType& status, const double* buffer) {
            status = (OperationControl(target).*method)(const_cast<double*>(buffer));
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OperationConfigure, 0);
bool OperationConfigure(int interaction, ResultType* result)
{
    double seconds = 0.0;
    return Call<bool>(s_OperationConfigure, interaction, result)
        .Outputs([&seconds](JournalArguments& journal) { JournalTime(journal, seconds); })
        .Run([&seconds](Interaction* target, ResultType& status) {
            Timer timer;
            bool solvable = false;
            status = OperationControl(target).OperationConfigure(solvable);
            seconds = timer.GetElapsedSeconds();
            return solvable;
        });
}

QEL_API_REPLAYABLE_CALL(OperationStart, 0);
void OperationStart(int interaction, ResultType* result)
{
    ControlCall(s_OperationStart, interaction, result, &OperationControl::OperationStart);
}

QEL_API_REPLAYABLE_CALL(OperationUpdate, ApiCallTracked);
UpdateStatus OperationUpdate(int interaction, ResultType* result)
{
    double seconds = 0.0;
    return Call<UpdateStatus>(s_OperationUpdate, interaction, result)
        .Outputs([&seconds](JournalArguments& journal) { JournalTime(journal, seconds); })
        .Run([&seconds](Interaction* target, ResultType& status) {
            Timer timer;
            const UpdateStatus update = OperationControl(target).OperationUpdate(status);
            seconds = timer.GetElapsedSeconds();
            return update;
        });
}

QEL_API_REPLAYABLE_CALL(OperationEnd, 0);
void OperationEnd(int interaction, ResultType* result)
{
    ControlCall(s_OperationEnd, interaction, result, &OperationControl::OperationEnd);
}

QEL_API_REPLAYABLE_CALL(OperationAbort, 0);
void OperationAbort(int interaction, ResultType* result)
{
    ControlCall(s_OperationAbort, interaction, result, &OperationControl::OperationAbort);
}

QEL_API_REPLAYABLE_CALL(OperationClear, 0);
void OperationClear(int interaction, ResultType* result)
{
    ControlCall(s_OperationClear, interaction, result, &OperationControl::OperationClear);
}

QEL_API_CALL(OperationConfigured, s_neverJournalled);
bool OperationConfigured(int interaction, ResultType* result)
{
    return QueryCall(s_OperationConfigured, interaction, result,
                     &OperationControl::OperationConfigured);
}

QEL_API_CALL(OperationStarted, s_neverJournalled);
bool OperationStarted(int interaction, ResultType* result)
{
    return QueryCall(s_OperationStarted, interaction, result, &OperationControl::OperationStarted);
}

QEL_API_CALL(OperationGetType, s_neverJournalled);
OperationType OperationGetType(int interaction, ResultType* result)
{
    return QueryCall(s_OperationGetType, interaction, result, &OperationControl::OperationGetType);
}

QEL_API_CALL(OperationGetDragPosition, s_neverJournalled);
void OperationGetDragPosition(int interaction, double position[3], ResultType* result)
{
    VectorQuery(s_OperationGetDragPosition, interaction, position, result,
                &OperationControl::OperationGetDragPosition);
}

QEL_API_CALL(OperationGetDragTransform, s_neverJournalled);
void OperationGetDragTransform(int interaction, double transform[4][4], ResultType* result)
{
    Call(s_OperationGetDragTransform, interaction, result, TransformOutput(transform, "transform"))
        .Run([](Interaction* target, ResultType& status, double(*out)[4]) {
            status = OperationControl(target).OperationGetDragTransform(out);
        });
}

QEL_API_CALL(OperationGetDirection, s_neverJournalled);
void OperationGetDirection(int interaction, double direction[3], ResultType* result)
{
    VectorQuery(s_OperationGetDirection, interaction, direction, result,
                &OperationControl::OperationGetDirection);
}

QEL_API_CALL(OperationGetStartPosition, s_neverJournalled);
void OperationGetStartPosition(int interaction, double position[3], ResultType* result)
{
    VectorQuery(s_OperationGetStartPosition, interaction, position, result,
                &OperationControl::OperationGetStartPosition);
}

QEL_API_CALL(OperationGetDragValue, s_neverJournalled);
double OperationGetDragValue(int interaction, int object, ResultType* result)
{
    return Call<double>(s_OperationGetDragValue, interaction, result, IntArg(object, "object"))
        .Run([](Interaction* target, ResultType& status, int tag) {
            OperationControl control(target);
            Object* found =
                tag ? dynamic_cast<Object*>(target->FindTaggedEntityFromTag(tag)) : nullptr;
            // A tag that names no object of the interaction is taken as a face of the drag.
            if (!found && tag != 0)
                return control.OperationGetOffsetFaceDragValue(tag, status);
            return control.OperationGetDragValue(found, status);
        });
}

QEL_API_CALL(OperationGetObjects, s_neverJournalled);
int OperationGetObjects(int interaction, Array<int>* objects, ResultType* result)
{
    return Call<int>(s_OperationGetObjects, interaction, result)
        .Run([objects](Interaction* target, ResultType& status) {
            if (objects)
                objects->RemoveAll();
            OperationControl control(target);
            std::vector<int> listed;
            status = control.OperationGetObjects(listed);
            if (status != ResultTypeOk)
                return 0;
            std::vector<int> faces;
            control.OperationGetOffsetFaces(faces);
            if (objects) {
                objects->Reserve(static_cast<int>(listed.size() + faces.size()));
                for (int tag : listed)
                    objects->Add(tag);
                for (int face : faces)
                    objects->Add(face);
            }
            return static_cast<int>(listed.size());
        });
}

}  // namespace QEL
