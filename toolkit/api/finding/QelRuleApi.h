#pragma once
// Exported calls on rules: how a referenced face may move during an edit. The application
// makes its own, lists a reference's rules, reads what the last configure found and applied,
// and relaxes or re-applies a rule.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// direction: three doubles, or null for none. The reference's rule of the type whose
// direction coincides is returned as it is (a relaxed one stays relaxed); otherwise a new,
// application-defined rule in state Apply.
QEL_API int CreateRule(int interaction, RuleType ruleType, int reference, double* direction,
                       ResultType* result);
// A state outside the enumeration is refused.
QEL_API void RuleSetState(int interaction, int rule, RuleState state, ResultType* result);
QEL_API RuleState RuleGetState(int interaction, int rule, ResultType* result);
QEL_API RuleType RuleGetType(int interaction, int rule, ResultType* result);
// A rule whose reference is gone: ResultTypeBadArgument and 0.
QEL_API int RuleGetReference(int interaction, int rule, ResultType* result);
// direction: room for three doubles; null is refused.
QEL_API void RuleGetTranslateDirection(int interaction, int rule, double* direction,
                                       ResultType* result);
QEL_API bool RuleGetWasFound(int interaction, int rule, ResultType* result);
// Both found and applied in the last configure.
QEL_API bool RuleGetWasApplied(int interaction, int rule, ResultType* result);
// Empties rules, then appends the tags of the reference's rules in the order they came.
QEL_API void ReferenceGetRules(int interaction, int reference, Array<int>& rules,
                               ResultType* result);

}  // namespace QEL
