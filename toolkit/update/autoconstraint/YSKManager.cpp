#include "update/autoconstraint/YSKManager.h"

#include "core/frame/ApiCallGuard.h"
#include "core/journal/DebugJournalSwitches.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/support/TextUtils.h"
#include "core/support/Timer.h"
#include "solver/Solver.h"
#include "update/pass/UpdateManager.h"

#include <brennik.h>

#include <map>
#include <new>
#include <set>

namespace QEL {

namespace {

// The interaction whose manager is being called; the callbacks reach its Solver through it.
// Set only while a call that may call back runs.
Interaction* s_callbackInteraction = nullptr;
// The receiver and level of the find in progress.
YSKRelationshipSink* s_currentSink = nullptr;
int s_currentFindLevel = 0;
// Set only while GetBonds runs.
bool s_copyHalfSpaces = false;
bool s_findComparison = false;
double s_yskFindTime = -1.0;
double s_bqFindTime = -1.0;
YSKManagerYSKCallCounter s_yskCallCounter;

// The journal options the manager is started with: calls and their results.
constexpr int s_journalOptions = YSK_JOURNAL_CALLS | YSK_JOURNAL_RESULTS;
// The category the manager's calls are timed under.
constexpr int s_managerTimerCategory = 2;

// A manager call prints no kernel errors: the manager's own enquiries may fail on purpose.
class PrintSwitchesCleared {
public:
    PrintSwitchesCleared() : m_arguments(s_countBQArgumentErrors), m_others(s_countBQOtherErrors)
    {
        s_countBQArgumentErrors = false;
        s_countBQOtherErrors = false;
    }
    ~PrintSwitchesCleared()
    {
        s_countBQArgumentErrors = m_arguments;
        s_countBQOtherErrors = m_others;
    }
    PrintSwitchesCleared(const PrintSwitchesCleared&) = delete;
    PrintSwitchesCleared& operator=(const PrintSwitchesCleared&) = delete;

private:
    bool m_arguments;
    bool m_others;
};

// The callback context for the length of one call.
class CallbackContext {
public:
    explicit CallbackContext(Interaction* interaction) { s_callbackInteraction = interaction; }
    ~CallbackContext() { s_callbackInteraction = nullptr; }
    CallbackContext(const CallbackContext&) = delete;
    CallbackContext& operator=(const CallbackContext&) = delete;
};

// Application pointers handed to the dimension system are always Nodes.
void* AsApplication(Node* node) { return node; }
Node* AsNode(void* application) { return static_cast<Node*>(application); }

void Put3(const Vec& v, double& x, double& y, double& z)
{
    x = v.x;
    y = v.y;
    z = v.z;
}

}  // namespace

// ---- Counters and statics ---------------------------------------------------------------------

void YSKManagerYSKCallCounter::report() const
{
    const struct {
        int value;
        const char* text;
    } lines[] = {
        {find_relationships, "<YSK::find_relationships(%i)>"},
        {get_relationships, "<YSK::get_relationships(%i)>"},
        {add_bonds, "<YSK::add_bonds(%i)>"},
        {get_bonds, "<YSK::get_bonds(%i)>"},
        {autodefine, "<YSK::autodefine(%i)>"},
        {add_desired_translation, "<YSK::add_desired_translation(%i)>"},
        {add_desired_planar_translate, "<YSK::add_desired_planar_translate(%i)>"},
        {add_desired_rotation, "<YSK::add_desired_rotation(%i)>"},
        {add_desired_general_transform, "<YSK::add_desired_general_transform(%i)>"},
    };
    for (const auto& line : lines)
        if (line.value > 0)
            std::printf(line.text, line.value);
    std::fflush(stdout);
}

YSKManagerYSKCallCounter& GetYSKCallCounter() { return s_yskCallCounter; }

void ClearYSKCallCounter() { s_yskCallCounter = YSKManagerYSKCallCounter(); }

void YSKManager::SetFindComparison(bool on) { s_findComparison = on; }
bool YSKManager::GetFindComparison() { return s_findComparison; }
double YSKManager::GetYskFindTime() { return s_yskFindTime; }
double YSKManager::GetBqFindTime() { return s_bqFindTime; }

YSK_option_relation_type YSKManager::ToYSKOptionRelationType(int relation)
{
    return relation >= 0 && relation < YSK_OPTION_RELATION_COUNT
               ? static_cast<YSK_option_relation_type>(relation)
               : YSK_OPTION_COPLANAR;
}

YSK_option_geom_type YSKManager::ToYSKOptionGeomType(int geometry)
{
    return geometry >= 0 && geometry < YSK_OPTION_GEOM_COUNT
               ? static_cast<YSK_option_geom_type>(geometry)
               : YSK_OPTION_PLANE;
}

int YSKManager::GetDTypeEndCount(int type)
{
    switch (type) {
        case ZMR3_RADIUS:
        case ZMR3_MAJOR_RADIUS:
        case ZMR3_MINOR_RADIUS:
        case ZMR3_CURVE_LENGTH:
        case ZMR3_HALF_ANGLE:
            return 1;
        case ZMR3_DISTANCE:
        case ZMR3_ANGLE:
        case ZMR3_CONCENTRIC:
        case ZMR3_PARALLEL:
        case ZMR3_PERPENDICULAR:
        case ZMR3_COINCIDENT:
        case ZMR3_TANGENT:
        case ZMR3_EQUAL_RADIUS:
        case ZMR3_DEPENDENCE:
        case ZMR3_EQUAL_PARAMETER:
        case ZMR3_EQUAL_DIRECTION:
        case ZMR3_EQUAL_CURVATURE:
        case ZMR3_EQUAL_FIRST_DERIVATIVE:
        case ZMR3_EQUAL_SECOND_DERIVATIVE:
        case ZMR3_COINCIDENT_AROUND_SPINE:
        case ZMR3_COINCIDENT_WITH_SPINE:
        case ZMR3_EQUAL_HALF_ANGLE:
            return 2;
        case ZMR3_MIDPOINT:
        case ZMR3_SYMMETRIC:
            return 3;
        default:
            return 0;
    }
}

// ---- Lifetime ---------------------------------------------------------------------------------

YSKManager::YSKManager(Interaction* interaction, FILE* journal)
    : m_interaction(interaction), m_journal(journal)
{
    s_yskFindTime = -1.0;
    s_bqFindTime = -1.0;
    s_callbackInteraction = nullptr;
    s_currentSink = nullptr;
    s_currentFindLevel = 0;
    CreateManager();
}

YSKManager::~YSKManager()
{
    if (m_manager && GetSolverJournalSwitch().IsOn() && m_file.stream)
        m_manager->journal_by_ptr(&m_file, 0, 0);
    m_file = {nullptr, nullptr, nullptr};
    m_journal = nullptr;
    delete m_manager;
    m_manager = nullptr;
    s_currentSink = nullptr;
    s_currentFindLevel = 0;
}

Solver* YSKManager::GetSolver() const
{
    UpdateManager* update = m_interaction ? m_interaction->GetUpdateManager() : nullptr;
    return update ? update->GetSolver() : nullptr;
}

void YSKManager::CreateManager()
{
    if (m_interaction)
        m_interaction->CreateUpdateManager();
    Solver* solver = GetSolver();
    m_manager = new (std::nothrow) YSK_autoconstrain_manager(
        nullptr, solver ? solver->GetDimensionSystem() : nullptr, nullptr, 1);
    if (!m_manager)
        return;
    RegisterCallbacks();
    if (GetSolverJournalSwitch().IsOn()) {
        BuildJournalRecord();
        if (m_file.stream)
            m_manager->journal_by_ptr(&m_file, s_journalOptions, 0);
    }
    m_manager->initialise();
}

void YSKManager::BuildJournalRecord()
{
    if (!m_file.stream && m_journal)
        YSK_file_construct_full(&m_file, m_journal, &std::fwrite, &std::fflush);
}

void YSKManager::ResetYSK(bool rebuild)
{
    if (m_manager)
        m_manager->reset();
    if (!rebuild)
        return;
    delete m_manager;
    m_manager = nullptr;
    CreateManager();
}

void YSKManager::JournallingOn()
{
    BuildJournalRecord();
    if (m_manager && m_file.stream)
        m_manager->journal_by_ptr(&m_file, s_journalOptions, 0);
}

// Each callback adds its own running time to the process-wide timed total.
void YSKManager::RegisterCallbacks()
{
    YSK_frustum_functions table{};
    m_manager->enquire_frustum_functions(&table);
    table.entries[YSK_FR_NEW_SINGLE_END_BOND] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnNewSingleEndBond>::Call);
    table.entries[YSK_FR_NEW_BOND] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnNewBond>::Call);
    table.entries[YSK_FR_EVENT] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnIgnoredEvent>::Call);
    table.entries[YSK_FR_FIND_G_NODE] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnFindGeometryNode>::Call);
    table.entries[YSK_FR_ENTITY_OF_GEOMETRY] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnAskEntityOfGeometry>::Call);
    table.entries[YSK_FR_INSTANCE_TRANSFORM] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnAskInstanceTransform>::Call);
    table.entries[YSK_FR_SET_GEOMETRIES] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnAskSetGeometries>::Call);
    table.entries[YSK_FR_RELATIONSHIP_FOUND] =
        YSK_frustum_entry(&TimedCallback<&YSKManager::OnRelationshipFound>::Call);
    m_manager->register_frustum_functions(&table);
}

