// Solving and dragging, the solve status taken from the node statuses, and the listings from
// the dimension system's nodes back to the toolkit's.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "core/support/TextUtils.h"
#include "core/support/Timer.h"
#include "solver/Stars.h"

namespace QEL {

namespace {

// Problem classes of the node statuses; 0 for none, -1 out of range.
int GClass(int status)
{
    if (status < 0 || status > 9)
        return -1;
    switch (status) {
        case 2:
            return 1;
        case 3:
        case 4:
        case 5:
        case 6:
            return 2;
        case 7:
            return 3;
        default:
            return 0;
    }
}

int DClass(int status)
{
    if (status < 0 || status > 10)
        return -1;
    switch (status) {
        case 1:
            return 1;
        case 2:
        case 3:
        case 4:
        case 5:
            return 2;
        case 9:
            return 4;
        default:
            return 0;
    }
}

template <class H, class Lister>
int ListWithStatuses(ZMR3_dimension_system* system, Lister list, std::vector<H*>& handles,
                     std::vector<int>& statuses)
{
    const int count = list(0, nullptr);
    handles.assign(static_cast<size_t>(count > 0 ? count : 0), nullptr);
    statuses.assign(handles.size(), 0);
    if (count > 0) {
        list(count, handles.data());
        for (size_t i = 0; i < handles.size(); ++i)
            statuses[i] = system->status(handles[i]);
    }
    return count;
}

template <class Result, class H, class Lister>
void AppendListing(Lister list, std::vector<H*>* handlesOut, std::vector<Result*>& out)
{
    const int count = list(0, nullptr, nullptr);
    if (count < 1)
        return;
    std::vector<H*> handles(static_cast<size_t>(count));
    std::vector<void*> apps(static_cast<size_t>(count));
    list(count, handles.data(), apps.data());
    for (int i = 0; i < count; ++i) {
        if (handlesOut)
            handlesOut->push_back(handles[static_cast<size_t>(i)]);
        out.push_back(dynamic_cast<Result*>(static_cast<Node*>(apps[static_cast<size_t>(i)])));
    }
}

// The category the dimension system's evaluations are timed under.
constexpr int s_solverTimerCategory = 3;

// One call into the dimension system as a labelled step of the edit's timing.
template <class Call>
void Step(const std::string& label, Call&& call)
{
    ScopedTimer step(s_solverTimerCategory, label);
    call();
    step.Stop();
}

// One evaluation's reading of the kernel, ended however the evaluation ends.
class KernelReading {
public:
    explicit KernelReading(Solver& solver) : m_solver(solver) { m_solver.BeginKernelReading(); }
    ~KernelReading() { m_solver.EndKernelReading(); }
    KernelReading(const KernelReading&) = delete;
    KernelReading& operator=(const KernelReading&) = delete;

private:
    Solver& m_solver;
};

}  // namespace

SolveStatus Solver::SolveSystem()
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    Step("ZMR::undo_evaluation", [system] { system->undo_evaluation(ZMR3_UNDO_TO_INITIAL); });
    // The system reads every geometry before it regenerates anything; offset faces must then
    // already name live offset surfaces, as an edit may have deleted the last ones.
    for (SolverOffset* offset : m_offsets)
        offset->Regenerate();
    Step("DebugDumpZMR", [this] { DebugDumpZMR("re_evaluate", nullptr); });
    Step(IsTemporary() ? "ZMR::re_evaluate (tmp solver)" : "ZMR::re_evaluate", [this, system] {
        const KernelReading reading(*this);
        system->re_evaluate(0, ZMR3_EVALUATE_FULL);
    });
    EvaluateSolveStatus();
    return m_solveStatus;
}

void Solver::UndoBeforeDrag(const char* label)
{
    if (m_solveStatus == SolveStatusNotEvaluated)
        return;
    ZMR3_dimension_system* system = GetDimensionSystem();
    auto undo = [system] { system->undo_evaluation(ZMR3_UNDO_TO_INITIAL); };
    if (label)
        Step(label, undo);
    else
        undo();
}

