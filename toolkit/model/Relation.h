#pragma once
// A geometric relation between references.

#include "core/Object.h"

namespace QEL {

class QEL_API Relation : public SerializableObject {
public:
    explicit Relation(Interaction* interaction);
    ~Relation() override;
};

}  // namespace QEL
