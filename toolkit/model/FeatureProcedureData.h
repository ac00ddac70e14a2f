#pragma once
// The record a feature procedure receives by tag and fills in.

#include "core/Object.h"

namespace QEL {

class QEL_API FeatureProcedureData : public Object {
public:
    explicit FeatureProcedureData(Interaction* interaction);
    ~FeatureProcedureData() override;
};

}  // namespace QEL
