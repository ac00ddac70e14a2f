#pragma once
// The toolkit's one door to the auto-constraint manager. The wrapper builds the manager over
// the Solver's dimension system, converts the toolkit's records into the manager's, and
// answers the manager's callbacks: the bonds and construction geometry it reports become the
// Solver's own nodes, standing for the nodes the manager made. Every call into the manager is
// timed into the update's auto-constraint time and counted.
//
// A manager that could not be made is never called: each call then fails as the manager's
// own failure would, without counting.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"
#include "update/autoconstraint/AutoConstraintRecords.h"

#include <ysk.h>

#include <cstdio>
#include <string>
#include <vector>

namespace QEL {

class GeometryBase;
class Interaction;
class Solver;
class TypedBond;

// The calls into the manager, counted after each returns whatever its result.
struct QEL_API YSKManagerYSKCallCounter {
    int find_relationships = 0;
    int get_relationships = 0;
    int add_bonds = 0;
    int get_bonds = 0;
    int autodefine = 0;
    int add_desired_translation = 0;
    int add_desired_planar_translate = 0;
    int add_desired_rotation = 0;
    int add_desired_general_transform = 0;

    // Prints each counter above zero as "<YSK::name(count)>", in this order, without line
    // breaks, then flushes standard output.
    void report() const;
};

QEL_API YSKManagerYSKCallCounter& GetYSKCallCounter();
QEL_API void ClearYSKCallCounter();

// The rules of one autodefine, as the configure step holds them. The converted records point
// back into the rules, so the manager's answers land there.
class YSKRuleSource {
public:
    virtual ~YSKRuleSource() = default;
    virtual int GetRuleCount() const = 0;
    // Whether the rule is one the manager applies.
    virtual bool IsToApplyInYSK(int index) const = 0;
    virtual void MarkAppliedInYSK(int index) = 0;
    // False when the rule cannot be put into the manager's terms.
    virtual bool ToYSK(int index, Solver* solver, YSK_autodefine_rule& record) = 0;
};

// Where the relationships of a find go, one record at a time, with the find's interaction
// and level.
class YSKRelationshipSink {
public:
    virtual ~YSKRelationshipSink() = default;
    virtual void AddRelationship(Interaction* interaction, int level,
                                 const YSK_dnode_data_s& relationship) = 0;
};

class YSKManager {
public:
    YSKManager(Interaction* interaction, FILE* journal);
    ~YSKManager();
    YSKManager(const YSKManager&) = delete;
    YSKManager& operator=(const YSKManager&) = delete;

    // Whether the manager exists.
    bool HasManager() const { return m_manager != nullptr; }
    // Resets the manager; with rebuild, replaces it by a new one.
    void ResetYSK(bool rebuild);
    // Journals the manager's calls into the stream, whatever the solver-journal switch says.
    void JournallingOn();

    // The records as given; no counter.
    YSK_autocon_result AddBonds(YSK_dnode_data_s* bonds, int count);
    // True; UpdateSolveFailed into the status when the manager refuses. Two empty arrays make
    // no call.
    bool AddBonds(RelationshipDataArray& relationships, BondDataArray& bonds, UpdateStatus& status);
    // False, with no call, for a missing record, node or dimension-system node; else true,
    // with UpdateSolveFailed into the status when the manager refuses.
    bool AddDesired(const DesiredChangeTranslateData* change, UpdateStatus& status);
    bool AddDesired(const DesiredChangePlanarTranslateData* change, UpdateStatus& status);
    bool AddDesired(const DesiredChangeRotateData* change, UpdateStatus& status);
    bool AddDesired(const DesiredChangeGeneralTransformData* change, UpdateStatus& status);
    // Applies the rules that are for the manager, marking each; false, with no call, when one
    // does not convert (the rules marked so far stay marked).
    bool Autodefine(YSKRuleSource& rules, UpdateStatus& status);
    // Has the manager report every bond made since its last reset of changes; the Solver
    // adopts them. With copyHalfSpaces, non-rigid distances and angles take the manager's half
    // spaces and are listed for removal when the configure step ends. With resetChanges the
    // manager then forgets what it reported; the nodes stay. False without a manager.
    bool GetBonds(bool copyHalfSpaces, bool resetChanges);
    // Reports the relationships among the entries to the sink; ResultTypeFail when the
    // manager fails.
    ResultType FindRelationships(const std::vector<YSK_pointer_s>& from,
                                 const std::vector<YSK_pointer_s>& to,
                                 const std::vector<YSK_pointer_s>& third, YSK_fr_option_s* options,
                                 int level, YSKRelationshipSink* sink);
    // What the manager answers; YSK_RESULT_NO_SYSTEM without a manager.
    int SetFindOption(FindRelationType relation, FindGeometryType from, FindGeometryType to,
                      bool offered);

