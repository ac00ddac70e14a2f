#pragma once
// The root of the toolkit's object tree and its reference-counted, snapshot-able layer.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

#include <vector>

namespace QEL {

class TaggedEntity;

class QEL_API Entity {
public:
    Entity() = default;
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;
    virtual ~Entity();

    // Appends one offender and one code per finding. Below the root: true when badObjects is
    // empty afterwards, so offenders an earlier call left there also give false.
    virtual bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                               std::vector<InvalidityType>& codes);
};

// An object that rollback can snapshot and restore, kept alive by an intrusive count so that
// a rollback action can hold a deleted object until no mark needs it.
class QEL_API RollableEntity : public Entity {
public:
    RollableEntity() = default;
    ~RollableEntity() override;

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // A detached copy of this object's state.
    virtual RollableEntity* Clone() = 0;
    // Takes back the state of a snapshot made by Clone.
    virtual void Restore(RollableEntity* snapshot) = 0;
    virtual void CopyTo(RollableEntity* destination) = 0;
    virtual void CopyFrom(RollableEntity* source) = 0;

    // The new count.
    int AddRef();
    // The count after the decrement; at 0 the object deletes itself.
    int Release();
    int GetRefCount() const { return m_refCount; }

private:
    int m_refCount = 0;
};

}  // namespace QEL