// ---- Calls into the manager ---------------------------------------------------------------------

template <class Call>
auto YSKManager::Run(const std::string& label, int YSKManagerYSKCallCounter::*counter, Call&& call)
{
    PrintSwitchesCleared quiet;
    CallbackContext context(m_interaction);
    const Timer timer;
    ScopedTimer step(s_managerTimerCategory, label);
    const auto result = call(*m_manager);
    step.Stop();
    IncrementYSKTime(timer.GetElapsedSeconds());
    if (counter)
        ++(s_yskCallCounter.*counter);
    return result;
}

YSK_autocon_result YSKManager::AddBonds(YSK_dnode_data_s* bonds, int count)
{
    if (!m_manager)
        return YSK_RESULT_NO_SYSTEM;
    return Run(FormatString("YSK::add_bonds(b:%d)", count), nullptr,
               [&](YSK_autoconstrain_manager& m) { return m.add_bonds(nullptr, 0, bonds, count); });
}

bool YSKManager::AddBonds(RelationshipDataArray& relationships, BondDataArray& bonds,
                          UpdateStatus& status)
{
    if (relationships.Empty() && bonds.Empty())
        return true;
    if (!m_manager) {
        status = UpdateSolveFailed;
        return true;
    }
    const std::vector<YSK_dnode_data_s> bondRecords = bonds.ToYSK();
    const std::vector<YSK_dnode_data_s> relationshipRecords = relationships.ToYSK();
    const YSK_autocon_result result = Run(
        FormatString("YSK::add_bonds(r:%d b:%d)", static_cast<int>(relationships.Size()),
                     static_cast<int>(bonds.Size())),
        &YSKManagerYSKCallCounter::add_bonds, [&](YSK_autoconstrain_manager& m) {
            return m.add_bonds(relationshipRecords.empty() ? nullptr : relationshipRecords.data(),
                               static_cast<int>(relationshipRecords.size()),
                               bondRecords.empty() ? nullptr : bondRecords.data(),
                               static_cast<int>(bondRecords.size()));
        });
    if (result != YSK_RESULT_OK)
        status = UpdateSolveFailed;
    return true;
}

