#pragma once
// A persistent finding of configuration: a relation or a shell it found.

#include "core/Object.h"

namespace QEL {

class QEL_API FoundData : public SerializableObject {
public:
    explicit FoundData(Interaction* interaction);
    ~FoundData() override;
};

}  // namespace QEL