SolveStatus Solver::FinishDrag(ZMR3_drag_result result)
{
    if (result != ZMR3_DRAG_OK)
        m_solveStatus = SolveStatusDragRefused;
    else
        EvaluateSolveStatus();
    return m_solveStatus;
}

SolveStatus Solver::DragByTranslation(g_node* node, Vec& translation)
{
    double transform[4][4] = {
        {1, 0, 0, translation.x}, {0, 1, 0, translation.y}, {0, 0, 1, translation.z}, {0, 0, 0, 1}};
    UndoBeforeDrag("ZMR::undo_evaluation(TO_INITIAL)");
    DebugDumpZMR("DragByTranslation_dynamic_evaluate", node);
    ZMR3_drag_result result = ZMR3_DRAG_OK;
    g_node* nodes[1] = {node};
    Step(FormatString("ZMR::dynamic_evaluate(%s)",
                      DimensionTypeToString(ZMR3_DT_TRANSLATION, false).c_str()),
         [&] {
             const KernelReading reading(*this);
             GetDimensionSystem()->dynamic_evaluate(
                 1, nodes, transform, &result, ZMR3_DT_TRANSLATION, ZMR3_DRAG_MODE_MINIMUM_CHANGE,
                 static_cast<ZMR3_drag_option>(m_exactDragging));
         });
    return FinishDrag(result);
}

SolveStatus Solver::DragByRadius(Geometry* geometry, double radius)
{
    UndoBeforeDrag();
    g_node* nodes[1] = {geometry ? geometry->GetGNode() : nullptr};
    DebugDumpZMR("DragByRadius_dynamic_evaluate", nodes[0]);
    ZMR3_drag_result result = ZMR3_DRAG_OK;
    ZMR3_drag_transformation kind = ZMR3_DT_RADIUS;
    Step("ZMR::dynamic_evaluate(RAD)", [&] {
        const KernelReading reading(*this);
        GetDimensionSystem()->dynamic_evaluate(1, nodes, 0, nullptr, nullptr, &radius, &result,
                                               &kind, ZMR3_DRAG_MODE_MINIMUM_CHANGE,
                                               static_cast<ZMR3_drag_option>(m_exactDragging));
    });
    return FinishDrag(result);
}

SolveStatus Solver::DragByTransform(g_node* node, double (*transform)[4],
                                    ZMR3_drag_transformation kind, g_node* second)
{
    UndoBeforeDrag();
    DebugDumpZMR("DragByTransform_dynamic_evaluate", node);
    ZMR3_drag_result result = ZMR3_DRAG_OK;
    g_node* nodes[2] = {node, second};
    Step(FormatString("ZMR::dynamic_evaluate(%s)", DimensionTypeToString(kind, false).c_str()),
         [&] {
             const KernelReading reading(*this);
             GetDimensionSystem()->dynamic_evaluate(
                 kind == ZMR3_DT_AXIAL_ROTATION ? 2 : 1, nodes, transform, &result, kind,
                 ZMR3_DRAG_MODE_MINIMUM_CHANGE, static_cast<ZMR3_drag_option>(m_exactDragging));
         });
    return FinishDrag(result);
}

void Solver::ListGNodeStatuses()
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    ListWithStatuses(
        system,
        [system](int count, g_node** nodes) { return system->list_g_nodes(count, nodes, nullptr); },
        m_gNodes, m_gStatuses);
}

void Solver::ListDNodeStatuses()
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    ListWithStatuses(
        system,
        [system](int count, d_node** nodes) { return system->list_d_nodes(count, nodes, nullptr); },
        m_dNodes, m_dStatuses);
}

bool Solver::CountUnknownGStatuses(const int* statuses, int count, int& counted)
{
    counted = 0;
    for (int i = 0; i < count; ++i)
        counted += GClass(statuses[i]) < 0 ? 1 : 0;
    return counted > 0;
}

bool Solver::CountUnknownDStatuses(const int* statuses, int count, int& counted)
{
    counted = 0;
    for (int i = 0; i < count; ++i)
        counted += DClass(statuses[i]) < 0 ? 1 : 0;
    return counted > 0;
}

