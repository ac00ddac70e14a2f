// The interaction's own validity check, with the check of its contents that the model installed.
#include "core/objects/InteractionContentsCheck.h"

#include "core/objects/Interaction.h"

namespace QEL {

bool Interaction::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                std::vector<InvalidityType>& codes)
{
    const size_t before = badObjects.size();
    TaggedEntity::CheckValidity(badObjects, codes);
    if (InteractionContentsCheck* check = InstalledSeam<InteractionContentsCheck>::Get())
        check->Check(*this, badObjects, codes);
    return badObjects.size() == before;
}

}  // namespace QEL
