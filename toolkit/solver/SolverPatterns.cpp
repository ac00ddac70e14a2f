// Face patterns in the Solver: one star per pattern, and the spread of a face to the faces that
// correspond to it in the patterns that hold it.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "model/patterns/FacePattern.h"
#include "model/references/Reference.h"
#include "solver/PatternStar.h"

namespace QEL {

FacePatternStar* Solver::GetFacePatternStar(FacePattern* pattern) const
{
    const auto it = m_facePatternStars.find(pattern);
    return it == m_facePatternStars.end() ? nullptr : it->second;
}

FacePatternStar* Solver::AddFacePattern(FacePattern* pattern)
{
    if (!pattern)
        return nullptr;
    if (FacePatternStar* star = GetFacePatternStar(pattern))
        return star;
    MakeFacePatternStar(pattern);
    return GetFacePatternStar(pattern);
}

void Solver::MakeFacePatternStar(FacePattern* pattern)
{
    const std::vector<Reference*> references = pattern->GetAllReferences(false);
    for (Reference* reference : references)
        m_patternedFaces[reference->GetEntityTag()].push_back(pattern);
    std::vector<Reference*> defining;
    pattern->GetDefiningReferences(defining);
    for (Reference* reference : defining)
        if (reference)
            m_patternReferences[reference->GetEntityTag()].push_back(pattern);
    m_facePatternStars[pattern] = new FacePatternStar(this, pattern);
    std::set<int> visited;
    for (Reference* reference : references) {
        const GeometryKey key(reference->GetEntityTag(), nullptr);
        if (FindGeometry(key))
            AddToFacePatternStarMap(key.first, &visited);
    }
}

PatternSpacing* Solver::AddSpacingDimension(FacePattern* pattern, double value, bool rigid,
                                            PatternSpacing* (FacePatternStar::*make)())
{
    FacePatternStar* star = AddFacePattern(pattern);
    PatternSpacing* spacing = star ? (star->*make)() : nullptr;
    if (spacing) {
        spacing->SetValue(value);
        spacing->SetRigid(rigid);
    }
    return spacing;
}

PatternSpacing* Solver::AddXSpacingDimension(FacePattern* pattern, double value, bool rigid)
{
    return AddSpacingDimension(pattern, value, rigid, &FacePatternStar::GetOrMakeXSpacingDim);
}

PatternSpacing* Solver::AddYSpacingDimension(FacePattern* pattern, double value, bool rigid)
{
    return AddSpacingDimension(pattern, value, rigid, &FacePatternStar::GetOrMakeYSpacingDim);
}

PatternSpacing* Solver::AddAxisSpacingDimension(FacePattern* pattern, double value, bool rigid)
{
    return AddSpacingDimension(pattern, value, rigid, &FacePatternStar::GetOrMakeAxisSpacingDim);
}

void Solver::AddToFacePatternStarMap(int entity, std::set<int>* visited)
{
    if (GetEntityClass(entity) != KernelClassFace)
        return;
    std::set<int> local;
    std::set<int>& seen = visited ? *visited : local;
    if (seen.count(entity))
        return;
    std::list<int> pending{entity};
    while (!pending.empty())
        AddPatternedFacesOfFace(pending, seen);
}

void Solver::AddPatternedFacesOfFace(std::list<int>& pending, std::set<int>& visited)
{
    if (pending.empty())
        return;
    const int face = pending.front();
    pending.pop_front();
    visited.insert(face);
    // With one star only there is nothing to spread to beyond it.
    const bool spread = m_facePatternStars.size() >= 2;
    const auto patterns = m_patternedFaces.find(face);
    if (patterns == m_patternedFaces.end())
        return;
    for (FacePattern* pattern : patterns->second) {
        if (pattern->GetRigidOccurrences() && !spread)
            continue;
        int position = -1;
        std::vector<Reference*> corresponding;
        pattern->GetCorrespondingReferences(face, &position, corresponding, true);
        if (!pattern->GetRigidOccurrences())
            if (FacePatternStar* star = GetFacePatternStar(pattern))
                star->AddPatternedFaces(position, corresponding);
        if (!spread)
            continue;
        for (Reference* reference : corresponding)
            if (reference && !visited.count(reference->GetEntityTag()))
                pending.push_back(reference->GetEntityTag());
    }
}

}  // namespace QEL
