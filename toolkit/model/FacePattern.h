#pragma once
// A pattern of face occurrences on one body; the circular, rectangular and user-defined
// patterns derive from it and give it their object type.

#include "core/Object.h"

namespace QEL {

class QEL_API FacePattern : public SerializableObject {
public:
    FacePattern(Interaction* interaction, ObjectType type);
    ~FacePattern() override;
};

}  // namespace QEL