    // The kernel's own count, for comparison with a find, of the parallel plane pairs among the
    // from entities (among) and between a from entity and another face of the one body given
    // as to (across); cylinders are looked at but never count. 2, counting nothing, unless to
    // is exactly one body; else 0.
    static int CountParallelPlanePairs(const YSK_pointer_s* from, int fromCount,
                                       const YSK_pointer_s* to, int toCount, int* among,
                                       int* across);

    static YSK_option_relation_type ToYSKOptionRelationType(int relation);
    static YSK_option_geom_type ToYSKOptionGeomType(int geometry);
    // Number of geometry ends of a bond type: 1, 2, 3, or 0 for a type without ends.
    static int GetDTypeEndCount(int type);

    QEL_API static void SetFindComparison(bool on);
    QEL_API static bool GetFindComparison();
    // Seconds of the last find, -1.0 before one has been measured.
    QEL_API static double GetYskFindTime();
    QEL_API static double GetBqFindTime();

private:
    void CreateManager();
    void RegisterCallbacks();
    void BuildJournalRecord();
    Solver* GetSolver() const;
    // Runs one timed, counted call into the manager with the callback context set.
    template <class Call>
    auto Run(const std::string& label, int YSKManagerYSKCallCounter::*counter, Call&& call);
    // The frame of the desired changes: no call for a missing node or dimension-system node.
    template <class Call>
    bool Desired(const DesiredChangeData* change, GNode* node, UpdateStatus& status,
                 const char* label, int YSKManagerYSKCallCounter::*counter, Call&& call);

    static void OnNewSingleEndBond(YSK_single_end_bond_s* bond, void* client, void** bondOut,
                                   void** geometryOut);
    static void OnNewBond(YSK_dnode_data_s* bond, void* client, void** bondOut, void** geometry1Out,
                          void** geometry2Out, void** geometry3Out);
    static void OnIgnoredEvent(int event, void* client);
    static g_node* OnFindGeometryNode(int entity, void* instance);
    static void OnAskEntityOfGeometry(int* entity, g_node* node, void* application);
    static void OnAskInstanceTransform(YSK_pointer_s entity, double (*matrix)[4]);
    static int OnAskSetGeometries(int* entities, void** instances, void* setApplication);
    static void OnRelationshipFound(YSK_dnode_data_s* relationship);
    static GeometryBase* GeometryFromEnd(Solver* solver, YSK_dimension_end_s& end,
                                         void** geometryOut);
    static Solver* ContextSolver();

    YSK_autoconstrain_manager* m_manager = nullptr;
    Interaction* m_interaction;
    YSK_file m_file = {nullptr, nullptr, nullptr};
    FILE* m_journal;
};

// The manager's autodefine of the rules that are for it; true with no rules, false with no
// manager or status, or when a rule cannot be put into the manager's terms.
bool AutodefineRules(YSKRuleSource* rules, YSKManager* manager, UpdateStatus* status);

}  // namespace QEL
