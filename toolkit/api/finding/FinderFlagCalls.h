#pragma once
// The call shapes shared by the exported calls that set and read a switch of the interaction's
// relation finder (the finding options and the configure locks).

#include "core/frame/ApiArguments.h"
#include "core/objects/Interaction.h"
#include "update/finding/RelationFinder.h"

namespace QEL {

// The interaction's finder; Fail when the layer that finds relations keeps none.
inline RelationFinder* FinderOf(Interaction* interaction, ResultType& status)
{
    RelationFinder* finder = RelationFinder::Of(interaction);
    if (!finder)
        status = ResultTypeFail;
    return finder;
}

// A flag of the finder, set (recorded for rollback on every call, the same value too).
inline void SetFinderFlag(const ApiCallProperties& call, int interaction, bool value,
                          const char* name, void (RelationFinder::*setter)(bool),
                          ResultType* result)
{
    Call(call, interaction, result, BoolArg(value, name))
        .Run([setter](Interaction* target, ResultType& status, bool on) {
            if (RelationFinder* finder = FinderOf(target, status))
                (finder->*setter)(on);
        });
}

// A flag of the finder, read.
inline bool GetFinderFlag(const ApiCallProperties& call, int interaction,
                          bool (RelationFinder::*getter)() const, ResultType* result)
{
    return Call<bool>(call, interaction, result)
        .Run([getter](Interaction* target, ResultType& status) {
            RelationFinder* finder = FinderOf(target, status);
            return finder ? (finder->*getter)() : false;
        });
}

}  // namespace QEL
