#include "core/objects/Entity.h"

namespace QEL {

Entity::~Entity() = default;

bool Entity::CheckValidity(std::vector<TaggedEntity*>&, std::vector<InvalidityType>&)
{
    return true;
}

RollableEntity::~RollableEntity() = default;

bool RollableEntity::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                   std::vector<InvalidityType>& codes)
{
    Entity::CheckValidity(badObjects, codes);
    return badObjects.empty();
}

int RollableEntity::AddRef() { return ++m_refCount; }

int RollableEntity::Release()
{
    const int count = --m_refCount;
    if (count == 0)
        delete this;
    return count;
}

}  // namespace QEL
