// Finding geometric relations level by level: each level offers the manager the combinations
// its options allow, filters what the manager reports by the toolkit's own rules, asks the
// application, and follows tangent chains; the entities reached become the next level's vary
// set. At the end the accepted candidates are matched with existing relations or made.
#include "update/finding/RelationFinder.h"

#include "core/journal/FindCallbackReject.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"
#include "update/autoconstraint/YSKManager.h"
#include "update/finding/RelationCandidate.h"
#include "update/finding/RelationFinderContext.h"
#include "update/pass/UpdateManager.h"

#include <cmath>

namespace QEL {

namespace {

YSKManager* ManagerOf(Interaction* interaction)
{
    UpdateManager* update = interaction ? interaction->GetUpdateManager() : nullptr;
    return update ? update->GetYSKManager() : nullptr;
}

int TagOf(Instance* instance) { return instance ? instance->GetTag() : 0; }

bool IsBlendFace(Interaction* interaction, int face, double* radius = nullptr)
{
    return IdentifyBlendFace(face, interaction->GetModellingTolerance(),
                             interaction->GetIncludeMutuallyDependentBlends(), radius);
}

// Whether a solver operation is set on the interaction: a find would end its update.
bool IsOperationSet(Interaction* interaction)
{
    return interaction->GetCurrentSolverOperation() != nullptr;
}

bool IsInSet(const FinderInputKeySet& set, int entity, Instance* instance)
{
    return set.count({entity, instance}) != 0;
}

}  // namespace

bool RelationFinder::Accept(RelationCandidate& candidate) const
{
    if (candidate.IsAccepted())
        return true;
    const bool accepted =
        AskAccept(candidate.GetLevel(), candidate.GetType(), candidate.GetEntity(0),
                  candidate.GetInstance(0), candidate.GetEntity(1), candidate.GetInstance(1),
                  candidate.GetEntity(2), candidate.GetInstance(2));
    candidate.SetAccepted(accepted);
    return accepted;
}

bool RelationFinder::AskAccept(int level, RelationType type, int entity1, Instance* instance1,
                               int entity2, Instance* instance2, int entity3,
                               Instance* instance3) const
{
    if (!m_acceptCallback || !m_interaction)
        return true;
    const bool accepted =
        m_acceptCallback(m_interaction->GetTag(), level, type, entity1, TagOf(instance1), entity2,
                         TagOf(instance2), entity3, TagOf(instance3));
    // A rejection is what replay must give back: it goes into the running call's record.
    if (!accepted && IsJournalOpen() && GetJournalWriter()) {
        FindCallbackRejectRecord record{level,   static_cast<int>(type), entity1, TagOf(instance1),
                                        entity2, TagOf(instance2),       entity3, TagOf(instance3)};
        FindCallbackRejectRecord::DoIO(record, m_interaction, *GetJournalWriter());
    }
    return accepted;
}

bool RelationFinder::SetOfferedOptions(RelationFinderContext& context, OptionPass pass)
{
    YSKManager* manager = ManagerOf(context.GetInteraction());
    if (!manager)
        return false;
    const int level = context.GetLevel();
    bool any = false;
    for (int relation = 0; relation < s_relationTypeCount; ++relation) {
        bool typeFits = true;
        switch (pass) {
            case OptionPass::Configure:
                typeFits = relation != FindRelationTypeTangentAtEdge;
                break;
            case OptionPass::TangentSymmetry:
                typeFits = relation == FindRelationTypeTangent ||
                           relation == FindRelationTypeTangentAtEdge ||
                           relation == FindRelationTypeSymmetric;
                break;
            case OptionPass::TangentAtEdge:
                typeFits = relation == FindRelationTypeTangentAtEdge;
                break;
            case OptionPass::BlendCheck:
                typeFits = relation != FindRelationTypeTangent &&
                           relation != FindRelationTypeTangentAtEdge &&
                           relation != FindRelationTypeSimilar;
                break;
            case OptionPass::Standard:
                break;
        }
        for (int from = 0; from < s_geometryTypeCount; ++from)
            for (int to = 0; to < s_geometryTypeCount; ++to) {
                const int entry = m_options[relation][from][to];
                if (entry == -1)
                    continue;
                const bool offered = typeFits && entry >= level;
                manager->SetFindOption(static_cast<FindRelationType>(relation),
                                       static_cast<FindGeometryType>(from),
                                       static_cast<FindGeometryType>(to), offered);
                any = any || offered;
            }
    }
    return any;
}

int RelationFinder::RunStandardPass(RelationFinderContext& context, RelationCandidateList& list)
{
    YSKManager* manager = ManagerOf(context.GetInteraction());
    if (!manager)
        return ResultTypeFail;
    context.GetFindOptions().SetPass(0);
    RelationFinderInputData environment = context.GetEnvironment();
    environment.RemoveBodyLevelDuplicates();
    context.GetVary().RemoveBodyLevelDuplicates();
    return manager->FindRelationships(context.GetVary().GetData(), environment.GetData(),
                                      context.GetThird().GetData(), context.GetFindOptions().Get(),
                                      context.GetLevel(), &list);
}

int RelationFinder::RunTangentAndSymmetryPass(RelationFinderContext& context,
                                              RelationCandidateList& list)
{
    YSKManager* manager = ManagerOf(context.GetInteraction());
    if (!manager)
        return ResultTypeFail;
    context.GetFindOptions().SetPass(1);
    RelationFinderInputData from =
        context.GetNextVary().IsEmpty() ? context.GetVary() : context.GetNextVary();
    from.RemoveBodyLevelDuplicates();
    return manager->FindRelationships(from.GetData(), context.GetEnvironment().GetData(),
                                      context.GetThird().GetData(), context.GetFindOptions().Get(),
                                      context.GetLevel(), &list);
}

bool RelationFinder::IsShellPartnerTangentKnown(const RelationCandidate& candidate,
                                                RelationCandidateList& level,
                                                RelationFinderContext& context) const
{
    if (!candidate.IsTangentOfAdjacentFaces())
        return false;
    int partners[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        std::vector<int> side, partner;
        if (!FindShellCluster(candidate.GetEntity(i), &side, &partner, nullptr) ||
            side.size() != 1 || partner.size() != 1)
            return false;
        partners[i] = partner.front();
    }
    const RelationCandidate tangent(m_interaction, 0, RelationTypeTangent, nullptr, partners[0],
                                    nullptr, partners[1]);
    size_t position = 0;
    if (level.Find(tangent, &position) && level[position].IsAccepted())
        return true;
    return context.GetCandidates().Find(tangent, &position) &&
           context.GetCandidates()[position].IsAccepted();
}

bool RelationFinder::IsBlendToSkip(int entity, RelationCandidateList& level,
                                   RelationCandidateList* further, RelationFinderContext& context)
{
    if (!IsFace(entity))
        return false;
    const int classCode = GetGeometryClassOfTopology(entity);
    if (classCode == KernelClassPlane || classCode == KernelClassCone || classCode == 4011)
        return false;
    if (classCode != KernelClassCylinder)
        return IsBlendFace(m_interaction, entity);
    if (level.ContainsEntity(entity) || context.GetCandidates().ContainsEntity(entity) ||
        (further && further->ContainsEntity(entity)))
        return false;
    double radius = 0.0;
    if (!IsBlendFace(m_interaction, entity, &radius))
        return false;
    if (!SetOfferedOptions(context, OptionPass::BlendCheck))
        return true;
    // The face's own relations tell whether it is a blend among blends or a feature face that
    // happens to look like one.
    RelationFinderContext alone(context, false);
    alone.GetVary().AddEntry(nullptr, entity);
    RelationCandidateList found(m_interaction);
    if (RunStandardPass(alone, found) != ResultTypeOk)
        return true;
    for (const RelationCandidate& candidate : found.GetCandidates()) {
        if (candidate.IsShellPartnerPair())
            continue;
        const int other = candidate.GetEntity(1);
        if (!IsBlendFace(m_interaction, other))
            return false;
        double otherRadius = 0.0;
        if (candidate.GetType() != RelationTypeConcentric ||
            GetStandardGeometry(other, nullptr, nullptr, nullptr, nullptr, &otherRadius, nullptr,
                                nullptr) != KernelClassCylinder ||
            std::fabs(otherRadius - radius) <= s_linearTolerance)
            continue;
        std::vector<int> partners;
        if (!FindShellCluster(other, nullptr, &partners, nullptr))
            return false;
        double partnerRadius = 0.0;
        if (partners.size() == 1 && IsBlendFace(m_interaction, partners.front(), &partnerRadius) &&
            std::fabs(partnerRadius - radius) > s_linearTolerance)
            return false;
    }
    return true;
}

int RelationFinder::CheckStandardCandidates(RelationFinderContext& context,
                                            RelationCandidateList& list)
{
    list.RemoveDuplicates();
    FinderInputKeySet similar, parallel, concentric, coPlanar;
    const FinderInputKeySet& fixed = context.GetFixedKeys();
    for (size_t i = 0; i < list.GetCount(); ++i) {
        // The checks below may run passes into other lists, never into this one: the
        // reference stays valid.
        RelationCandidate& candidate = list[i];
        const int entity1 = candidate.GetEntity(0), entity2 = candidate.GetEntity(1);
        Instance* instance1 = candidate.GetInstance(0);
        Instance* instance2 = candidate.GetInstance(1);
        if (context.GetCandidates().Find(candidate, nullptr) ||
            IsInSet(fixed, entity1, instance1) || candidate.IsShellPartnerPair() ||
            IsShellPartnerTangentKnown(candidate, list, context))
            continue;
        bool known = false;
        switch (candidate.GetType()) {
            case RelationTypeCoPlanar:
                known = IsInSet(context.GetCoPlanarSet(), entity2, instance2);
                [[fallthrough]];
            case RelationTypeConcentric:
                known = known || IsInSet(context.GetConcentricSet(), entity2, instance2);
                [[fallthrough]];
            case RelationTypeParallel:
                known = known || IsInSet(context.GetParallelSet(), entity2, instance2);
                [[fallthrough]];
            case RelationTypeSimilar:
                known = known || IsInSet(context.GetSimilarSet(), entity2, instance2);
                break;
            default:
                break;
        }
        if (known)
            continue;
        if (IsBlendToSkip(entity2, list, nullptr, context)) {
            const FinderInputKeySet leftOut = context.GetThird().GetKeys();
            context.GetThird().AddEntryWithInstancesOf(entity2, context.GetEnvironment(), leftOut);
            continue;
        }
        if (Accept(candidate)) {
            const FinderInputKeySet leftOut = context.GetThird().GetKeys();
            context.GetNextVary().AddEntryWithInstancesOf(entity2, context.GetEnvironment(),
                                                          leftOut);
            if (const int entity3 = candidate.GetEntity(2))
                context.GetNextVary().AddEntryWithInstancesOf(entity3, context.GetEnvironment(),
                                                              leftOut);
        }
        FinderInputKeySet* collection = nullptr;
        switch (candidate.GetType()) {
            case RelationTypeSimilar:
                collection = &similar;
                break;
            case RelationTypeParallel:
                collection = &parallel;
                break;
            case RelationTypeConcentric:
                collection = &concentric;
                break;
            case RelationTypeCoPlanar:
                if (GetGeometryClassOfTopology(entity1) == KernelClassPlane &&
                    GetGeometryClassOfTopology(entity2) == KernelClassPlane)
                    collection = &coPlanar;
                break;
            default:
                break;
        }
        if (collection) {
            collection->insert({entity1, instance1});
            collection->insert({entity2, instance2});
        }
    }
    // The sets rule out weaker relations from the next level on.
    context.GetSimilarSet().insert(similar.begin(), similar.end());
    context.GetParallelSet().insert(parallel.begin(), parallel.end());
    context.GetConcentricSet().insert(concentric.begin(), concentric.end());
    context.GetCoPlanarSet().insert(coPlanar.begin(), coPlanar.end());
    return 0;
}

int RelationFinder::CheckTangentCandidates(RelationFinderContext& context,
                                           RelationCandidateList& list, size_t first)
{
    list.RemoveDuplicates();
    const FinderInputKeySet& fixed = context.GetFixedKeys();
    for (size_t i = first; i < list.GetCount(); ++i) {
        RelationCandidate& candidate = list[i];
        if (context.GetCandidates().Find(candidate, nullptr))
            continue;
        if (IsInSet(fixed, candidate.GetEntity(0), candidate.GetInstance(0)) &&
            IsInSet(fixed, candidate.GetEntity(1), candidate.GetInstance(1)))
            continue;
        if (!candidate.IsShellPartnerPair() &&
            !IsShellPartnerTangentKnown(candidate, list, context))
            Accept(candidate);
    }
    return 0;
}

int RelationFinder::RunLevel(bool configureMode, RelationFinderContext& context)
{
    if (!SetOfferedOptions(context, configureMode ? OptionPass::Configure : OptionPass::Standard))
        return ResultTypeOk;
    RelationCandidateList level(m_interaction);
    int result = RunStandardPass(context, level);
    if (result == ResultTypeOk) {
        const FinderInputKeySet fixed = context.GetFixedKeys();
        context.GetThird().AddEntriesOf(context.GetVary(), fixed);
        CheckStandardCandidates(context, level);
        FollowTangentChains(context, level);
    }
    if (!context.GetConfigureManager() && result == ResultTypeOk &&
        context.GetNextVary().GetData().size() > 1) {
        const size_t before = level.GetCount();
        const bool offered = SetOfferedOptions(context, OptionPass::TangentSymmetry);
        if (offered)
            result = RunTangentAndSymmetryPass(context, level);
        if (result == ResultTypeOk && level.GetCount() > before)
            CheckTangentCandidates(context, level, before);
    }
    context.GetCandidates().Merge(level);
    return result;
}

ResultType RelationFinder::FindGeometricRelations(RelationFinderInputData* vary,
                                                  RelationFinderInputData* environment)
{
    if (!m_interaction)
        return ResultTypeFail;
    if (IsOperationSet(m_interaction))
        return ResultTypeDragActive;
    Record();
    m_foundRelations.clear();

    m_interaction->CreateUpdateManager();
    UpdateManager* update = m_interaction->GetUpdateManager();
    if (!update)
        return ResultTypeFail;
    update->Clear();
    update->EnsureSolverCreated();
    YSKManager* manager = update->GetYSKManager();
    if (!update->GetSolver() || !manager || !manager->HasManager()) {
        update->Clear();
        return ResultTypeFail;
    }

    RelationFinderContext context(m_interaction, nullptr);
    context.SetFindOptions(FindOptionsData(m_symmetryPlanes, m_coPlaxisReferences,
                                           m_symmetryMatchExact, m_similarMatchAxes));
    if (vary)
        context.GetVary() = *vary;
    if (environment)
        context.GetEnvironment() = *environment;
    if (context.GetVary().GenerateInitialYSKVaryArray() == ResultTypeOk)
        context.GetEnvironment().GenerateInitialYSKEnvironmentArray(nullptr);

    ResultType result = ResultTypeOk;
    context.SetLevel(1);
    for (;;) {
        context.GetNextVary().ClearData();
        const int levelResult = RunLevel(false, context);
        if (levelResult != ResultTypeOk) {
            result = static_cast<ResultType>(levelResult);
            break;
        }
        context.GetVary() = context.GetNextVary();
        if (context.GetNextVary().IsEmpty())
            break;
        context.SetLevel(context.GetLevel() + 1);
    }
    if (result == ResultTypeOk && m_createRelations)
        result = context.GetCandidates().CreateRelations(nullptr);
    update->Clear();
    return result;
}

bool RelationFinder::FindForConfigureLevel(int level, bool configureMode,
                                           std::vector<std::pair<int, Instance*>>& seeds,
                                           RelationFinderContext& context,
                                           std::vector<Relation*>& relations,
                                           std::vector<int>& entities)
{
    context.GetVary().ClearData();
    context.GetEnvironment().ClearData();
    if (context.GetVary().GenerateInitialYSKVaryArray(seeds) == ResultTypeOk)
        context.GetEnvironment().GenerateInitialYSKEnvironmentArray(&context.GetVary());
    context.SetLevel(level);
    context.GetNextVary().ClearData();
    context.GetReachedEntities().clear();
    const int result = RunLevel(configureMode, context);
    if (result == ResultTypeOk)
        context.GetCandidates().CreateRelations(&relations);
    for (int entity : context.GetReachedEntities()) {
        if (std::find(entities.begin(), entities.end(), entity) != entities.end())
            continue;
        entities.push_back(entity);
        context.GetEntitiesSeen().insert(entity);
    }
    return result == ResultTypeOk;
}

bool RelationFinder::FindTangentsAndSymmetriesForConfigure(
    int level, std::vector<std::pair<int, Instance*>>& seeds, RelationFinderContext& context,
    std::vector<Relation*>& relations)
{
    context.GetVary().ClearData();
    context.GetEnvironment().ClearData();
    context.GetNextVary().ClearData();
    context.GetVary().GenerateInitialYSKVaryArray(seeds);
    context.SetLevel(level);
    if (SetOfferedOptions(context, OptionPass::TangentSymmetry)) {
        RelationCandidateList found(m_interaction);
        const int result = RunTangentAndSymmetryPass(context, found);
        if (result == ResultTypeOk && found.GetCount() > 0)
            CheckTangentCandidates(context, found, 0);
        context.GetCandidates().Merge(found);
        if (result != ResultTypeOk)
            return false;
    }
    return context.GetCandidates().CreateRelations(&relations) == ResultTypeOk;
}

int RelationFinder::TestFindGeometricRelations()
{
    RelationFinderInputData vary(m_interaction), environment(m_interaction);
    FindGeometricRelations(&vary, &environment);
    return static_cast<int>(m_foundRelations.size());
}

}  // namespace QEL
