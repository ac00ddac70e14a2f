#include "api/finding/QelFoundDataApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/objects/Interaction.h"
#include "update/records/FoundData.h"

namespace QEL {

namespace {

ObjectArg<FoundData> FoundDataArg(int tag)
{
    return OptionsArg<FoundData>(tag, "foundData", "Tag");
}

// One field of a record, read.
template <typename Value>
Value ReadFoundData(const ApiCallProperties& call, int interaction, int foundData,
                    Value (FoundData::*getter)() const, ResultType* result)
{
    return Call<Value>(call, interaction, result, FoundDataArg(foundData))
        .Run([getter](Interaction*, ResultType&, FoundData* data) { return (data->*getter)(); });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(FoundDataGetType, ApiCallQuery);
FoundDataType FoundDataGetType(int interaction, int foundData, ResultType* result)
{
    return ReadFoundData(s_FoundDataGetType, interaction, foundData, &FoundData::GetFoundDataType,
                         result);
}

QEL_API_REPLAYABLE_CALL(FoundDataGetState, ApiCallQuery);
FoundDataState FoundDataGetState(int interaction, int foundData, ResultType* result)
{
    return ReadFoundData(s_FoundDataGetState, interaction, foundData, &FoundData::GetState, result);
}

QEL_API_REPLAYABLE_CALL(FoundDataSetState, 0);
void FoundDataSetState(int interaction, int foundData, FoundDataState state, ResultType* result)
{
    Call(s_FoundDataSetState, interaction, result, FoundDataArg(foundData),
         EnumArg<FoundDataState>(state, "state"))
        .Run([](Interaction*, ResultType&, FoundData* data, FoundDataState value) {
            if (data->GetState() != value)
                data->SetState(value);
        });
}

QEL_API_REPLAYABLE_CALL(FoundDataGetWasFound, ApiCallQuery);
bool FoundDataGetWasFound(int interaction, int foundData, ResultType* result)
{
    return ReadFoundData(s_FoundDataGetWasFound, interaction, foundData,
                         &FoundData::GetFoundInLastConfigure, result);
}

QEL_API_REPLAYABLE_CALL(FoundDataGetObject, ApiCallQuery);
int FoundDataGetObject(int interaction, int foundData, ResultType* result)
{
    return Call<int>(s_FoundDataGetObject, interaction, result, FoundDataArg(foundData))
        .ReturnsTag("EntityTag")
        .Run([](Interaction*, ResultType& status, FoundData* data) {
            Object* object = data->GetQELObject();
            if (!object)
                status = ResultTypeBadArgument;
            return object ? object->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(FoundDataGetLevel, ApiCallQuery);
int FoundDataGetLevel(int interaction, int foundData, ResultType* result)
{
    return ReadFoundData(s_FoundDataGetLevel, interaction, foundData, &FoundData::GetFoundLevel,
                         result);
}

QEL_API_REPLAYABLE_CALL(FoundDataGetShellData, ApiCallQuery);
void FoundDataGetShellData(int interaction, int foundData, Array<int>& side1Faces,
                           Array<int>& side2Faces, double& thickness, ResultType* result)
{
    Call(s_FoundDataGetShellData, interaction, result, FoundDataArg(foundData),
         TagsOutput(side1Faces, "side1Faces"), TagsOutput(side2Faces, "side2Faces"),
         DoubleOutput(thickness, "thickness"))
        .Run([](Interaction*, ResultType& status, FoundData* data, Array<int>& side1,
                Array<int>& side2, double* wall) {
            if (data->GetFoundDataType() == FoundDataTypeShell) {
                data->GetShellData(side1, side2, *wall);
                return;
            }
            side1.RemoveAll();
            side2.RemoveAll();
            *wall = 0.0;
            status = ResultTypeBadArgument;
        });
}

}  // namespace QEL