void Solver::EvaluateSolveStatus()
{
    ListGNodeStatuses();
    ListDNodeStatuses();
    int unknownG = 0, unknownD = 0;
    CountUnknownGStatuses(m_gStatuses.data(), static_cast<int>(m_gStatuses.size()), unknownG);
    CountUnknownDStatuses(m_dStatuses.data(), static_cast<int>(m_dStatuses.size()), unknownD);
    int classes[5] = {0, 0, 0, 0, 0};
    for (int status : m_gStatuses)
        if (GClass(status) > 0)
            ++classes[GClass(status)];
    for (int status : m_dStatuses)
        if (DClass(status) > 0)
            ++classes[DClass(status)];
    if (classes[1] + classes[2] + classes[3] + classes[4] + unknownG + unknownD == 0)
        m_solveStatus = SolveStatusSolved;
    else if (classes[1] > 0)
        m_solveStatus = SolveStatusClassA;
    else if (classes[2] > 0)
        m_solveStatus = SolveStatusClassB;
    else if (classes[3] > 0)
        m_solveStatus = SolveStatusClassC;
    else if (classes[4] > 0)
        m_solveStatus = SolveStatusClassD;
    else
        m_solveStatus = SolveStatusNotEvaluated;
    if (m_solveStatus == SolveStatusSolved && !CheckProceduralGeometriesInSets())
        m_solveStatus = SolveStatusProceduralOutsideSets;
}

// Procedural geometry can stand outside every set only where rigid groups hold geometry.
bool Solver::CheckProceduralGeometriesInSets()
{
    if (m_rigidGroupMap.empty())
        return true;
    for (const std::set<int>* entities : {&m_offsetFaceEntities, &m_proceduralFeatureEntities})
        for (int entity : *entities)
            if (IsProceduralEntityOutsideSets(entity))
                return false;
    return true;
}

bool Solver::IsProceduralEntityOutsideSets(int entity)
{
    BodyStar* star = GetBodyStar(GetOwningBody(entity));
    if (!star)
        return false;
    std::vector<GeometryKey> keys;
    star->GetEntityKeys(entity, keys);
    for (const GeometryKey& key : keys) {
        Geometry* geometry = m_rigidGroupMap.count(key) ? FindGeometry(key) : nullptr;
        if (!geometry || !geometry->GetGNode())
            continue;
        void* setApp = nullptr;
        if (GetDimensionSystem()->get_s_of_g(geometry->GetGNode(), nullptr, &setApp) == 0)
            return true;
        if (setApp && !dynamic_cast<Set*>(static_cast<Node*>(setApp)))
            return true;
    }
    return false;
}

std::vector<GNode*> Solver::GetGNodesFromZMR(std::vector<g_node*>* handles)
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    std::vector<GNode*> out;
    AppendListing<GNode>(
        [system](int c, g_node** n, void** a) { return system->list_g_nodes(c, n, a); }, handles,
        out);
    return out;
}

std::vector<GNode*> Solver::GetPassiveGNodesFromZMR(std::vector<g_node*>* handles)
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    std::vector<GNode*> out;
    AppendListing<GNode>(
        [system](int c, g_node** n, void** a) { return system->list_passive_g_nodes(c, n, a); },
        handles, out);
    return out;
}

std::vector<Bond*> Solver::GetBondsFromZMR(std::vector<d_node*>* handles)
{
    ZMR3_dimension_system* system = GetDimensionSystem();
    std::vector<Bond*> out;
    AppendListing<Bond>(
        [system](int c, d_node** n, void** a) { return system->list_d_nodes(c, n, a); }, handles,
        out);
    // r-nodes join the same listing; their handles are handed out through the d-node type.
    std::vector<r_node*> rHandles;
    AppendListing<Bond>(
        [system](int c, r_node** n, void** a) { return system->list_r_nodes(c, n, a); },
        handles ? &rHandles : nullptr, out);
    if (handles)
        for (r_node* r : rHandles)
            handles->push_back(reinterpret_cast<d_node*>(r));
    return out;
}

}  // namespace QEL
