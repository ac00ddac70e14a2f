#pragma once
// A section of bodies by a plane, kept up to date with the model.

#include "core/Object.h"

namespace QEL {

class QEL_API Section : public SerializableObject {
public:
    explicit Section(Interaction* interaction);
    ~Section() override;
};

}  // namespace QEL
