#pragma once
// Collects one face-change request for the add-on: a list of faces, one change per face, and
// the changes that follow from them (blend chains along a changed face re-blended, the faces
// across a shell wall following a moved side, dependent blends), then makes the one change
// call. A face's first change is final: later adds for a handled face do nothing.

#include "core/maths/Xform.h"

#include <hxr.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace QEL {

class Instance;
class Interaction;
class ReblendChainArray;
class ReplaceOptions;
class ShellClusterDataArray;
class SolutionChangeData;
class SolverOperation;
class TaperOptions;

// What the solve did to one face: its transform, the change of its radius (or of a cone's half
// angle), the change of a torus's minor radius, and which of them apply.
enum SolvedChangeMask {
    SolvedChangeTransform = 1,
    SolvedChangeRadius = 2,
    SolvedChangeMinorRadius = 4,
    SolvedChangeHalfAngle = 8
};

struct SolvedFaceChange {
    double m_transform[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    double m_firstValueChange = 0.0;
    double m_secondValueChange = 0.0;
    int m_mask = 0;
};

using SolvedFaceChangeMap = std::map<int, SolvedFaceChange>;

// A kernel transform of the record's matrix; 0 when the kernel cannot make one.
int MakeTransformFromMatrix(const SolvedFaceChange& change);
// The first transform followed by the second; 0 on failure.
int ComposeTransforms(int first, int second);
// A new cone (torus) like the face's surface with the half angle (radii) replaced, moved by
// the transform when one is given, made in the face's partition; sense is the face's sense on
// its surface. 0 when the kernel refuses.
int MakeConeSurface(int face, double halfAngle, int transform, bool* sense);
int MakeTorusSurface(int face, double majorRadius, double minorRadius, int transform, bool* sense);

class FaceChangeBuilder {
public:
    FaceChangeBuilder(Interaction* interaction, bool recordSolutionData,
                      SolutionChangeData* solutionData, ReblendChainArray* reblendChains,
                      ShellClusterDataArray* shellClusters, int stepFaceType);
    FaceChangeBuilder(const FaceChangeBuilder&) = delete;
    FaceChangeBuilder& operator=(const FaceChangeBuilder&) = delete;
    ~FaceChangeBuilder();

    // One face-change call with everything collected (the default change options when block is
    // null); the add-on's error code, 0 also when there is nothing to change.
    int Apply(const HXR_FACE_change_o_s* block);

    // Primitive changes.
    void AddReblendChange(int face, double radius);
    void AddOffsetChange(int face, double distance, const HXR_FACE_change_offset_o_s* block);
    void AddPartnerOffsetChange(int face, int referenceFace, double thickness);
    void AddTransformChange(int face, int transform, int stepFaceType);
    void AddSurfaceChange(int face, int surface, bool sense,
                          const HXR_FACE_change_surface_o_s* block);
    void AddTaperChange(int face, const double direction[3], double angle,
                        const std::vector<int>& edges, const HXR_FACE_change_taper_o_s* block);

    // Composite changes.
    void AddSolvedChange(int face, const SolvedFaceChange& change);
    bool AddShellPartnerChanges(int face, const SolvedFaceChange& change, bool skipOwnSide);
    bool AddReblendChain(int face, const SolvedFaceChange& change);
    void AddDependentReblends();
    void CollectReblendChains(const std::vector<int>& faces);
    void CollectShellClusters(const std::vector<int>& faces);
    bool AddReplaceFacesChanges(const std::vector<int>& faces, const std::vector<int>& surfaces,
                                const std::vector<int>& senses, const ReplaceOptions* options);
    bool AddTaperFacesChanges(const std::vector<int>& faces, const double direction[3],
                              double angle, const std::vector<std::vector<int>>& edgeLists,
                              TaperOptions* options);
    bool AddSolverChanges(const SolvedFaceChangeMap& changes, SolverOperation* operation, int body);
    // What the operation itself changes, through what the solver installed.
    bool AddOperationChanges(SolverOperation* operation, int body,
                             const SolvedFaceChangeMap& changes);
    // A blend-radius edit: each of the body's faces re-blended at the radius, its shell
    // partners following.
    bool AddBlendRadiusChanges(const std::vector<int>& faces, double radius, int body);
    // An offset edit: each of the body's faces offset by its value with the block, its shell
    // partners following when asked, then the partners' own offsets.
    bool AddOffsetOperationChanges(const std::vector<int>& faces,
                                   const std::vector<double>& offsets, bool shellPartnersFollow,
                                   const std::map<int, double>& partnerOffsets,
                                   const HXR_FACE_change_offset_o_s& block, int body);
    // Any other edit: its seed faces' solved changes first.
    bool AddSeedChanges(const std::vector<std::pair<int, Instance*>>& seeds,
                        const SolvedFaceChangeMap& changes);

    std::vector<int>& GetReblendedFaces() { return m_reblendedFaces; }
    const std::vector<int>& GetFaces() const { return m_faces; }
    const std::vector<int>& GetChangeIndices() const { return m_changeIndices; }
    // The records as the add-on receives them, each pointing at its own option block.
    const std::vector<HXR_FACE_change_s>& GetChangeRecords();

private:
    // Every kind's option block; a record uses the one of its kind.
    union ChangeOptions {
        HXR_FACE_change_offset_o_s offset;
        HXR_FACE_change_taper_o_s taper;
        HXR_FACE_change_transform_o_s transform;
        HXR_FACE_change_surface_o_s surface;
        HXR_FACE_change_reblend_o_s reblend;
    };
    struct OwnedParts {
        std::unique_ptr<ChangeOptions> options;
        std::vector<int> edges;
    };

    // Accepts the face unless handled and gives its zero-filled record and owned parts.
    HXR_FACE_change_s* AddRecord(int face, OwnedParts** parts);
    void AddOwnChangesAmongChainsAndShells(const std::vector<int>& faces,
                                           const std::vector<int>& reblendFaces, bool maintainShell,
                                           const std::function<void(size_t)>& addOwn);
    // The three-step rule for one solved face: its chain, its shell, its own change.
    void AddSolvedFaceByRule(int face, const SolvedFaceChange& change);
    bool IsHandled(int face) const { return m_handledFaces.count(face) != 0; }

    std::vector<int> m_faces;
    std::vector<int> m_changeIndices;
    std::vector<HXR_FACE_change_s> m_changes;
    std::vector<OwnedParts> m_owned;
    ReblendChainArray* m_reblendChains;
    ShellClusterDataArray* m_shellClusters;
    std::set<int> m_handledFaces;
    bool m_recordSolutionData;
    SolutionChangeData* m_solutionData;
    std::vector<int> m_reblendedFaces;
    int m_stepFaceType;
    Interaction* m_interaction;
};

// The duration in seconds of the last face-change call (-1.0 while one runs and until the
// first has run).
double GetLastFaceChangeTime();
void ResetFaceChangeTime();

}  // namespace QEL
