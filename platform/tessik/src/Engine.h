// The dimension system behind the ZMR3, JUN and KEV interfaces: its nodes, its
// callback tables, its journal and its evaluations.
#pragma once

#include "Geometry.h"
#include "Journal.h"
#include "Node.h"
#include "Residuals.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tessik {

struct Evaluation;
class ComponentMemory;

class Engine {
public:
    Engine(void* application, double resolution, double size);
    ~Engine();

    void* Application() const { return m_application; }
    double Resolution() const { return m_resolution; }
    double AngularResolution() const { return m_resolution * 1e-3; }
    double Size() const { return m_size; }
    Journal& GetJournal() { return m_journal; }

    // Nodes
    NodeRecord* NewNode(NodeKind kind, void* app);
    NodeRecord* LiveGNode(g_node* handle) const;  // null unless a live g-node of this system
    NodeRecord* Live(const void* handle) const;   // any live node of this system
    bool Owns(const NodeRecord* node) const;
    int Erase(NodeRecord* node);
    // Counts the references a live node holds once they are set, and stops counting them
    // before they change or the node dies.
    void Refer(NodeRecord* node) { CountReferences(node, 1); }
    void Unrefer(NodeRecord* node) { CountReferences(node, -1); }
    int Fix(NodeRecord* node);
    int MoveToSet(NodeRecord* g, NodeRecord* set);
    int MoveToFeature(NodeRecord* g, NodeRecord* feature);
    const std::vector<std::unique_ptr<NodeRecord>>& Nodes() const { return m_nodes; }

    // Tables
    ZMR3_frustum_functions& ZmrTable() { return m_zmr; }
    // The table that answers for the node.
    const ZMR3_frustum_functions& TableOf(const NodeRecord* node) const
    {
        return node != nullptr && node->answers != nullptr ? *node->answers : m_zmr;
    }
    JUN_frustum_functions& JunTable() { return m_jun; }
    KEV_frustum_functions& KevTable() { return m_kev; }

    // Evaluation
    ZMR3_solve_type Undo();
    struct DragRequest {
        NodeRecord* node = nullptr;
        int kind = ZMR3_DT_TRANSLATION;
        Rigid motion;        // rigid kinds
        double radius = 0.0; // ZMR3_DT_RADIUS
    };
    ZMR3_solve_type Evaluate(const std::vector<DragRequest>& drags, const std::vector<NodeRecord*>& held,
                             bool exact, int maxIterations, int* dragResult);
    bool Evaluated() const { return m_evaluated; }
    // What solving a component leaves for the next evaluation, found by the component's first
    // unknown. What one evaluation did not use is let go when the next one starts.
    ComponentMemory& MemoryFor(int firstUnknown);

    // Whoever keeps nodes of this system beside it (the auto-constraint manager) hears of
    // the system's end, whichever of the two goes first.
    void Watch(const void* who, std::function<void()> gone);
    void Unwatch(const void* who);

private:
    void ClearAnswers();
    void CountReferences(NodeRecord* node, int delta);
    void ApplyForcedStatuses();

    void* m_application;
    double m_resolution;
    double m_size;
    int m_nextId = 1;
    bool m_evaluated = false;
    std::vector<std::unique_ptr<NodeRecord>> m_nodes;
    ZMR3_frustum_functions m_zmr;
    JUN_frustum_functions m_jun;
    KEV_frustum_functions m_kev;
    Journal m_journal;
    std::vector<std::pair<const void*, std::function<void()>>> m_watchers;
    struct KeptMemory {
        std::unique_ptr<ComponentMemory> memory;
        bool used = false;
    };
    std::unordered_map<int, KeptMemory> m_memories;
};

}  // namespace tessik