template <class Call>
bool YSKManager::Desired(const DesiredChangeData* change, GNode* node, UpdateStatus& status,
                         const char* label, int YSKManagerYSKCallCounter::*counter, Call&& call)
{
    if (!change || !node || !node->GetGNode())
        return false;
    if (!m_manager) {
        status = UpdateSolveFailed;
        return true;
    }
    g_node* handle = node->GetGNode();
    const YSK_change_compliance compliance = change->GetCompliance();
    if (Run(label, counter, [&](YSK_autoconstrain_manager& m) {
            return call(m, handle, compliance);
        }) != YSK_RESULT_OK)
        status = UpdateSolveFailed;
    return true;
}

namespace {

// A translation and a planar translation pass the same words: the node, a direction, the
// compliance.
template <class Call>
auto Directed(const DesiredChangeTranslateData* change, Call call)
{
    return [change, call](YSK_autoconstrain_manager& m, g_node* node,
                          YSK_change_compliance compliance) {
        double x, y, z;
        Put3(change->GetDirection(), x, y, z);
        return (m.*call)(node, x, y, z, compliance);
    };
}

}  // namespace

bool YSKManager::AddDesired(const DesiredChangeTranslateData* change, UpdateStatus& status)
{
    return Desired(change, change ? change->GetNode() : nullptr, status,
                   "YSK::add_desired_translation",
                   &YSKManagerYSKCallCounter::add_desired_translation,
                   Directed(change, &YSK_autoconstrain_manager::add_desired_translation));
}

