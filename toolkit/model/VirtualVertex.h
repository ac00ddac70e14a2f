#pragma once
// A point that no kernel vertex carries, found from the references it depends on.

#include "core/Object.h"

namespace QEL {

class QEL_API VirtualVertex : public SerializableObject {
public:
    explicit VirtualVertex(Interaction* interaction);
    ~VirtualVertex() override;
};

}  // namespace QEL
