#include "api/model/QelMappingDataApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/transaction/MappingData.h"

namespace QEL {
namespace {

// A new tag of 0 records an old entity that went.
ResultType CheckArgNewTag(int tag)
{
    return tag != 0 ? CheckArgKernelEntityTag(tag) : ResultTypeOk;
}

// A tag handed back through a pointer that may be null: journalled after the call as the entity
// tag it received, or as null when there was no place or nothing was written to it, so that a
// replay hands a place exactly where the application did and compares what lands there.
struct EntityTagOutputArg : ApiArgument {
    int* place;
    const bool* written;

    void JournalOutput(JournalArguments& journal) const
    {
        if (place && *written)
            journal.WriteJournalArgEntityTag(*place, name);
        else
            journal.WriteJournalArgNull(name, "EntityTag");
    }
    int* Get(Interaction*) const { return place; }
};

}  // namespace

// The class walks to an entry from the first one, so a negative index would name the first
// entry; through the exported calls it names none and is refused.

QEL_API_REPLAYABLE_CALL(MappingDataAddEntry, 0);
void MappingDataAddEntry(int interaction, int mappingDataTag, int oldTag, int newTag,
                         ResultType* result)
{
    Call(s_MappingDataAddEntry, interaction, result,
         MappingDataArg(mappingDataTag, "mappingDataTag"), EntityArg(oldTag, "oldTag", nullptr),
         EntityArg(newTag, "newTag", CheckArgNewTag))
        .Run([](Interaction*, ResultType&, MappingData* data, int from, int to) {
            data->AddEntry(from, to);
        });
}

QEL_API_REPLAYABLE_CALL(MappingDataGetEntryCount, ApiCallQuery);
int MappingDataGetEntryCount(int interaction, int mappingDataTag, ResultType* result)
{
    return Call<int>(s_MappingDataGetEntryCount, interaction, result,
                     MappingDataArg(mappingDataTag, "mappingDataTag"))
        .Run([](Interaction*, ResultType&, MappingData* data) { return data->GetEntryCount(); });
}

QEL_API_REPLAYABLE_CALL(MappingDataGetEntry, ApiCallQuery);
void MappingDataGetEntry(int interaction, int mappingDataTag, int index, int* pOldTag, int* pNewTag,
                         ResultType* result)
{
    bool written = false;
    Call(s_MappingDataGetEntry, interaction, result,
         MappingDataArg(mappingDataTag, "mappingDataTag"), IndexArg(index, "index"),
         EntityTagOutputArg{{"pOldTag"}, pOldTag, &written},
         EntityTagOutputArg{{"pNewTag"}, pNewTag, &written})
        .Run([&](Interaction*, ResultType&, MappingData* data, int at, int* oldTag, int* newTag) {
            written = at >= 0 && at < data->GetEntryCount();
            data->GetEntry(at, oldTag, newTag);
        });
}

QEL_API_REPLAYABLE_CALL(MappingDataRemoveEntry, 0);
void MappingDataRemoveEntry(int interaction, int mappingDataTag, int index, ResultType* result)
{
    Call(s_MappingDataRemoveEntry, interaction, result,
         MappingDataArg(mappingDataTag, "mappingDataTag"), IndexArg(index, "index"))
        .Run([](Interaction*, ResultType&, MappingData* data, int at) { data->RemoveEntry(at); });
}

}  // namespace QEL
