// The model answers the core's questions about references.
#include "core/objects/ReferenceQueries.h"

#include "model/references/Reference.h"
#include "model/references/ReferenceCombination.h"

namespace QEL {

namespace {

class ModelReferenceQueries final : public ReferenceQueries {
public:
    int GetEntityTag(Reference* reference) override { return reference->GetEntityTag(); }

    Instance* GetInstance(Reference* reference) override { return reference->GetInstance(); }

    bool IsEntityUsedByNonSimpleFeature(Interaction* interaction, int entity) override
    {
        return Reference::IsEntityUsedByNonSimpleFeature(interaction, entity);
    }

    void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                                std::vector<int>& groups) override
    {
        Reference::FindInteractionReferencesGroupsForBody(interaction, body, groups);
    }

    bool IsSelectableCombination(const std::vector<Reference*>& references,
                                 Reference* added) override
    {
        const ReferenceCombination combination(references, added);
        return combination.IsSingleBody() || combination.IsRigidPartsOnly();
    }

    void InsertInTagOrder(Reference* reference,
                          std::set<Reference*, TaggedEntityPtrLessThan>& references) override
    {
        references.insert(reference);
    }
};

ModelReferenceQueries s_modelReferenceQueries;
[[maybe_unused]] const bool s_modelReferenceQueriesInstalled =
    InstallReferenceQueries(&s_modelReferenceQueries);

}  // namespace

}  // namespace QEL
