#include "update/records/ReferenceRules.h"

#include "model/references/Reference.h"
#include "update/records/Rule.h"

namespace QEL {

void GetReferenceRules(const Reference* reference, std::vector<Rule*>& out)
{
    if (!reference)
        return;
    std::vector<Object*> dependents;
    reference->GetDependents(dependents);
    for (Object* dependent : dependents)
        if (Rule* rule = dynamic_cast<Rule*>(dependent))
            out.push_back(rule);
}

int GetReferenceRuleCount(const Reference* reference)
{
    std::vector<Rule*> rules;
    GetReferenceRules(reference, rules);
    return static_cast<int>(rules.size());
}

}  // namespace QEL
