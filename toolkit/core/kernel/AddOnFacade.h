#pragma once
// The toolkit's thin wrappers of the add-on's queries and edits of its own objects (features,
// stored relations, shell partners) and of its debug report. Like the kernel facade they copy
// add-on arrays into the caller's vectors (appending), free them at once and never report or
// throw: a failing call gives 0, false, nothing appended or a failed status. The add-on's
// modelling operations go through the Model transaction instead.

#include "core/enums/Enums.h"

#include <hxr.h>

#include <vector>

namespace QEL {

// The add-on's answer when there is nothing to do: relations already stored, nothing to restore.
constexpr int AddOnStatusNothingToDo = 18502;

void StartAddOnDebugReport(const char* fileName);
void StopAddOnDebugReport();
// -1 when the add-on names no channel.
int GetAddOnReportChannel();

// Stores or removes the body's relations as the options say; result is set to
// ResultTypeFail (and the first status returned) for any answer the status cannot express.
ExtractBodyPersistentDataStatus ExtractBodyRelations(int body,
                                                     const HXR_BODY_extract_relations_o_s* options,
                                                     ResultType* result);
RestoreBodyPersistentDataStatus RestoreBodyRelations(int body,
                                                     const HXR_BODY_restore_relations_o_s* options,
                                                     ResultType* result);
bool RemoveFaceShellRelations(int face, const HXR_FACE_remove_shell_relns_o_s* options);
bool IsBodyPasteTool(int body, const HXR_BODY_is_paste_tool_o_s* options);

// Features.
int GetFeatureIdentifier(int feature);
bool SetFeatureIdentifier(int feature, int identifier);
bool IsFeatureDormant(int feature);
bool IsFeatureComplete(int feature);
// The add-on's answer: false when it refused.
bool SetFeatureDormant(int feature, bool dormant);
bool DeleteFeature(int feature);
// The topologies and the add-on's parallel label list.
bool GetFeatureTopologies(int feature, std::vector<int>* topologies, std::vector<int>* second);
// True also for a feature without topology.
bool IsFeatureAllFaces(int feature);
bool GetFeatureUnders(int feature, std::vector<int>* first, std::vector<int>* second);
// The flag; the entities the add-on names are appended in either case.
bool IsFeaturePristine(int feature, std::vector<int>* entities);
// False without asking for anything but a face, edge or vertex.
bool GetTopologyFeatures(int topology, std::vector<int>* features);
bool HasTopologyFeatures(int topology);
bool GetDependentFeatures(int entity, std::vector<int>* features);
bool FindPartFeatures(int part, const HXR_PART_find_feats_o_s* options, std::vector<int>* features);

// Bodies.
// The joined body; 0 on failure.
int RejoinBodies(const std::vector<int>& bodies);
bool SplitDisjointBody(int body, const char* options, std::vector<int>* bodies);

// Shell partners. The thickness is 0 when the face has none (false).
bool FindShellPartners(int face, std::vector<int>* partners, double* thickness);
// The face's side of its wall (its first partner's partners, or the face alone) and the other
// side; any output may be null. False when either side cannot be asked.
bool FindShellCluster(int face, std::vector<int>* sideFaces, std::vector<int>* partnerFaces,
                      double* thickness);

}  // namespace QEL
