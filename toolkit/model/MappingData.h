#pragma once
// Pairs of old and new kernel tags that a feature procedure reports.

#include "core/Object.h"

namespace QEL {

class QEL_API MappingData : public Object {
public:
    explicit MappingData(Interaction* interaction);
    ~MappingData() override;
};

}  // namespace QEL