bool YSKManager::AddDesired(const DesiredChangePlanarTranslateData* change, UpdateStatus& status)
{
    return Desired(change, change ? change->GetNode() : nullptr, status,
                   "YSK::add_desired_planar_translate",
                   &YSKManagerYSKCallCounter::add_desired_planar_translate,
                   Directed(change, &YSK_autoconstrain_manager::add_desired_planar_translate));
}

bool YSKManager::AddDesired(const DesiredChangeRotateData* change, UpdateStatus& status)
{
    return Desired(
        change, change ? change->GetNode() : nullptr, status, "YSK::add_desired_rotation",
        &YSKManagerYSKCallCounter::add_desired_rotation,
        [change](YSK_autoconstrain_manager& m, g_node* node, YSK_change_compliance compliance) {
            double px, py, pz, dx, dy, dz;
            Put3(change->GetAxisPoint(), px, py, pz);
            Put3(change->GetDirection(), dx, dy, dz);
            return m.add_desired_rotation(node, px, py, pz, dx, dy, dz, compliance);
        });
}

bool YSKManager::AddDesired(const DesiredChangeGeneralTransformData* change, UpdateStatus& status)
{
    return Desired(
        change, change ? change->GetNode() : nullptr, status, "YSK::add_desired_general_transform",
        &YSKManagerYSKCallCounter::add_desired_general_transform,
        [](YSK_autoconstrain_manager& m, g_node* node, YSK_change_compliance compliance) {
            return m.add_desired_general_transform(node, compliance);
        });
}

bool YSKManager::Autodefine(YSKRuleSource& rules, UpdateStatus& status)
{
    int toApply = 0;
    for (int i = 0; i < rules.GetRuleCount(); ++i)
        if (rules.IsToApplyInYSK(i))
            ++toApply;
    if (toApply == 0)
        return true;
    std::vector<YSK_autodefine_rule> records(static_cast<size_t>(toApply));
    size_t next = 0;
    for (int i = 0; i < rules.GetRuleCount(); ++i) {
        if (!rules.IsToApplyInYSK(i))
            continue;
        rules.MarkAppliedInYSK(i);
        if (!rules.ToYSK(i, GetSolver(), records[next++]))
            return false;
    }
    if (!m_manager) {
        status = UpdateSolveFailed;
        return true;
    }
    if (Run(FormatString("YSK::autodefine(rules:%d)", rules.GetRuleCount()),
            &YSKManagerYSKCallCounter::autodefine, [&](YSK_autoconstrain_manager& m) {
                return m.autodefine(records.data(), toApply);
            }) != YSK_RESULT_OK)
        status = UpdateSolveFailed;
    return true;
}

