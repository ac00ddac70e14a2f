// The update pass's side of the interaction's current operation: its update manager's edit,
// and the configure's persistent results that clearing an operation destroys. Installed while
// the library loads.
#include "core/objects/Interaction.h"
#include "solver/operations/OperationUpdating.h"
#include "update/finding/RelationFinder.h"
#include "update/pass/UpdateManager.h"
#include "update/records/FoundData.h"
#include "update/records/Rule.h"

#include <vector>

namespace QEL {

namespace {

class UpdateOperationUpdating : public OperationUpdating {
public:
    bool IsConfigured(Interaction* interaction) override
    {
        UpdateManager* manager = interaction->GetUpdateManager();
        return manager && manager->GetSolver();
    }

    bool IsStarted(Interaction* interaction) override
    {
        UpdateManager* manager = interaction->GetUpdateManager();
        return manager && manager->GetStartMark() != 0;
    }

    void ClearOrCreate(Interaction* interaction) override
    {
        if (UpdateManager* manager = interaction->GetUpdateManager())
            manager->Clear();
        else
            interaction->CreateUpdateManager();
    }

    void Clear(Interaction* interaction) override
    {
        if (UpdateManager* manager = interaction->GetUpdateManager())
            manager->Clear();
    }

    bool Initialise(Interaction* interaction, SolverOperation* operation, bool& solvable) override
    {
        interaction->CreateUpdateManager();
        UpdateManager* manager = interaction->GetUpdateManager();
        return manager && manager->Initialise(operation, solvable);
    }

    bool CreateStartMark(Interaction* interaction) override
    {
        UpdateManager* manager = interaction->GetUpdateManager();
        return manager && manager->CreateMark();
    }

    int GetStartMark(Interaction* interaction) override
    {
        UpdateManager* manager = interaction->GetUpdateManager();
        return manager ? manager->GetStartMark() : 0;
    }

    UpdateStatus DoOperation(Interaction* interaction, SolverOperation* operation,
                             ResultType& result) override
    {
        interaction->CreateUpdateManager();
        return interaction->GetUpdateManager()->DoOperation(operation, result);
    }

    UpdateStatus DoSolverOperationAndUpdateModel(Interaction* interaction,
                                                 SolverOperation* operation,
                                                 ResultType& result) override
    {
        interaction->CreateUpdateManager();
        return interaction->GetUpdateManager()->DoSolverOperationAndUpdateModel(operation, result);
    }

    // Over copies of the lists: destroying a record takes it out of the interaction's list.
    void DestroyConfigureResults(Interaction* interaction) override
    {
        const std::vector<FoundData*> foundData = interaction->GetFoundData();
        for (FoundData* found : foundData)
            found->Destroy();
        const std::vector<Rule*> rules = interaction->GetRules();
        for (Rule* rule : rules)
            if (!rule->GetApplicationDefined())
                rule->Destroy();
        if (RelationFinder* finder = RelationFinder::Of(interaction))
            finder->ClearFoundRelations(true);
    }
};

UpdateOperationUpdating s_updateOperationUpdating;

[[maybe_unused]] const bool s_updateOperationUpdatingInstalled =
    InstallOperationUpdating(&s_updateOperationUpdating);

}  // namespace

}  // namespace QEL
