#pragma once
// What the core asks of a reference, whose class the model defines: the key it is filed under
// in its interaction, and the questions the interaction's selection and the argument checks
// put about references. The model installs the answers while the library loads; a reference
// exists only once it has, so the answers for "none" below are never a live reference's.

#include "core/objects/EntityComparison.h"
#include "core/support/InstalledSeam.h"

#include <set>
#include <vector>

namespace QEL {

class Instance;
class Interaction;
class Reference;

class ReferenceQueries {
public:
    virtual ~ReferenceQueries() = default;
    virtual int GetEntityTag(Reference* reference) = 0;
    virtual Instance* GetInstance(Reference* reference) = 0;
    virtual bool IsEntityUsedByNonSimpleFeature(Interaction* interaction, int entity) = 0;
    virtual void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                                        std::vector<int>& groups) = 0;
    virtual bool IsSelectableCombination(const std::vector<Reference*>& references,
                                         Reference* added) = 0;
    virtual void InsertInTagOrder(Reference* reference,
                                  std::set<Reference*, TaggedEntityPtrLessThan>& references) = 0;
};

// Installed by the model while the library loads; always true.
inline bool InstallReferenceQueries(ReferenceQueries* queries)
{
    return InstalledSeam<ReferenceQueries>::Install(queries);
}

// The key a reference is filed under in its interaction: its kernel entity and its instance
// (0 and null for null).
int GetReferenceEntityTag(Reference* reference);
Instance* GetReferenceInstance(Reference* reference);
// Whether a procedural feature's procedure rebuilds the entity.
bool IsReferenceEntityUsedByNonSimpleFeature(Interaction* interaction, int entity);
// The kernel groups that hold the interaction's references on the body.
void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                            std::vector<int>& groups);
// Whether the references with one more after them may be worked on together: all on one bare
// body as modelling references, or none on a bare body with an instance or free geometry among
// them. Both the selection and the rotation axis against it answer to this.
bool IsSelectableReferenceCombination(const std::vector<Reference*>& references, Reference* added);

}  // namespace QEL
