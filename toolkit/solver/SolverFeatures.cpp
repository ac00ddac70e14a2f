// Features in the Solver: one procedural object per feature added, and which entities a
// feature drives.
#include "solver/Solver.h"

#include "core/objects/Interaction.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/Feature.h"
#include "model/features/InteractionFeatures.h"
#include "model/references/Reference.h"
#include "solver/SolverFeature.h"

namespace QEL {

void Solver::AddFeature(Feature* feature)
{
    if (!feature)
        return;
    const FeatureType type = feature->GetFeatureType();
    if (type < FeatureTypeSimple || type > FeatureTypeComplexRecreate ||
        (feature->GetReferenceCount() == 0 && feature->GetProfileReferenceCount() == 0))
        return;
    SolverFeature* solverFeature = SolverFeature::CreateSolverFeature(this, feature);
    solverFeature->AddToZMR();
    m_features.insert(solverFeature);
    if (feature->IsTreatedAsSimple())
        return;
    for (Reference* reference : feature->GetReferences()) {
        solverFeature->AddReference(reference);
        m_proceduralFeatureEntities.insert(reference->GetEntityTag());
    }
    for (Reference* reference : feature->GetProfileReferences()) {
        solverFeature->AddProfileReference(reference);
        m_proceduralFeatureEntities.insert(reference->GetEntityTag());
    }
    if (type == FeatureTypeComplexRecreate)
        for (Reference* reference : feature->GetDependents()) {
            solverFeature->AddDependent(reference);
            m_proceduralFeatureEntities.insert(reference->GetEntityTag());
        }
}

void Solver::AddProceduralFeature(Feature* feature)
{
    if (feature && feature->IsTreatedAsSimple())
        AddFeature(feature);
}

void Solver::DefineFeatureData(const std::vector<Feature*>& features)
{
    for (Feature* feature : features)
        if (!(GetNewPFAlgorithm() && feature &&
              feature->GetFeatureType() == FeatureTypeSimpleRecreate))
            AddFeature(feature);
}

SolverFeature* Solver::FindSolverFeature(Feature* feature) const
{
    for (SolverFeature* solverFeature : m_features)
        if (solverFeature->GetFeature() == feature)
            return solverFeature;
    return nullptr;
}

bool Solver::IsFeatureProfileOrParent(Interaction* interaction, int entity)
{
    return interaction && (IsUsedByFeatureProfileReference(*interaction, entity) ||
                           IsUsedByFeatureParentReference(*interaction, entity));
}

bool Solver::HasNonSimpleFeatureOnEntity(Interaction* interaction, int entity)
{
    return Reference::IsEntityUsedByNonSimpleFeature(interaction, entity);
}

}  // namespace QEL
