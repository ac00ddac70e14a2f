// The check of what an interaction holds: every pointer its containers hold, and the kernel
// attributes that tie references to their groups.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/InteractionContentsCheck.h"
#include "model/features/Feature.h"
#include "model/patterns/FacePattern.h"
#include "model/patterns/Section.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"

#include <brennik.h>

namespace QEL {

namespace {

// Each element must be a known object of the container's class; then its own check runs.
// Anything else is a broken pointer of the interaction.
template <typename T, typename Container>
void CheckContainer(Interaction* interaction, const Container& container,
                    std::vector<TaggedEntity*>& badObjects, std::vector<InvalidityType>& codes)
{
    for (T* element : container) {
        TaggedEntity* entity = element && interaction->IsKnownObject(element)
                                   ? static_cast<TaggedEntity*>(element)
                                   : nullptr;
        if (entity && dynamic_cast<T*>(entity)) {
            entity->CheckValidity(badObjects, codes);
        } else {
            badObjects.push_back(interaction);
            codes.push_back(InvalidityTypeBadPointer);
        }
    }
}

void CheckInteractionContents(Interaction* interaction, std::vector<TaggedEntity*>& badObjects,
                              std::vector<InvalidityType>& codes)
{
    CheckContainer<Instance>(interaction, interaction->GetInstances(), badObjects, codes);
    std::set<Reference*, TaggedEntityPtrLessThan> references;
    interaction->GetAllReferences(references);
    CheckContainer<Reference>(interaction, references, badObjects, codes);
    CheckContainer<Relation>(interaction, interaction->GetRelations(), badObjects, codes);
    CheckContainer<Feature>(interaction, interaction->GetFeatures(), badObjects, codes);

    // Each reference attribute on a body belongs to exactly one reference, and no group
    // carries two of them.
    std::vector<int> bodies;
    interaction->GetSeenBodies(bodies, false);
    // Found, never made: a check changes nothing, and without the definition there is no
    // reference attribute to look at.
    int definition = 0;
    if (BQ_ATTDEF_find(Reference::GetReferenceAttDefName(), &definition) != BQ_ERROR_no_errors)
        definition = 0;
    for (int body : definition ? bodies : std::vector<int>()) {
        std::vector<int> attributes;
        GetPartAttributes(body, definition, &attributes);
        for (int attribute : attributes) {
            int owners = 0;
            for (Reference* reference : references)
                if (reference && reference->GetAttribute() == attribute)
                    ++owners;
            if (owners != 1) {
                badObjects.push_back(interaction);
                codes.push_back(InvalidityTypeBadAttribute);
            }
        }
        KernelArray<int> groups;
        if (BQ_PART_ask_groups(body, groups.Count(), groups.Slot()) != BQ_ERROR_no_errors)
            continue;
        std::vector<int> groupList;
        groups.AppendTo(groupList);
        for (int group : groupList) {
            std::vector<int> onGroup;
            GetEntityAttributes(group, definition, &onGroup);
            if (onGroup.size() >= 2) {
                badObjects.push_back(interaction);
                codes.push_back(InvalidityTypeBadGroup);
            }
        }
    }

    CheckContainer<FacePattern>(interaction, interaction->GetFacePatterns(), badObjects, codes);
    CheckContainer<Section>(interaction, interaction->GetSections(), badObjects, codes);
    CheckContainer<VirtualVertex>(interaction, interaction->GetVirtualVertices(), badObjects,
                                  codes);
}

class ModelInteractionContentsCheck final : public InteractionContentsCheck {
public:
    void Check(Interaction& interaction, std::vector<TaggedEntity*>& badObjects,
               std::vector<InvalidityType>& codes) override
    {
        CheckInteractionContents(&interaction, badObjects, codes);
    }
};

ModelInteractionContentsCheck s_modelInteractionContentsCheck;
[[maybe_unused]] const bool s_modelInteractionContentsCheckInstalled =
    InstallInteractionContentsCheck(&s_modelInteractionContentsCheck);

}  // namespace

}  // namespace QEL
