#include "update/pass/UpdateManager.h"

#include "core/journal/DebugJournalSwitches.h"
#include "core/kernel/AddOnFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/support/AlgorithmSwitches.h"
#include "core/support/Timer.h"
#include "model/features/Feature.h"
#include "model/patterns/Section.h"
#include "model/transaction/MappingData.h"
#include "solver/Solver.h"
#include "solver/operations/SolverOperation.h"
#include "update/autoconstraint/YSKManager.h"
#include "update/configure/ConfigureManager.h"
#include "update/pass/UpdateTimes.h"

#include <brennik.h>

#include <vector>

namespace QEL {

bool SectionInstanceLessThan::operator()(const std::pair<Section*, Instance*>& a,
                                         const std::pair<Section*, Instance*>& b) const
{
    const TaggedEntityPtrLessThan less;
    if (less(a.first, b.first))
        return true;
    if (less(b.first, a.first))
        return false;
    return less(a.second, b.second);
}

UpdateManager::UpdateManager(Interaction* interaction) : m_interaction(interaction) {}

UpdateManager::~UpdateManager() { Clear(); }

void UpdateManager::EnsureSolverCreated()
{
    if (GetSolverJournalSwitch().IsOn())
        OpenSolverJournalFile(&m_solverJournal);
    m_solver = new Solver(m_solverJournal, m_interaction->GetExactDragging(), false);
    m_ysk = new YSKManager(m_interaction, m_solverJournal);
}

bool UpdateManager::Configure(SolverOperation* operation, UpdateStatus& status, bool initialise)
{
    UpdateTimes::SetBuild(-1.0);
    UpdateTimes::StartYSKTime();
    const Timer timer;
    bool result = true;
    // An edit is configured once: later updates reuse its Solver, rules and start mark.
    if (!m_solver) {
        EnsureSolverCreated();
        m_solver->SetDelayAddDCalls(m_interaction->GetDelayAddDCalls());
        ConfigureManager step(m_interaction, m_solver, m_ysk, operation);
        if (initialise) {
            const bool saved = GetNewPFAlgorithm();
            SetNewPFAlgorithm(true);
            result = step.Configure(status);
            SetNewPFAlgorithm(saved);
        } else {
            result = step.ConfigureFromRelations(status);
        }
        PrepareFeatureProcedures();
        SetBlendAndShellData(step);
        if (m_startMark != 0) {
            m_interaction->DeleteMark(m_startMark);
            m_startMark = 0;
        }
        if (!initialise)
            m_startMark = m_interaction->CreateMark();
    }
    UpdateTimes::SetBuild(timer.GetElapsedSeconds());
    UpdateTimes::NotifyStatus();
    return result;
}

void UpdateManager::PrepareFeatureProcedures()
{
    if (GetHXRPFBasedAlgorithm()) {
        // Without a procedure callback the application cannot make any feature's tool body.
        const FeatureProcedureCallback procedure = m_interaction->GetFeatureProcedureCallback();
        if (!procedure)
            return;
        std::vector<int> features;
        m_solver->GetFeatures(features);
        for (int feature : features) {
            if (IsFeatureComplete(feature))
                continue;
            MappingData* mapping = new MappingData(m_interaction);
            int mappingTag = mapping->GetTag();
            int toolBody = 0;
            ResultType ignored = ResultTypeOk;
            procedure(m_interaction->GetTag(), feature, m_interaction->GetQELPartition(), toolBody,
                      mappingTag, ignored);
            m_featureToolBodies[feature] = FeatureToolBody{toolBody, mappingTag};
        }
    } else if (GetNewPFAlgorithm()) {
        for (Feature* feature : m_interaction->GetFeatures())
            if (feature->IsTreatedAsSimple() && feature->GetFeatureType() != FeatureTypeSimple) {
                ProcedureRunContext context;
                context.solver = m_solver;
                context.createToolBody = true;
                feature->RunProcedure(context);
            }
    }
}

void UpdateManager::SetBlendAndShellData(ConfigureManager& manager)
{
    m_reblendChains = manager.GetReblendChains();
    m_shellClusters = manager.GetShellClusters();
}

void UpdateManager::SetDebugPostUpdateCallback(void (*callback)(void*))
{
    UpdateTimes::SetDebugPostUpdateCallback(callback);
}

bool UpdateManager::Initialise(SolverOperation* operation, bool& solvable)
{
    UpdateStatus status = UpdateUnknown;
    const bool result = Configure(operation, status, true);
    solvable = status != UpdateSolveFailed;
    return result;
}

UpdateStatus UpdateManager::DoOperation(SolverOperation* operation, ResultType& result)
{
    result = ResultTypeFail;
    UpdateStatus status = UpdateUnknown;
    if (!operation)
        return status;
    if (Configure(operation, status, false))
        status = DoSolverOperationAndUpdateModel(operation, result);
    else if (status == UpdateSolveFailed)
        // An edit the configure finds unsolvable is a normal outcome, told by the status.
        result = ResultTypeOk;
    if (void (*debug)(void*) = UpdateTimes::GetDebugPostUpdateCallback())
        debug(this);
    return status;
}

UpdateStatus UpdateManager::DoSolverOperationAndUpdateModel(SolverOperation* operation,
                                                            ResultType& result)
{
    result = ResultTypeFail;
    UpdateStatus status = UpdateUnknown;
    if (!operation || !m_solver)
        return status;
    const int mark = m_interaction->CreateMark();
    const int solved = RunSolve(operation);
    result = static_cast<ResultType>(solved);
    if (solved == ResultTypeOk) {
        if (m_solver->GetSolveStatus() == SolveStatusSolved)
            status = PostSolverOperation(operation) ? UpdateApplied : UpdateChangeFailed;
        else
            status = UpdateSolveFailed;
    }
    // Under failure-only preview a failed update stays in the model for the application to
    // look at; otherwise only an applied update survives.
    if (mark != 0) {
        if (status != UpdateApplied && m_interaction->GetPreviewMode() != PreviewModeFailureOnly)
            m_interaction->RollToMark(mark);
        m_interaction->DeleteMark(mark);
    }
    if (!m_interaction->GetFeatures().empty()) {
        m_solver->UpdateGeometriesWithAltTopols(nullptr, true);
        const bool operating = m_interaction->GetCurrentSolverOperation() != nullptr;
        for (Feature* feature : m_interaction->GetFeatures())
            feature->CleanUp(operating && !feature->IsTreatedAsSimple());
    }
    return status;
}

int UpdateManager::RunSolve(SolverOperation* operation)
{
    UpdateTimes::SetSolve(-1.0);
    const Timer timer;
    {
        // Every update of an edit starts from the model as it was when the edit began.
        ScopedTimer step(2, "RollToMark");
        if (m_startMark != 0)
            m_interaction->RollToMark(m_startMark);
    }
    int result = ResultTypeFail;
    {
        ScopedTimer step(2, "DoOperation");
        result = operation->Solve(m_solver);
    }
    UpdateTimes::SetSolve(timer.GetElapsedSeconds());
    UpdateTimes::NotifyStatus();
    return result;
}

bool UpdateManager::CreateMark()
{
    if (m_startMark != 0)
        return false;
    m_startMark = m_interaction->CreateMark();
    return true;
}

void UpdateManager::ClearSolver()
{
    // The wrapper goes first: the manager's own nodes live in the Solver's system.
    delete m_ysk;
    m_ysk = nullptr;
    delete m_solver;
    m_solver = nullptr;
    if (m_startMark != 0) {
        m_interaction->DeleteMark(m_startMark);
        m_startMark = 0;
    }
}

void UpdateManager::Clear()
{
    ClearSolver();
    CloseSolverJournalFile(&m_solverJournal);
    for (Feature* feature : m_interaction->GetFeatures())
        if (feature->IsTreatedAsSimple())
            feature->DeleteToolBodies();
    const FeatureRemakeCallback remake = m_interaction->GetFeatureRemakeCallback();
    for (auto& entry : m_featureToolBodies) {
        const int feature = entry.first;
        FeatureToolBody& made = entry.second;
        if (made.toolBody != 0) {
            BQ_ENTITY_delete(1, &made.toolBody);
            made.toolBody = 0;
        }
        TagManager* tags = m_interaction->GetTagManager();
        MappingData* mapping = tags && made.mappingData != 0
                                   ? tags->FindMappingDataFromTag(made.mappingData)
                                   : nullptr;
        if (!mapping)
            continue;
        if (remake) {
            int remade = 0;
            ResultType ignored = ResultTypeOk;
            remake(m_interaction->GetTag(), feature, made.toolBody, made.mappingData, remade,
                   ignored);
            // A feature remade under its own tag keeps its application data where it is.
            if (remade != 0 && remade != feature)
                m_interaction->ReplaceAppFeature(feature, remade);
        }
        mapping->Destroy();
    }
    m_featureToolBodies.clear();
}

int UpdateManager::ResetSolver()
{
    Clear();
    EnsureSolverCreated();
    return m_solver && m_ysk ? ResultTypeOk : ResultTypeFail;
}

StepFaceType UpdateManager::GetStepFaceTypeForOperation(SolverOperation* operation) const
{
    const StepFaceType type = m_interaction->GetStepFaceType();
    if (type == StepFaceOff || !m_interaction->GetExactDragging() || !operation ||
        !operation->MovesWithStepFaces())
        return StepFaceOff;
    return type;
}

}  // namespace QEL
