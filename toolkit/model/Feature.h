#pragma once
// An application feature: faces of a body that move and are remade together.

#include "core/Object.h"

namespace QEL {

class QEL_API Feature : public SerializableObject {
public:
    explicit Feature(Interaction* interaction);
    ~Feature() override;
};

}  // namespace QEL
