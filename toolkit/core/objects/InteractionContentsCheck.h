#pragma once
// The check of what an interaction holds: every pointer of its containers and the kernel
// attributes that tie references to their groups. The objects are the model's, so the model
// installs the check while the library loads; the interaction's own check reaches it only
// through here, and without it checks itself alone.

#include "core/enums/Enums.h"
#include "core/support/InstalledSeam.h"

#include <vector>

namespace QEL {

class Interaction;
class TaggedEntity;

class InteractionContentsCheck {
public:
    virtual ~InteractionContentsCheck() = default;
    // Reports each broken pointer, object or attribute with its code.
    virtual void Check(Interaction& interaction, std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) = 0;
};

// Installed by the model while the library loads; always true.
inline bool InstallInteractionContentsCheck(InteractionContentsCheck* check)
{
    return InstalledSeam<InteractionContentsCheck>::Install(check);
}

}  // namespace QEL
