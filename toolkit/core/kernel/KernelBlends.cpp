// Blend identification and part transmit of the kernel facade.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/support/TextUtils.h"

#include <algorithm>
#include <cstring>

namespace QEL {

namespace {

BQ_FACE_identify_blends_o_t MakeIdentifyOptions(double tolerance)
{
    BQ_FACE_identify_blends_o_t options = {};
    options.o_t_version = 3;
    options.form = BQ_BLEND_form_any;
    options.convexity = BQ_BLEND_convexity_any;
    options.have_tolerance = true;
    options.tolerance = tolerance;
    options.want_radius = true;
    options.chain = BQ_BLEND_chain_any;
    return options;
}

// The kernel's blend result, freed when the scope ends.
class IdentifiedBlends {
public:
    IdentifiedBlends(const std::vector<int>& faces, int kind, double tolerance)
    {
        const BQ_FACE_identify_blends_o_t options = MakeIdentifyOptions(tolerance);
        m_ok = BQ_FACE_identify_blends(static_cast<int>(faces.size()), faces.data(), kind, &options,
                                       &m_result) == BQ_ERROR_no_errors;
    }
    IdentifiedBlends(const IdentifiedBlends&) = delete;
    IdentifiedBlends& operator=(const IdentifiedBlends&) = delete;
    ~IdentifiedBlends() { BQ_FACE_identify_blends_r_f(&m_result); }

    bool IsOk() const { return m_ok; }
    const BQ_FACE_identify_blends_r_t& Result() const { return m_result; }

private:
    BQ_FACE_identify_blends_r_t m_result = {0, nullptr};
    bool m_ok = false;
};

}  // namespace

bool IdentifyBlendFace(int face, double tolerance, bool skipMutualCheck, double* radius)
{
    if (!IsFace(face))
        return false;
    double foundRadius = 0.0;
    {
        const IdentifiedBlends blends({face}, BQ_BLEND_identify_face, tolerance);
        if (!blends.IsOk() || blends.Result().n_blends != 1)
            return false;
        foundRadius = blends.Result().blends[0].radius;
    }
    if (!skipMutualCheck && IsMutualBlendUnder(face, tolerance))
        return false;
    if (radius)
        *radius = foundRadius;
    return true;
}

bool IsMutualBlendUnder(int face, double tolerance)
{
    if (GetGeometryClassOfTopology(face) != KernelClassCylinder)
        return false;
    std::vector<int> unders;
    GetBlendUnderFaces(face, tolerance, &unders);
    for (int under : unders) {
        if (!IdentifyBlendFace(under, tolerance, true, nullptr))
            continue;
        std::vector<int> underUnders;
        GetBlendUnderFaces(under, tolerance, &underUnders);
        if (std::find(underUnders.begin(), underUnders.end(), face) != underUnders.end())
            return true;
    }
    return false;
}

void GetBlendUnderFaces(int blendFace, double tolerance, std::vector<int>* unders)
{
    KernelArray<int> found;
    if (BQ_FACE_find_blend_unders(blendFace, tolerance, found.Count(), found.Slot()) ==
        BQ_ERROR_no_errors)
        found.AppendTo(*unders);
}

void IdentifyBlendFacesOfSet(const std::set<int>& faces, int blendKind, double tolerance,
                             bool skipMutualCheck, std::vector<int>* out)
{
    const std::vector<int> ordered(faces.begin(), faces.end());
    std::vector<int> found;
    {
        const IdentifiedBlends blends(ordered, blendKind, tolerance);
        if (!blends.IsOk())
            return;
        for (int i = 0; i < blends.Result().n_blends; ++i) {
            const BQ_FACE_blend_set_t& set = blends.Result().blends[i];
            found.insert(found.end(), set.faces, set.faces + set.n_faces);
        }
    }
    for (int face : found)
        if (skipMutualCheck || !IsMutualBlendUnder(face, tolerance))
            out->push_back(face);
}

void IdentifyBlendFacesOfFace(int face, int blendKind, double tolerance, bool skipMutualCheck,
                              std::vector<int>* out)
{
    IdentifyBlendFacesOfSet(std::set<int>{face}, blendKind, tolerance, skipMutualCheck, out);
}

bool IdentifyBlendSets(int face, int blendKind, double tolerance, std::vector<BlendSet>* sets)
{
    const IdentifiedBlends blends({face}, blendKind, tolerance);
    if (!blends.IsOk())
        return false;
    for (int i = 0; i < blends.Result().n_blends; ++i) {
        const BQ_FACE_blend_set_t& set = blends.Result().blends[i];
        sets->push_back(BlendSet{std::vector<int>(set.faces, set.faces + set.n_faces), set.radius});
    }
    return true;
}

int GetTransmitFormat(const char* fileName)
{
    const char* extension = fileName ? std::strchr(fileName, '.') : nullptr;
    if (extension && IsEqualNoCaseN(extension, ".b_b", 4) && std::strlen(extension) >= 4)
        return BQ_PART_format_binary;
    return BQ_PART_format_text;
}

bool TransmitParts(const std::vector<int>& parts, const char* fileName)
{
    const BQ_PART_transmit_o_t options = {2, GetTransmitFormat(fileName), true};
    return BQ_PART_transmit(static_cast<int>(parts.size()), parts.data(), fileName, &options) ==
           BQ_ERROR_no_errors;
}

}  // namespace QEL
