// The checks on faces that an offset or a shell-thickness edit would move, and the debug checks
// that a shelled face or body still keeps its wall.

#include "model/operations/ModellingOperations.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

constexpr double s_linearTolerance = 1e-8;

bool IsListed(const std::vector<int>& faces, int face)
{
    return std::find(faces.begin(), faces.end(), face) != faces.end();
}

// Every face lies on the first one's surface, in the same sense.
bool ShareOrientedSurface(const std::vector<int>& faces)
{
    bool firstSense = true;
    const int first = GetOrientedGeometry(faces.front(), &firstSense);
    for (size_t i = 1; i < faces.size(); ++i) {
        bool sense = true;
        if (GetOrientedGeometry(faces[i], &sense) != first || sense != firstSense)
            return false;
    }
    return true;
}

// The interaction's reference without instance on the face, and whether this call made it.
Reference* ReferenceForCheck(Interaction* interaction, int face, bool& made)
{
    std::vector<Reference*> found;
    interaction->FindReferencesOnEntity(face, nullptr, found);
    made = found.empty();
    return made ? Reference::Create(interaction, face, nullptr) : found.front();
}

// A relation of the type between the two references; true when it could be made and the
// test passes. The relation goes again either way.
template <typename Test>
bool RelationHolds(Interaction* interaction, RelationType type, Reference* first, Reference* second,
                   Test test)
{
    Relation* relation = Relation::CreateBinary(interaction, type, first, second);
    if (!relation)
        return false;
    const bool holds = relation->IsGeometricallySatisfied() && test(*relation);
    relation->Destroy();
    return holds;
}

}  // namespace

bool FaceHasRelationOfType(Interaction* interaction, int face, RelationType type)
{
    for (Relation* relation : interaction->GetRelations()) {
        if (!relation || relation->GetType() != type)
            continue;
        for (Reference* reference : relation->GetReferences())
            if (reference && reference->GetEntityTag() == face)
                return true;
    }
    return false;
}

bool FaceReferencedByFeature(int face, Interaction* interaction)
{
    std::vector<Reference*> references;
    Reference::FindInteractionReferences(interaction, face, references, false);
    for (Reference* reference : references)
        if (reference && reference->GetFeatureCount() > 0)
            return true;
    return false;
}

bool FindMultiFaceShellSide(int face, std::vector<int>& side, double& thickness)
{
    std::vector<int> found;
    if (!FindShellCluster(face, &found, nullptr, &thickness) || found.size() < 2)
        return false;
    side = found;
    return true;
}

ResultType CheckFacesToOffset(Interaction* interaction, const std::vector<int>& faces)
{
    for (int face : faces) {
        if (FaceHasRelationOfType(interaction, face, RelationTypeFixed))
            return ResultTypeFaceToOffsetHasFixedRelation;
        if (FaceHasRelationOfType(interaction, face, RelationTypeRadius) ||
            FaceHasRelationOfType(interaction, face, RelationTypeMinorRadius))
            return ResultTypeFaceToOffsetHasRadiusRelation;
        if (FaceReferencedByFeature(face, interaction))
            return ResultTypeFaceToOffsetReferencedByFeature;
        // Moving one face of a wall side alone would tear it from its neighbours on that side.
        std::vector<int> side;
        double thickness = 0.0;
        if (FindMultiFaceShellSide(face, side, thickness))
            for (int other : side)
                if (other != face && !IsListed(faces, other))
                    return ResultTypeFaceToOffsetHasConflictNeighborPartnerFace;
    }
    return ResultTypeOk;
}

bool CheckShellFacePair(Interaction* interaction, int face, int partner, double thickness)
{
    const int surfaceClass = GetGeometryClassOfTopology(face);
    if (surfaceClass != KernelClassPlane && surfaceClass != KernelClassCylinder &&
        surfaceClass != KernelClassCone && surfaceClass != KernelClassSphere)
        return true;
    bool madeFirst = false;
    bool madeSecond = false;
    Reference* first = ReferenceForCheck(interaction, face, madeFirst);
    Reference* second = ReferenceForCheck(interaction, partner, madeSecond);
    bool passed =
        first && second &&
        RelationHolds(interaction, RelationTypeDistance, first, second,
                      [&](const Relation& relation) {
                          return std::fabs(relation.GetValue() - thickness) <= s_linearTolerance;
                      });
    if (passed && surfaceClass != KernelClassPlane)
        passed = RelationHolds(interaction, RelationTypeConcentric, first, second,
                               [](const Relation&) { return true; });
    // A reference that was on the face before the check belongs to someone else: it stays.
    if (madeFirst && first && first->GetObjectCount() == 0)
        first->Destroy();
    if (madeSecond && second && second != first && second->GetObjectCount() == 0)
        second->Destroy();
    return passed;
}

bool CheckShelledFace(Interaction* interaction, int face)
{
    std::vector<int> side;
    std::vector<int> partners;
    double thickness = 0.0;
    if (!FindShellCluster(face, &side, &partners, &thickness))
        return true;
    if (thickness < s_linearTolerance)
        return false;
    for (int partner : partners)
        if (!CheckShellFacePair(interaction, face, partner, thickness))
            return false;
    if (partners.size() > 1 && !ShareOrientedSurface(partners))
        return false;
    return side.size() < 2 || ShareOrientedSurface(side);
}

bool CheckShelledBody(Interaction* interaction, int body)
{
    std::set<int> faces;
    GetBodyFaces(body, faces);
    for (int face : faces)
        if (!CheckShelledFace(interaction, face))
            return false;
    return true;
}

}  // namespace QEL
