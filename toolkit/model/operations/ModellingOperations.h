#pragma once
// The one-shot modelling operations that the exported calls run once their frame has checked
// the arguments: each tells the interaction what it is about to change, makes one add-on call
// inside a Model transaction (or collects face changes and applies them in one), and leaves
// the bodies untouched when the call fails. Also the shell enquiries and debug checks, and the
// blend checks and blend finding.

#include "core/enums/Enums.h"

#include <set>
#include <vector>

namespace QEL {

class CopyOptions;
class CutOptions;
class DeleteFacesOptions;
class Instance;
class Interaction;
class PasteOptions;
class ReplaceFacesWithSheetOptions;
class ReplaceOptions;
class ShellOptions;
class TaperOptions;

// The new sheet body's instance (identity placement); null with ResultTypeFail when the
// add-on fails or makes no body.
Instance* DoCut(Interaction* interaction, const std::vector<int>& faces, int partition,
                const CutOptions* options, ResultType* result);
Instance* DoCopy(Interaction* interaction, const std::vector<int>& faces, int partition,
                 const CopyOptions* options, ResultType* result);
// The tool's body is placed by the kernel transform (0 for none) relative to the target.
void DoPaste(Interaction* interaction, int tool, int target, int transform,
             const PasteOptions* options, ResultType* result);
ResultType DoDeleteFaces(Interaction* interaction, const std::vector<int>& faces,
                         const DeleteFacesOptions* options);
// ResultTypeInvalidShellTypeInput, without a kernel call, for a shell type outside 1..3.
ResultType DoShell(Interaction* interaction, int body, double thickness,
                   const ShellOptions* options);
ResultType DoReorderBlends(Interaction* interaction, const std::vector<int>& firstChain,
                           const std::vector<int>& secondChain);
// ResultTypeSheetBodyReferenced, changing nothing, when the sheet is not a bare body.
ResultType DoReplaceFacesWithSheet(Interaction* interaction, const std::vector<int>& faces,
                                   int sheet, const ReplaceFacesWithSheetOptions* options);
// Surfaces and senses (edge lists) run index for index with the faces: a list of another
// length is a bad argument.
ResultType DoReplaceFaces(Interaction* interaction, const std::vector<int>& faces,
                          const std::vector<int>& surfaces, const std::vector<int>& senses,
                          ReplaceOptions* options);
ResultType DoTaperFaces(Interaction* interaction, const std::vector<int>& faces,
                        const double direction[3], double angle,
                        const std::vector<std::vector<int>>& edgeLists, TaperOptions* options);

// Shells. The lists are replaced only on success; the thickness is -1.0 unless the add-on
// wrote one. A null thickness is a bad argument.
ResultType DoFindSidesOfShell(int face, std::vector<int>& sameSide, std::vector<int>& oppositeSide,
                              double* thickness);
// The first face that cannot be offset decides (fixed or radius relation, referenced by a
// feature, or a face of a multi-face shell side whose other faces are not all listed).
ResultType CheckFacesToOffset(Interaction* interaction, const std::vector<int>& faces);
bool FaceHasRelationOfType(Interaction* interaction, int face, RelationType type);
bool FaceReferencedByFeature(int face, Interaction* interaction);
bool FindMultiFaceShellSide(int face, std::vector<int>& side, double& thickness);
// Debug checks that a shelled face (body) keeps its wall.
bool CheckShelledFace(Interaction* interaction, int face);
bool CheckShelledBody(Interaction* interaction, int body);
// The partner lies at the thickness (and, off planes, is concentric); the references made for
// the check go again, those found already there stay.
bool CheckShellFacePair(Interaction* interaction, int face, int partner, double thickness);

// Blends.
ResultType CheckBlendRadiusFaces(Interaction* interaction, const std::vector<int>& faces);
// The blends connected to or like the seed by the identify type; radius is their common radius
// or -1.0.
bool DoFindBlends(int seed, BlendIdentifyType type, double tolerance, double* radius,
                  std::set<int>* found);

}  // namespace QEL
