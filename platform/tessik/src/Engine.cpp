#include "Engine.h"

#include "ComponentSolver.h"

#include <algorithm>
#include <cstring>

namespace tessik {

Engine::Engine(void* application, double resolution, double size)
    : m_application(application), m_resolution(resolution > 0.0 ? resolution : 1e-8), m_size(size > 0.0 ? size : 1000.0)
{
    std::memset(&m_zmr, 0, sizeof m_zmr);
    std::memset(&m_jun, 0, sizeof m_jun);
    std::memset(&m_kev, 0, sizeof m_kev);
}

Engine::~Engine()
{
    for (auto& watcher : m_watchers)
        watcher.second();
}

ComponentMemory& Engine::MemoryFor(int firstUnknown)
{
    KeptMemory& kept = m_memories[firstUnknown];
    if (kept.memory == nullptr)
        kept.memory = std::make_unique<ComponentMemory>();
    kept.used = true;
    return *kept.memory;
}

void Engine::Watch(const void* who, std::function<void()> gone) { m_watchers.emplace_back(who, std::move(gone)); }

void Engine::Unwatch(const void* who)
{
    m_watchers.erase(std::remove_if(m_watchers.begin(), m_watchers.end(), [who](const auto& w) { return w.first == who; }),
                     m_watchers.end());
}

NodeRecord* Engine::NewNode(NodeKind kind, void* app)
{
    auto node = std::make_unique<NodeRecord>();
    node->kind = kind;
    node->owner = this;
    node->app = app;
    node->id = m_nextId++;
    m_nodes.push_back(std::move(node));
    return m_nodes.back().get();
}

bool Engine::Owns(const NodeRecord* node) const { return node != nullptr && node->owner == this; }

NodeRecord* Engine::Live(const void* handle) const
{
    auto* node = reinterpret_cast<NodeRecord*>(const_cast<void*>(handle));
    return Owns(node) && node->alive ? node : nullptr;
}

NodeRecord* Engine::LiveGNode(g_node* handle) const
{
    NodeRecord* node = Live(handle);
    return node != nullptr && node->IsGNode() ? node : nullptr;
}

void Engine::CountReferences(NodeRecord* node, int delta)
{
    if (node == nullptr || !node->alive)
        return;
    for (NodeRecord* to : {node->set, node->feature, node->original, node->reference, node->geoms[0], node->geoms[1],
                           node->geoms[2]})
        if (to != nullptr)
            to->referrers += delta;
}

int Engine::Erase(NodeRecord* node)
{
    if (node == nullptr || !node->alive)
        return 0;
    Unrefer(node);
    node->alive = false;
    if (node->valueNode != nullptr)
        Erase(node->valueNode);
    if (node->kind == NodeKind::Value && node->measured != nullptr && node->measured->valueNode == node)
        node->measured->valueNode = nullptr;
    if (node->IsGNode() && node->referrers > 0) {
        for (auto& other : m_nodes) {
            if (!other->alive)
                continue;
            Unrefer(other.get());
            if (other->set == node)
                other->set = nullptr;
            if (other->feature == node)
                other->feature = nullptr;
            if (other->original == node)
                other->original = nullptr;
            if (other->reference == node)
                other->reference = nullptr;
            Refer(other.get());
            for (int i = 0; i < other->geomCount; ++i)
                if (other->geoms[i] == node && (other->IsDNode() || other->kind == NodeKind::Radius))
                    Erase(other.get());
        }
    }
    return 1;
}

int Engine::Fix(NodeRecord* node)
{
    if (node == nullptr || !node->IsGNode())
        return 0;
    node->fixed = !node->fixed;
    return 1;
}

int Engine::MoveToSet(NodeRecord* g, NodeRecord* set)
{
    if (g == nullptr || g->kind != NodeKind::Geometry || g == set)
        return 0;
    if (set != nullptr && set->kind != NodeKind::Geometry)
        return 0;
    Unrefer(g);
    g->set = set;
    Refer(g);
    return 1;
}

int Engine::MoveToFeature(NodeRecord* g, NodeRecord* feature)
{
    if (g == nullptr || g->kind != NodeKind::Geometry)
        return 0;
    if (feature != nullptr && feature->kind != NodeKind::Feature)
        return 0;
    Unrefer(g);
    g->feature = feature;
    Refer(g);
    return 1;
}

void Engine::ClearAnswers()
{
    for (auto& node : m_nodes) {
        node->status = node->IsGNode() && node->fixed ? ZMR3_G_STATUS_FIXED : 0;
        node->changeMask = 0;
        node->firstValue = node->secondValue = 0.0;
        node->hasValue = false;
        node->measuredValue = 0.0;
    }
}

ZMR3_solve_type Engine::Undo()
{
    ClearAnswers();
    m_evaluated = false;
    return ZMR3_SOLVED;
}

}  // namespace tessik
