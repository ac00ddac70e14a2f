#include "core/kernel/AddOnFacade.h"

#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"

namespace QEL {

namespace {

// Appends a list the add-on handed out and frees it; true when the add-on answered 0.
bool AppendAnswer(int error, KernelArray<int>& found, std::vector<int>* out)
{
    if (error != 0)
        return false;
    if (out)
        found.AppendTo(*out);
    return true;
}

}  // namespace

void StartAddOnDebugReport(const char* fileName)
{
    const HXR_DEBUG_report_start_o_s options{1, true};
    HXR_DEBUG_report_start(fileName, &options);
}

void StopAddOnDebugReport()
{
    const HXR_DEBUG_report_stop_o_s options{1};
    HXR_DEBUG_report_stop(&options);
}

int GetAddOnReportChannel()
{
    int channel = -1;
    HXR_REPORT_identify(&channel);
    return channel;
}

ExtractBodyPersistentDataStatus ExtractBodyRelations(int body,
                                                     const HXR_BODY_extract_relations_o_s* options,
                                                     ResultType* result)
{
    if (result)
        *result = ResultTypeOk;
    const int error = HXR_BODY_extract_relations(body, options);
    const bool store = options && options->store;
    if (store && error == 0)
        return ExtractBodyPersistentDataStored;
    if (store && error == AddOnStatusNothingToDo)
        return ExtractBodyPersistentDataAlreadyStored;
    if (!store && error == 0)
        return ExtractBodyPersistentDataRemoved;
    if (result)
        *result = ResultTypeFail;
    return ExtractBodyPersistentDataStored;
}

RestoreBodyPersistentDataStatus RestoreBodyRelations(int body,
                                                     const HXR_BODY_restore_relations_o_s* options,
                                                     ResultType* result)
{
    if (result)
        *result = ResultTypeOk;
    const int error = HXR_BODY_restore_relations(body, options);
    if (error == 0)
        return RestoreBodyPersistentDataRestored;
    if (error == AddOnStatusNothingToDo)
        return RestoreBodyPersistentDataNothingToRestore;
    if (result)
        *result = ResultTypeFail;
    return RestoreBodyPersistentDataRestored;
}

bool RemoveFaceShellRelations(int face, const HXR_FACE_remove_shell_relns_o_s* options)
{
    return HXR_FACE_remove_shell_relns(face, options) == 0;
}

bool IsBodyPasteTool(int body, const HXR_BODY_is_paste_tool_o_s* options)
{
    bool isTool = false;
    return HXR_BODY_is_paste_tool(body, options, &isTool) == 0 && isTool;
}

int GetFeatureIdentifier(int feature)
{
    int identifier = 0;
    return HXR_FEAT_ask_identifier(feature, &identifier) == 0 ? identifier : 0;
}

bool SetFeatureIdentifier(int feature, int identifier)
{
    const HXR_FEAT_set_identifier_o_s options{1};
    return HXR_FEAT_set_identifier(feature, identifier, &options) == 0;
}

bool IsFeatureDormant(int feature)
{
    bool dormant = false;
    return HXR_FEAT_is_dormant(feature, &dormant) == 0 && dormant;
}

bool IsFeatureComplete(int feature)
{
    bool complete = false;
    return HXR_FEAT_is_complete(feature, &complete) == 0 && complete;
}

bool SetFeatureDormant(int feature, bool dormant)
{
    return HXR_FEAT_set_dormant(feature, dormant) == 0;
}

bool DeleteFeature(int feature) { return HXR_FEAT_delete(feature) == 0; }

bool GetFeatureTopologies(int feature, std::vector<int>* topologies, std::vector<int>* second)
{
    KernelArray<int> found;
    KernelArray<int> labels;
    const int error = HXR_FEAT_ask_topols(feature, found.Count(), found.Slot(), labels.Slot());
    *labels.Count() = found.Size();
    return AppendAnswer(error, found, topologies) && AppendAnswer(error, labels, second);
}

bool IsFeatureAllFaces(int feature)
{
    std::vector<int> topologies;
    GetFeatureTopologies(feature, &topologies, nullptr);
    for (int topology : topologies)
        if (!IsEntityOfClass(topology, KernelClassFace))
            return false;
    return true;
}

bool GetFeatureUnders(int feature, std::vector<int>* first, std::vector<int>* second)
{
    KernelArray<int> unders;
    KernelArray<int> labels;
    const int error = HXR_FEAT_ask_unders(feature, unders.Count(), unders.Slot(), labels.Slot());
    *labels.Count() = unders.Size();
    return AppendAnswer(error, unders, first) && AppendAnswer(error, labels, second);
}

bool IsFeaturePristine(int feature, std::vector<int>* entities)
{
    bool pristine = false;
    KernelArray<int> found;
    const int error = HXR_FEAT_is_pristine(feature, &pristine, found.Count(), found.Slot());
    AppendAnswer(error, found, entities);
    return pristine;
}

bool GetTopologyFeatures(int topology, std::vector<int>* features)
{
    if (!IsFaceEdgeOrVertex(topology))
        return false;
    KernelArray<int> found;
    return AppendAnswer(HXR_TOPOL_ask_feats(topology, found.Count(), found.Slot()), found,
                        features);
}

bool HasTopologyFeatures(int topology)
{
    std::vector<int> features;
    GetTopologyFeatures(topology, &features);
    return !features.empty();
}

bool GetDependentFeatures(int entity, std::vector<int>* features)
{
    KernelArray<int> found;
    return AppendAnswer(HXR_ENTITY_ask_dependent_feats(entity, found.Count(), found.Slot()), found,
                        features);
}

bool FindPartFeatures(int part, const HXR_PART_find_feats_o_s* options, std::vector<int>* features)
{
    KernelArray<int> found;
    return AppendAnswer(HXR_PART_find_feats(part, options, found.Count(), found.Slot()), found,
                        features);
}

int RejoinBodies(const std::vector<int>& bodies)
{
    int body = 0;
    if (HXR_BODY_rejoin(static_cast<int>(bodies.size()), bodies.data(), &body) != 0)
        return 0;
    return body;
}

bool SplitDisjointBody(int body, const char* options, std::vector<int>* bodies)
{
    KernelArray<int> found;
    return AppendAnswer(HXR_BODY_disjoin(body, options, found.Count(), found.Slot()), found,
                        bodies);
}

bool FindShellPartners(int face, std::vector<int>* partners, double* thickness)
{
    int kind = HXR_SHELL_KIND_none;
    double wall = 0.0;
    KernelArray<int> found;
    const int error = HXR_FACE_find_shell_partners(face, &kind, found.Count(), found.Slot(), &wall);
    const bool has = error == 0 && kind != HXR_SHELL_KIND_none;
    if (has && partners)
        found.AppendTo(*partners);
    if (thickness)
        *thickness = has ? wall : 0.0;
    return has;
}

bool FindShellCluster(int face, std::vector<int>* sideFaces, std::vector<int>* partnerFaces,
                      double* thickness)
{
    if (thickness)
        *thickness = 0.0;
    std::vector<int> partners;
    double wall = 0.0;
    if (!FindShellPartners(face, &partners, &wall))
        return false;
    std::vector<int> side;
    if (partners.empty())
        side.push_back(face);
    else if (!FindShellPartners(partners.front(), &side, nullptr))
        // Without the face's own side the cluster is unknown; half an answer would let a shell
        // edit move only one wall.
        return false;
    if (sideFaces)
        *sideFaces = side;
    if (partnerFaces)
        *partnerFaces = partners;
    if (thickness)
        *thickness = wall;
    return true;
}

}  // namespace QEL
