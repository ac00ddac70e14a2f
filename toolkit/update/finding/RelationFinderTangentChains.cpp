// Tangent chains along smooth edges: once a tangency between adjacent faces is accepted, the
// finder looks one face further along the chain and cuts it there, with a Fixed candidate on
// the next face or on a virtual vertex where the chain ends. In a configure the faces reached
// go back to the configure as seeds instead.
#include "update/finding/RelationFinder.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "update/finding/RelationCandidate.h"
#include "update/finding/RelationFinderContext.h"
#include "update/records/FoundData.h"

#include <algorithm>

namespace QEL {

namespace {

bool IsAxial(int classCode)
{
    return classCode == KernelClassCylinder || classCode == KernelClassCone;
}

bool AreAxesParallel(int entity1, int entity2)
{
    const Dir a = GetGeometryAxisDirection(GetGeometryOfTopology(entity1));
    const Dir b = GetGeometryAxisDirection(GetGeometryOfTopology(entity2));
    return a.IsParallel(b);
}

bool AreCoincident(int face1, int face2)
{
    return AreGeometriesCoincident(GetGeometryOfTopology(face1), GetGeometryOfTopology(face2));
}

// The virtual vertex of the interaction defined on every one of the references.
VirtualVertex* FindCommonVirtualVertex(Interaction* interaction,
                                       const std::vector<Reference*>& references)
{
    for (VirtualVertex* vertex : interaction->GetVirtualVertices()) {
        bool all = !references.empty();
        for (Reference* reference : references) {
            bool found = false;
            for (int i = 0; i < vertex->GetDefiningReferenceCount() && !found; ++i)
                found = vertex->GetDefiningReference(i) == reference;
            all = all && found;
        }
        if (all)
            return vertex;
    }
    return nullptr;
}

}  // namespace

bool RelationFinder::IsRelaxedInConfigure(RelationFinderContext& context,
                                          const RelationCandidate& candidate) const
{
    if (!context.GetConfigureManager() || !m_interaction)
        return false;
    std::vector<Relation*> matching;
    candidate.FindMatchingRelations(matching);
    for (FoundData* data : m_interaction->GetFoundData())
        if (data && data->GetState() == FoundDataStateRelax &&
            std::find(matching.begin(), matching.end(), data->GetQELObject()) != matching.end())
            return true;
    return false;
}

bool RelationFinder::IsPerpendicularToPrincipalPlane(int face) const
{
    if (GetGeometryClassOfTopology(face) != KernelClassPlane)
        return false;
    const Dir normal = GetGeometryAxisDirection(GetGeometryOfTopology(face));
    const int body = GetOwningBody(face);
    for (Reference* plane : m_principalPlanes) {
        if (!IsPrincipalPlane(plane) || plane->GetInstance() ||
            GetOwningBody(plane->GetEntityTag()) != body)
            continue;
        if (normal.IsPerpendicular(GetGeometryAxisDirection(plane->GetEntityTag())))
            return true;
    }
    return false;
}

int RelationFinder::FollowTangentChains(RelationFinderContext& context,
                                        RelationCandidateList& level)
{
    RelationFinderContext chain(m_interaction, nullptr);
    chain.GetEnvironment().AddBodyLevelEntitiesOf(context.GetEnvironment(), FinderInputKeySet());
    chain.GetThird().AddBodyLevelEntitiesOf(context.GetThird(), context.GetFixedKeys());
    chain.SetFindOptions(context.GetFindOptions());
    chain.SetLevel(context.GetLevel());
    // Candidates the steps add are not visited.
    const size_t count = level.GetCount();
    for (size_t i = 0; i < count; ++i) {
        const RelationCandidate candidate = level[i];
        if (!candidate.IsTangentOfAdjacentFaces() || !candidate.IsAccepted() ||
            IsRelaxedInConfigure(context, candidate))
            continue;
        if (!context.GetConfigureManager() &&
            IsPerpendicularToPrincipalPlane(candidate.GetEntity(1)))
            continue;
        const FinderInputKeySet& fixed = context.GetFixedKeys();
        if (fixed.count({candidate.GetEntity(0), nullptr}) ||
            fixed.count({candidate.GetEntity(1), nullptr}))
            continue;
        FollowTangentChainStep(candidate.GetEntity(0), candidate.GetEntity(1), level, chain,
                               context);
    }
    return 0;
}

int RelationFinder::FollowTangentChainStep(int faceA, int faceB, RelationCandidateList& level,
                                           RelationFinderContext& chain,
                                           RelationFinderContext& context)
{
    RelationCandidateList next(m_interaction);
    if (context.GetConfigureManager() && context.GetEntitiesSeen().count(faceA)) {
        // Back at a face the configure reached before: the chain turns there, but only when
        // the way back is one tangent; with none or several there is no one way to turn.
        RelationCandidateList back(m_interaction);
        context.GetCandidates().AddNeighbourTangents(faceA, 0, back);
        if (back.GetCount() == 1) {
            next.Add(RelationCandidate(m_interaction, context.GetLevel(), RelationTypeTangent,
                                       nullptr, faceA, nullptr, faceB),
                     true);
            const RelationCandidate& turn = back[0];
            const int other = turn.GetEntity(0) == faceA ? turn.GetEntity(1) : turn.GetEntity(0);
            faceB = faceA;
            faceA = other;
        }
    } else if (SetOfferedOptions(context, OptionPass::TangentAtEdge)) {
        chain.GetVary().ClearData();
        chain.GetVary().AddEntry(nullptr, faceB);
        if (RunStandardPass(chain, next) != ResultTypeOk)
            return 0;
        level.AddNeighbourTangents(faceB, faceA, next);
        context.GetCandidates().AddNeighbourTangents(faceB, faceA, next);
    }

    RelationCandidateList further(m_interaction);
    for (const RelationCandidate& candidate : next.GetCandidates()) {
        if (!candidate.IsTangentOfAdjacentFaces())
            continue;
        const int face = candidate.GetEntity(1);
        if (IsBlendToSkip(face, further, &level, context) || AreCoincident(face, faceA))
            continue;
        bool coincident = false;
        for (const RelationCandidate& kept : further.GetCandidates())
            coincident = coincident || AreCoincident(face, kept.GetEntity(1));
        if (!coincident)
            further.Add(candidate, true);
    }

    if (further.GetCount() == 0) {
        if (m_createRelations)
            EndTangentChainAtPivot(faceA, faceB, level, context);
        return 0;
    }
    if (further.GetCount() > 1)
        return 0;
    RelationCandidate candidate = further[0];
    const int faceC = candidate.GetEntity(1);
    const int a = GetGeometryClassOfTopology(faceA), b = GetGeometryClassOfTopology(faceB),
              c = GetGeometryClassOfTopology(faceC);
    bool fits = false;
    if (a == KernelClassPlane && c == KernelClassPlane)
        fits = true;
    else if (IsAxial(a) && c == KernelClassPlane)
        fits = IsAxial(b) && AreAxesParallel(faceA, faceB);
    else if (a == KernelClassPlane && IsAxial(c))
        fits = IsAxial(b) && AreAxesParallel(faceB, faceC);
    else if (IsAxial(a) && IsAxial(c))
        fits = AreAxesParallel(faceA, faceC);
    if (!fits || IsRelaxedInConfigure(context, candidate))
        return 0;
    size_t position = 0;
    const bool held = level.Find(candidate, &position);
    const bool accepted = held ? Accept(level[position]) : Accept(candidate);
    if (!accepted)
        return 0;
    if (!held)
        level.Add(candidate, true);
    AddFixedCandidate(faceC, level, context);
    return 0;
}

bool RelationFinder::AddFixedCandidate(int entity, RelationCandidateList& level,
                                       RelationFinderContext& context)
{
    if (context.GetConfigureManager()) {
        context.AddReachedEntity(entity);
        return false;
    }
    if (context.GetFixedKeys().count({entity, nullptr}))
        return false;
    RelationCandidate fixed(m_interaction, context.GetLevel(), RelationTypeFixed, nullptr, entity);
    if (!Accept(fixed))
        return false;
    level.Add(fixed, true);
    context.GetFixedKeys().insert({entity, nullptr});
    return true;
}

int RelationFinder::EndTangentChainAtPivot(int faceA, int faceB, RelationCandidateList& level,
                                           RelationFinderContext& context)
{
    const int edge = FindCommonEdge(faceA, faceB);
    if (!edge)
        return 0;
    std::vector<PivotVertexData> pivots;
    VirtualVertexFoundation::s_findPivotPoints(edge, faceB, pivots,
                                               m_interaction->GetModellingTolerance());
    if (pivots.empty())
        return 0;
    const PivotVertexData& pivot = pivots.front();
    int vertexEntity = 0;
    if (!pivot.m_virtual) {
        vertexEntity = pivot.m_vertex;
    } else {
        std::vector<Reference*> defining;
        for (int entity : pivot.m_entities)
            if (Reference* reference = Reference::Create(m_interaction, entity, nullptr))
                defining.push_back(reference);
        VirtualVertex* vertex = FindCommonVirtualVertex(m_interaction, defining);
        if (!vertex) {
            vertex = VirtualVertex::Create(m_interaction, defining, pivot.m_point);
            AddCreatedVirtualVertex(vertex);
        }
        vertexEntity = vertex ? vertex->GetVirtualPoint() : 0;
    }
    bool onSurfaces = !pivot.m_entities.empty();
    for (int entity : pivot.m_entities) {
        const int classCode = GetGeometryClassOfTopology(entity);
        onSurfaces = onSurfaces && classCode >= KernelClassPlane && classCode <= KernelClassTorus;
    }
    if (vertexEntity && onSurfaces)
        AddFixedCandidate(vertexEntity, level, context);
    return 0;
}

}  // namespace QEL
