#pragma once
// A persistent rule that configuration applies to a reference.

#include "core/Object.h"

namespace QEL {

class QEL_API Rule : public SerializableObject {
public:
    explicit Rule(Interaction* interaction);
    ~Rule() override;
};

}  // namespace QEL
