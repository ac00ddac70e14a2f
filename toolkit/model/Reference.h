#pragma once
// A persistent handle on one kernel entity of an interaction, seen through an instance or not.
// The core files references by their (entity, instance) key.

#include "core/Object.h"

namespace QEL {

class QEL_API Reference : public SerializableObject {
public:
    Reference(Interaction* interaction, int entity, Instance* instance);
    ~Reference() override;

    int GetEntityTag() const { return m_entity; }
    Instance* GetInstance() const { return m_instance; }

protected:
    int m_entity;
    Instance* m_instance;
};

}  // namespace QEL
