#pragma once
// A persistent finding of configuration: a relation or a shell it found.

#include "core/Object.h"

namespace QEL {

class QEL_API FoundData : public SerializableObject {
public:
    explicit FoundData(Interaction* interaction);
    ~FoundData() override;

    void CopyTo(RollableEntity* destination) override;
    void CopyFrom(RollableEntity* source) override;

    // The object found: the relation of a relation record; null for a shell record and after
    // the relation has gone.
    Object* GetQELObject() const { return m_object; }
    // Drops the object, recorded for rollback; nothing when there is none.
    void ClearQELObject();

protected:
    Object* m_object = nullptr;
};

}  // namespace QEL
