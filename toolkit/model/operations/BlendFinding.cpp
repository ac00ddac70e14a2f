// Checks of blend faces before their radius changes, and blend finding.
#include "model/operations/ModellingOperations.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/maths/Tolerance.h"
#include "core/objects/Interaction.h"

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

bool Contains(const std::vector<int>& list, int tag)
{
    return std::find(list.begin(), list.end(), tag) != list.end();
}

// The radius the chain or chains found so far share: the first sets it, any that differs by
// more than the linear tolerance makes it -1.0.
void MergeRadius(double found, bool first, double* radius)
{
    if (first)
        *radius = found;
    else if (std::fabs(found - *radius) > 1e-8)
        *radius = -1.0;
}

int IdentifyKind(BlendIdentifyType type)
{
    switch (type) {
        case BlendIdentifyTypeMaxChain:
            return BQ_BLEND_identify_max_chain;
        case BlendIdentifyTypeIncMinChain:
            return BQ_BLEND_identify_inc_min_chain;
        default:
            return BQ_BLEND_identify_exc_min_chain;
    }
}

bool FindChainBlends(int seed, BlendIdentifyType type, double tolerance, double* radius,
                     std::set<int>* found)
{
    if (!IdentifyBlendFace(seed, tolerance, true, radius))
        return false;
    std::vector<BlendSet> sets;
    if (!IdentifyBlendSets(seed, IdentifyKind(type), tolerance, &sets) || sets.empty())
        return false;
    for (const BlendSet& set : sets) {
        MergeRadius(set.radius, false, radius);
        found->insert(set.faces.begin(), set.faces.end());
    }
    return true;
}

// In the kernel's order.
std::vector<int> BodyFacesOf(int face)
{
    int body = 0;
    std::vector<int> faces;
    if (BQ_FACE_ask_body(face, &body) != BQ_ERROR_no_errors)
        return faces;
    KernelArray<int> found;
    if (BQ_BODY_ask_faces(body, found.Count(), found.Slot()) == BQ_ERROR_no_errors)
        found.AppendTo(faces);
    return faces;
}

}  // namespace

ResultType CheckBlendRadiusFaces(Interaction* interaction, const std::vector<int>& faces)
{
    for (int face : faces) {
        double radius = 0.0;
        if (!IdentifyBlendFace(face, interaction->GetModellingTolerance(), true, &radius))
            return ResultTypeBadArgument;
        std::vector<int> side;
        std::vector<int> partners;
        if (!FindShellCluster(face, &side, &partners, nullptr) || partners.empty())
            continue;
        const bool partnerListed = std::any_of(partners.begin(), partners.end(),
                                               [&faces](int p) { return Contains(faces, p); });
        const bool sideMissing =
            side.size() > 1 && std::any_of(side.begin(), side.end(),
                                           [&](int f) { return f != face && !Contains(faces, f); });
        if (partnerListed || sideMissing)
            return ResultTypeFoundBlendFaceShellPartnerFace;
    }
    return ResultTypeOk;
}

bool DoFindBlends(int seed, BlendIdentifyType type, double tolerance, double* radius,
                  std::set<int>* found)
{
    *radius = -1.0;
    if (type == BlendIdentifyTypeAllWithinBody) {
        bool first = true;
        for (int face : BodyFacesOf(seed)) {
            if (found->count(face) || !IdentifyBlendFace(face, tolerance, true, nullptr))
                continue;
            double chainRadius = -1.0;
            DoFindBlends(face, BlendIdentifyTypeMaxChain, tolerance, &chainRadius, found);
            MergeRadius(chainRadius, first, radius);
            first = false;
        }
        return !found->empty();
    }
    if (type == BlendIdentifyTypeEqualRadiusWithinBody) {
        double seedRadius = 0.0;
        if (!IdentifyBlendFace(seed, tolerance, true, &seedRadius))
            return false;
        double chainRadius = -1.0;
        DoFindBlends(seed, BlendIdentifyTypeMaxChain, tolerance, &chainRadius, found);
        for (int face : BodyFacesOf(seed)) {
            if (!(chainRadius > 0.0))
                return false;
            double faceRadius = 0.0;
            if (face != seed && !found->count(face) &&
                IdentifyBlendFace(face, tolerance, true, &faceRadius) &&
                std::fabs(faceRadius - seedRadius) <= 1e-8)
                DoFindBlends(face, BlendIdentifyTypeMaxChain, tolerance, &chainRadius, found);
        }
        if (!(chainRadius > 0.0) || found->empty())
            return false;
        *radius = chainRadius;
        return true;
    }
    return FindChainBlends(seed, type, tolerance, radius, found);
}

}  // namespace QEL
