#include "replay/RecordedRejections.h"

#include "core/journal/FindCallbackReject.h"
#include "core/persist/XMLIO.h"
#include "update/finding/RelationFinder.h"

#include <cstring>
#include <set>

namespace QEL {

namespace {

struct IsRejectRecordLess {
    bool operator()(const FindCallbackRejectRecord& a, const FindCallbackRejectRecord& b) const
    {
        return std::memcmp(&a, &b, sizeof(FindCallbackRejectRecord)) < 0;
    }
};

// Filled and emptied within one replay step.
std::set<FindCallbackRejectRecord, IsRejectRecordLess> s_recordedRejections;

const char* const s_rejectElement = "FindCallbackReject";

}  // namespace

bool AcceptRelationUnlessRejected(int, int level, RelationType type, int fromEntity,
                                  int fromInstance, int toEntity, int toInstance,
                                  int additionalEntity, int additionalInstance)
{
    const FindCallbackRejectRecord record{
        level,      static_cast<int>(type), fromEntity,        fromInstance, toEntity,
        toInstance, additionalEntity,       additionalInstance};
    return s_recordedRejections.count(record) == 0;
}

void ClearRecordedRejections(Interaction* interaction)
{
    RelationFinder* finder = interaction ? RelationFinder::Of(interaction) : nullptr;
    if (finder && finder->GetAcceptRelationCallback() == &AcceptRelationUnlessRejected)
        finder->SetAcceptRelationCallback(nullptr);
    s_recordedRejections.clear();
}

void LoadRecordedRejections(Interaction* interaction, XMLIO& reader)
{
    ClearRecordedRejections(interaction);
    RelationFinder* finder = interaction ? RelationFinder::Of(interaction) : nullptr;
    // An application that installed a callback of its own during the replay answers for itself.
    if (!finder || finder->GetAcceptRelationCallback())
        return;
    const int count = reader.GetChildElementCount(s_rejectElement);
    for (int i = 0; i < count; ++i) {
        FindCallbackRejectRecord record;
        record.relationType = RelationTypeFixed;
        if (FindCallbackRejectRecord::DoIO(record, interaction, reader))
            s_recordedRejections.insert(record);
    }
    if (!s_recordedRejections.empty())
        finder->SetAcceptRelationCallback(&AcceptRelationUnlessRejected);
}

}  // namespace QEL
