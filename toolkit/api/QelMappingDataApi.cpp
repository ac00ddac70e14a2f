#include "api/QelMappingDataApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/transaction/MappingData.h"

namespace QEL {
namespace {

// The mapping data a call works on. Its checks are the application's only guard, so the
// mapping data must exist whether or not the interaction asks for checks.
ResultType RequireMappingData(Interaction* interaction, int mappingDataTag)
{
    return CheckArgMappingDataTag(mappingDataTag, interaction);
}

// The class walks to an entry from the first one, so a negative index would name the first
// entry; through the exported calls it names none and is refused.
ResultType RequireIndex(int index) { return index < 0 ? ResultTypeBadArgument : ResultTypeOk; }

}  // namespace

QEL_API_REPLAYABLE_CALL(MappingDataAddEntry, 0);
void MappingDataAddEntry(int interaction, int mappingDataTag, int oldTag, int newTag, ResultType* result)
{
    ApiCall<>(s_MappingDataAddEntry, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgMappingDataTag(mappingDataTag, "mappingDataTag");
            journal.WriteJournalArgEntityTag(oldTag, "oldTag");
            journal.WriteJournalArgEntityTag(newTag, "newTag");
        })
        .Requires([&](Interaction* target) { return RequireMappingData(target, mappingDataTag); })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgMappingDataTag(mappingDataTag, target),
                                 newTag != 0 ? CheckArgKernelEntityTag(newTag) : ResultTypeOk});
        })
        .Run([&](Interaction* target, ResultType&) {
            target->FindMappingDataFromTag(mappingDataTag)->AddEntry(oldTag, newTag);
        });
}

QEL_API_REPLAYABLE_CALL(MappingDataGetEntryCount, ApiCallQuery);
int MappingDataGetEntryCount(int interaction, int mappingDataTag, ResultType* result)
{
    return ApiCall<int>(s_MappingDataGetEntryCount, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgMappingDataTag(mappingDataTag, "mappingDataTag");
        })
        .Requires([&](Interaction* target) { return RequireMappingData(target, mappingDataTag); })
        .Checks([&](Interaction* target) { return CheckArgMappingDataTag(mappingDataTag, target); })
        .Run([&](Interaction* target, ResultType&) {
            return target->FindMappingDataFromTag(mappingDataTag)->GetEntryCount();
        });
}

QEL_API_REPLAYABLE_CALL(MappingDataGetEntry, ApiCallQuery);
void MappingDataGetEntry(int interaction, int mappingDataTag, int index, int* pOldTag, int* pNewTag,
                         ResultType* result)
{
    ApiCall<>(s_MappingDataGetEntry, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgMappingDataTag(mappingDataTag, "mappingDataTag");
            journal.WriteJournalArgInt(index, "index");
            journal.WriteJournalArgPointer(pOldTag, "pOldTag");
            journal.WriteJournalArgPointer(pNewTag, "pNewTag");
        })
        .Requires([&](Interaction* target) {
            return FirstFailure({RequireMappingData(target, mappingDataTag), RequireIndex(index)});
        })
        .Checks([&](Interaction* target) { return CheckArgMappingDataTag(mappingDataTag, target); })
        .Run([&](Interaction* target, ResultType&) {
            target->FindMappingDataFromTag(mappingDataTag)->GetEntry(index, pOldTag, pNewTag);
        });
}

QEL_API_REPLAYABLE_CALL(MappingDataRemoveEntry, 0);
void MappingDataRemoveEntry(int interaction, int mappingDataTag, int index, ResultType* result)
{
    ApiCall<>(s_MappingDataRemoveEntry, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgMappingDataTag(mappingDataTag, "mappingDataTag");
            journal.WriteJournalArgInt(index, "index");
        })
        .Requires([&](Interaction* target) {
            return FirstFailure({RequireMappingData(target, mappingDataTag), RequireIndex(index)});
        })
        .Checks([&](Interaction* target) { return CheckArgMappingDataTag(mappingDataTag, target); })
        .Run([&](Interaction* target, ResultType&) {
            target->FindMappingDataFromTag(mappingDataTag)->RemoveEntry(index);
        });
}

}  // namespace QEL
