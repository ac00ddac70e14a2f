#pragma once
// An application feature: faces of a body that move and are remade together.

#include "core/Object.h"

#include <vector>

namespace QEL {

class QEL_API Feature : public SerializableObject {
public:
    explicit Feature(Interaction* interaction);
    ~Feature() override;
};

// A behaviour set on the reference's entity goes one feature step further: to the references of
// the features that list the entity (among their references, else their profile references)
// that lie on the same body.
void SpreadBehaviourThroughFeatures(Reference* reference, const std::vector<Feature*>& features,
                                    ReferenceBehaviour behaviour);

}  // namespace QEL
