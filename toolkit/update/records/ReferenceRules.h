#pragma once
// The rules held on a reference: the reference keeps them among its dependents without knowing
// their class, which this layer defines.

#include <vector>

namespace QEL {

class Reference;
class Rule;

// The reference's rules in the order they came; nothing for null.
void GetReferenceRules(const Reference* reference, std::vector<Rule*>& out);
int GetReferenceRuleCount(const Reference* reference);

}  // namespace QEL
