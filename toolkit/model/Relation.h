#pragma once
// A geometric relation between references.

#include "core/Object.h"

namespace QEL {

class QEL_API Relation : public SerializableObject {
public:
    explicit Relation(Interaction* interaction);
    ~Relation() override;

    // Puts the new reference wherever the relation used the old one.
    void ReplaceReference(Reference* oldReference, Reference* newReference);
};

}  // namespace QEL