bool YSKManager::GetBonds(bool copyHalfSpaces, bool resetChanges)
{
    if (!m_manager)
        return false;
    const bool savedCopy = s_copyHalfSpaces;
    s_copyHalfSpaces = copyHalfSpaces;
    {
        CallbackContext context(m_interaction);
        const Timer timer;
        m_manager->get_bonds(this);
        IncrementYSKTime(timer.GetElapsedSeconds());
        ++s_yskCallCounter.get_bonds;
        if (resetChanges)
            m_manager->reset_changes();
    }
    s_copyHalfSpaces = savedCopy;
    return true;
}

ResultType YSKManager::FindRelationships(const std::vector<YSK_pointer_s>& from,
                                         const std::vector<YSK_pointer_s>& to,
                                         const std::vector<YSK_pointer_s>& third,
                                         YSK_fr_option_s* options, int level,
                                         YSKRelationshipSink* sink)
{
    PrintSwitchesCleared quiet;
    s_yskFindTime = -1.0;
    s_bqFindTime = -1.0;
    if (!m_manager)
        return ResultTypeFail;
    // The manager's enquiries of the kernel are its own: argument checking would only slow them.
    bool checking = false;
    BQ_SESSION_ask_check_arguments(&checking);
    if (checking)
        BQ_SESSION_set_check_arguments(false);
    s_currentSink = sink;
    s_currentFindLevel = level;
    YSK_autocon_result result = YSK_RESULT_OK;
    int counts[3] = {0, 0, 0};
    auto entries = [](const std::vector<YSK_pointer_s>& list) {
        return list.empty() ? nullptr : list.data();
    };
    {
        CallbackContext context(m_interaction);
        const Timer timer;
        ScopedTimer step(s_managerTimerCategory,
                         FormatString("YSK::find_relationships(f:%d t:%d)",
                                      static_cast<int>(from.size()), static_cast<int>(to.size())));
        result = m_manager->find_relationships(
            1e-8, 1e-11, options, entries(from), static_cast<int>(from.size()), entries(to),
            static_cast<int>(to.size()), entries(third), static_cast<int>(third.size()), &counts[0],
            &counts[1], &counts[2]);
        step.Stop();
        s_yskFindTime = timer.GetElapsedSeconds();
        ++s_yskCallCounter.find_relationships;
    }
    s_currentSink = nullptr;
    s_currentFindLevel = 0;
    // The kernel's own count of the parallel plane pairs the manager counted, timed against it.
    if (s_findComparison && options && options->pass == 0) {
        BQ_SESSION_set_check_arguments(false);
        const Timer timer;
        int among = 0;
        int across = 0;
        if (CountParallelPlanePairs(entries(from), static_cast<int>(from.size()), entries(to),
                                    static_cast<int>(to.size()), &among, &across) == 0 &&
            across == counts[1])
            s_bqFindTime = timer.GetElapsedSeconds();
    }
    if (checking)
        BQ_SESSION_set_check_arguments(true);
    if (s_yskFindTime > 0.0)
        IncrementYSKTime(s_yskFindTime);
    return result == YSK_RESULT_OK ? ResultTypeOk : ResultTypeFail;
}

namespace {

// What the comparison needs of an entity's surface: its class and, for a plane, its normal.
struct ComparedSurface {
    int classCode = 0;
    Dir normal;
    bool IsPlaneOrCylinder() const
    {
        return classCode == KernelClassPlane || classCode == KernelClassCylinder;
    }
    bool IsParallelPlane(const ComparedSurface& other) const
    {
        return classCode == KernelClassPlane && other.classCode == KernelClassPlane &&
               normal.IsParallel(other.normal);
    }
};

}  // namespace

