#pragma once
// The kernel attribute that ties a reference's group to its reference: the name of its
// definition, which the interaction finds or makes once, and its one pointer field.

namespace QEL {

inline constexpr const char* s_referenceAttDefName = "ORV/QEL_REF_DEV";
inline constexpr const char* s_referencePointerFieldName = "QELObject";

}  // namespace QEL
