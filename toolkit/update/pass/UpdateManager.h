#pragma once
// The per-interaction driver of every edit that goes through the solver: it configures the edit
// once, takes the edit's start mark, and for every update rolls back to that mark, solves, and
// applies the solution to the model, rolling the update back unless it was applied.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "model/operations/FaceChangeBuilder.h"
#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"

#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace QEL {

class ConfigureManager;
class Geometry;
class Instance;
class Interaction;
class Section;
class SolutionChangeData;
class Solver;
class SolverOperation;
class YSKManager;

// Sections by tag, then cut Instances by tag; null sorts first in each position.
struct SectionInstanceLessThan {
    bool operator()(const std::pair<Section*, Instance*>& a,
                    const std::pair<Section*, Instance*>& b) const;
};

// What the dimension system reported for one solved entity: the change handed to the
// face-change builder (its mask is the kind, 0 unchanged, 1 a rigid move), and the face
// geometry it was read from (null for bare geometry), whose Instance names the section to
// regenerate.
struct ChangeRecord {
    SolvedFaceChange change;
    Geometry* geometry = nullptr;
    int Kind() const { return change.m_mask; }
};

using ChangeRecordMap = std::map<int, ChangeRecord>;
using BodyChangeMap = std::map<int, ChangeRecordMap>;

class UpdateManager {
public:
    using SectionInstanceSet = std::set<std::pair<Section*, Instance*>, SectionInstanceLessThan>;
    // What the application's feature procedure made for a feature during configure.
    struct FeatureToolBody {
        int toolBody = 0;
        int mappingData = 0;
    };

    explicit UpdateManager(Interaction* interaction);
    UpdateManager(const UpdateManager&) = delete;
    UpdateManager& operator=(const UpdateManager&) = delete;
    ~UpdateManager();

    Interaction* GetInteraction() const { return m_interaction; }
    // Null between edits.
    Solver* GetSolver() const { return m_solver; }
    // The auto-constraint wrapper over the Solver; it exists exactly when the Solver does.
    YSKManager* GetYSKManager() const { return m_ysk; }
    // The rollback mark every update of the edit rolls back to; 0 when none is held.
    int GetStartMark() const { return m_startMark; }
    // This manager's own solver journal stream; null unless solver journalling was on when
    // the edit's Solver was made.
    FILE* GetSolverJournal() const { return m_solverJournal; }

    // Makes the Solver of an edit and the wrapper over it, both journalling into this
    // manager's solver journal while solver journalling is on. Callers test for an existing
    // Solver.
    void EnsureSolverCreated();
    // The configure step with initialisation (no start mark is taken); solvable is false when
    // the configure found the edit unsolvable.
    bool Initialise(SolverOperation* operation, bool& solvable);
    // One whole update: the configure when the edit has none yet, then mark, solve, apply.
    UpdateStatus DoOperation(SolverOperation* operation, ResultType& result);
    UpdateStatus DoSolverOperationAndUpdateModel(SolverOperation* operation, ResultType& result);
    // Takes the start mark; false, changing nothing, while one is held.
    bool CreateMark();
    // Ends the edit: the wrapper, the Solver, the start mark, the solver journal and the
    // feature tool bodies.
    void Clear();
    // A fresh Solver and wrapper for work that needs no operation: 5 when either is missing.
    int ResetSolver();
    // Copies the reblend chains and shell clusters the configure met.
    void SetBlendAndShellData(ConfigureManager& manager);
    static void SetDebugPostUpdateCallback(void (*callback)(void*));
    // After a configure: the tool bodies the application's procedure makes for the Solver's
    // incomplete add-on features, or the procedures of simple recreated features.
    void PrepareFeatureProcedures();

    // The chains and clusters the configure step found; the apply step's builders read them.
    ReblendChainArray& GetReblendChainArray() { return m_reblendChains; }
    ShellClusterDataArray& GetShellClusterDataArray() { return m_shellClusters; }
    const std::map<int, FeatureToolBody>& GetFeatureToolBodies() const
    {
        return m_featureToolBodies;
    }
    const SectionInstanceSet& GetSectionsToRegenerate() const { return m_sections; }

    // Writes a full solution into the model; false when any part of it cannot be applied.
    bool PostSolverOperation(SolverOperation* operation);
    // Turns the solved changes of each body (in body tag order, with the operation's affected
    // bodies) into one face-change call per body. Without an operation no seeds are added and
    // no step faces are made.
    bool ApplyFaceChanges(Interaction* interaction, SolverOperation* operation,
                          const std::map<int, SolvedFaceChangeMap>& changes,
                          SolutionChangeData* solutionData);
    bool ApplyGeometryTransforms(Interaction* interaction, const ChangeRecordMap& changes,
                                 SolutionChangeData* solutionData);
    void ApplyInstanceTransforms();
    // False when a solve changed a spacing or an occurrence the pattern does not let change.
    bool WriteBackFacePatterns();
    // A copy of the feature's tool body whose faces the feature's mapping data now names; 0
    // when the feature has none.
    int CopyFeatureToolBody(int feature);
    void RegenerateSections(const BodyChangeMap& bodyChanges, const ChangeRecordMap& freeChanges,
                            const ChangeRecordMap& bodyGeometryChanges);
    StepFaceType GetStepFaceTypeForOperation(SolverOperation* operation) const;

private:
    bool Configure(SolverOperation* operation, UpdateStatus& status, bool initialise);
    int RunSolve(SolverOperation* operation);
    void ClearSolver();
    void CollectSectionsOfBody(int body);
    void CollectSectionsOfPlane(const std::pair<int, Instance*>& key);
    // The passes of the apply step, in the order they run.
    void CollectSolvedChanges(BodyChangeMap& bodyChanges, ChangeRecordMap& freeChanges,
                              ChangeRecordMap& bodyGeometryChanges);
    bool RunFeatureProcedures();
    bool ReintegrateFeatureBodies();
    void CallFeatureTransforms();

    Interaction* m_interaction;
    Solver* m_solver = nullptr;
    YSKManager* m_ysk = nullptr;
    int m_startMark = 0;
    SectionInstanceSet m_sections;
    ReblendChainArray m_reblendChains;
    ShellClusterDataArray m_shellClusters;
    std::map<int, FeatureToolBody> m_featureToolBodies;
    // Each manager journals into its own stream, so that one interaction ending its edit
    // never closes the stream another interaction's Solver still writes to.
    FILE* m_solverJournal = nullptr;
};

// Seconds spent in the auto-constraint manager during the current configure step.
QEL_API double GetYSKTime();
// Adds to that time and returns the new total.
QEL_API double IncrementYSKTime(double seconds);

}  // namespace QEL