int YSKManager::CountParallelPlanePairs(const YSK_pointer_s* from, int fromCount,
                                        const YSK_pointer_s* to, int toCount, int* among,
                                        int* across)
{
    if (toCount != 1 || !to || GetEntityClass(to[0].entity) != KernelClassBody)
        return 2;
    int unusedAmong = 0;
    int unusedAcross = 0;
    if (!among)
        among = &unusedAmong;
    if (!across)
        across = &unusedAcross;
    if (!from)
        fromCount = 0;
    // Each entity's geometry is asked once.
    std::map<int, ComparedSurface> surfaces;
    auto surfaceOf = [&surfaces](int entity) -> const ComparedSurface& {
        auto found = surfaces.find(entity);
        if (found == surfaces.end()) {
            ComparedSurface surface;
            Position axis;
            surface.classCode = GetStandardGeometry(entity, nullptr, nullptr, nullptr, &axis,
                                                    nullptr, nullptr, nullptr);
            surface.normal = Dir(axis.x, axis.y, axis.z);
            found = surfaces.emplace(entity, surface).first;
        }
        return found->second;
    };
    std::set<int> fromTags;
    for (int i = 0; i < fromCount; ++i)
        fromTags.insert(from[i].entity);
    std::set<int> faces;
    GetBodyFaces(to[0].entity, faces);
    for (int face : faces) {
        if (fromTags.count(face))
            continue;
        const ComparedSurface& faceSurface = surfaceOf(face);
        if (!faceSurface.IsPlaneOrCylinder())
            continue;
        for (int i = 0; i < fromCount; ++i) {
            const ComparedSurface& fromSurface = surfaceOf(from[i].entity);
            if (fromSurface.IsPlaneOrCylinder() && faceSurface.IsParallelPlane(fromSurface))
                ++*across;
        }
    }
    for (int i = 0; i < fromCount; ++i) {
        const ComparedSurface& first = surfaceOf(from[i].entity);
        if (!first.IsPlaneOrCylinder())
            continue;
        for (int j = i + 1; j < fromCount; ++j) {
            if (from[j].entity == from[i].entity)
                continue;
            const ComparedSurface& second = surfaceOf(from[j].entity);
            if (second.IsPlaneOrCylinder() && first.IsParallelPlane(second))
                ++*among;
        }
    }
    return 0;
}

int YSKManager::SetFindOption(FindRelationType relation, FindGeometryType from, FindGeometryType to,
                              bool offered)
{
    if (!m_manager)
        return YSK_RESULT_NO_SYSTEM;
    return m_manager->set_fr_option(ToYSKOptionRelationType(relation), ToYSKOptionGeomType(from),
                                    ToYSKOptionGeomType(to), offered ? 1 : 0);
}

// ---- Callbacks --------------------------------------------------------------------------------

Solver* YSKManager::ContextSolver()
{
    UpdateManager* update =
        s_callbackInteraction ? s_callbackInteraction->GetUpdateManager() : nullptr;
    return update ? update->GetSolver() : nullptr;
}

GeometryBase* YSKManager::GeometryFromEnd(Solver* solver, YSK_dimension_end_s& end,
                                          void** geometryOut)
{
    if (end.kind == YSK_END_CONSTRUCTION) {
        GeometryBase* made = solver->CreateGeometryFromYSKData(end);
        if (!made)
            return nullptr;
        made->AddToZMR();
        if (geometryOut)
            *geometryOut = AsApplication(made);
        return made;
    }
    if (end.flag == 0)
        return dynamic_cast<GeometryBase*>(AsNode(end.application));
    return nullptr;
}

void YSKManager::OnNewSingleEndBond(YSK_single_end_bond_s* record, void*, void** bondOut,
                                    void** geometryOut)
{
    Solver* solver = ContextSolver();
    if (!solver || !record)
        return;
    std::vector<GeometryBase*> geometries;
    if (GeometryBase* g = GeometryFromEnd(solver, record->end, geometryOut))
        geometries.push_back(g);
    TypedBond* bond = solver->CreateBondFromYSKData(
        record->node, static_cast<ZMR3_d_type>(record->type), geometries, record->value);
    bond->SetRigid(record->rigid == 1);
    if (bondOut)
        *bondOut = AsApplication(bond);
}

