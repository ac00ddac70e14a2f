#pragma once
// What the exported calls that hand out lists of tags share: the optional output array, filled
// from any list of objects or tags, and its journal form.

#include "core/frame/Array.h"
#include "core/journal/JournalArguments.h"

namespace QEL {

// How a listing call treats the caller's array: emptied first, or appended to.
enum class TagListMode { Replace, Append };

// The number of items; when the array is given it gets room for them and their tags (emptied
// first with Replace).
template <typename Range, typename TagOf>
int ListTags(Array<int>* out, TagListMode mode, const Range& items, TagOf tagOf)
{
    const int count = static_cast<int>(items.size());
    if (!out)
        return count;
    if (mode == TagListMode::Replace)
        out->RemoveAll();
    out->Reserve(out->GetSize() + count);
    for (const auto& item : items)
        out->Add(tagOf(item));
    return count;
}

// An optional output array as the journal records it: a null pointer as a null "TagArray*".
inline void WriteJournalTagListOutput(JournalArguments& journal, Array<int>* array,
                                      const char* name)
{
    journal.WriteJournalArgTagArrayPointer(array ? &GetArrayVector(*array) : nullptr, name);
}

}  // namespace QEL