void YSKManager::OnNewBond(YSK_dnode_data_s* record, void*, void** bondOut, void** geometry1Out,
                           void** geometry2Out, void** geometry3Out)
{
    Solver* solver = ContextSolver();
    if (!solver || !record)
        return;
    void** outs[3] = {geometry1Out, geometry2Out, geometry3Out};
    const int count = GetDTypeEndCount(record->type);
    std::vector<GeometryBase*> geometries;
    for (int i = 0; i < count; ++i)
        if (GeometryBase* g = GeometryFromEnd(solver, record->ends[i], outs[i]))
            geometries.push_back(g);
    // Three-end types stay the manager's: their end geometry is the Solver's from now on.
    if (count == 3)
        return;
    if (record->type == ZMR3_ANGLE && record->ends[2].node)
        if (GeometryBase* g = GeometryFromEnd(solver, record->ends[2], outs[2]))
            geometries.push_back(g);
    const ZMR3_d_type type = static_cast<ZMR3_d_type>(record->type);
    TypedBond* bond = solver->CreateBondFromYSKData(record->node, type, geometries, record->value);
    bond->SetRigid(record->rigid == 1);
    // A drag's animation bonds keep the side the manager chose for them, and go when the
    // configure step ends.
    if (s_copyHalfSpaces && (type == ZMR3_DISTANCE || type == ZMR3_ANGLE) && record->rigid != 1) {
        for (int i = 0; i < count && i < 2; ++i)
            bond->SetHalfSpaceForGeom(i, static_cast<ZMR3_half_space>(record->ends[i].half_space));
        solver->AddYSKGeometry(bond);
    }
    if (bondOut)
        *bondOut = AsApplication(bond);
}

void YSKManager::OnIgnoredEvent(int, void*) {}

g_node* YSKManager::OnFindGeometryNode(int entity, void* instance)
{
    Solver* solver = ContextSolver();
    Geometry* geometry =
        solver ? solver->FindGeometry(GeometryKey(entity, static_cast<Instance*>(instance)))
               : nullptr;
    return geometry ? geometry->GetGNode() : nullptr;
}

void YSKManager::OnAskEntityOfGeometry(int* entity, g_node*, void* application)
{
    if (!entity)
        return;
    // Construction geometry stands for no kernel entity.
    Geometry* geometry = application ? dynamic_cast<Geometry*>(AsNode(application)) : nullptr;
    *entity = geometry ? geometry->GetEntity() : 0;
}

void YSKManager::OnAskInstanceTransform(YSK_pointer_s entity, double (*matrix)[4])
{
    if (!matrix)
        return;
    Instance* instance = static_cast<Instance*>(entity.instance);
    const Xform xform = instance ? instance->GetXform() : Xform();
    xform.Get4x4(matrix);
}

int YSKManager::OnAskSetGeometries(int* entities, void** instances, void* setApplication)
{
    Set* set = setApplication ? dynamic_cast<Set*>(AsNode(setApplication)) : nullptr;
    if (!set)
        return 0;
    const Set::Members members = set->GetGeometry();
    int count = 0;
    for (GeometryBase* member : members) {
        Geometry* geometry = dynamic_cast<Geometry*>(member);
        if (!geometry)
            continue;
        if (entities && instances) {
            entities[count] = geometry->GetEntity();
            instances[count] = geometry->GetInstance();
        }
        ++count;
    }
    return count;
}

void YSKManager::OnRelationshipFound(YSK_dnode_data_s* relationship)
{
    if (s_currentSink && relationship)
        s_currentSink->AddRelationship(s_callbackInteraction, s_currentFindLevel, *relationship);
}

bool AutodefineRules(YSKRuleSource* rules, YSKManager* manager, UpdateStatus* status)
{
    if (!rules)
        return true;
    if (!manager || !status)
        return false;
    return manager->Autodefine(*rules, *status);
}

}  // namespace QEL
