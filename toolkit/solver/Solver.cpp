#include "solver/Solver.h"

#include "core/journal/DebugJournalSwitches.h"
#include "core/journal/JournalWriter.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/ReferenceQueries.h"
#include "core/support/Environment.h"
#include "core/support/TextUtils.h"
#include "model/transaction/MappingData.h"
#include "solver/PatternStar.h"
#include "solver/RigidGroup.h"
#include "solver/SolverFeature.h"
#include "solver/Stars.h"

namespace QEL {

namespace {

// The journal file of a Solver built without a stream while journalling is allowed.
FILE* s_solverJournal = nullptr;

int InstanceOrder(Instance* instance) { return instance ? instance->GetTag() : -1; }

template <class Container>
void RemoveAndDelete(Container& nodes)
{
    for (auto* node : nodes) {
        node->RemoveFromZMR();
        delete node;
    }
    nodes.clear();
}

}  // namespace

bool GeometryKeyLess::operator()(const GeometryKey& a, const GeometryKey& b) const
{
    if (a.first != b.first)
        return a.first < b.first;
    if (a.second == b.second)
        return false;
    return InstanceOrder(a.second) < InstanceOrder(b.second);
}

bool ConstructionKeyLess::operator()(const ConstructionKey& a, const ConstructionKey& b) const
{
    const GeometryKeyLess less;
    if (less(a.first, b.first))
        return true;
    if (less(b.first, a.first))
        return false;
    return a.second < b.second;
}

void OpenSolverJournalFile(FILE** slot)
{
    if (*slot)
        return;
    DebugJournalSwitch& journal = GetSolverJournalSwitch();
    std::string name = FormatString("%sTessik_%04d.jou", journal.GetPrefix(), journal.TakeNumber());
    if (!IsJournalOpen())
        name = MakeTempFilePath(name);
    *slot = std::fopen(name.c_str(), "w");
}

void CloseSolverJournalFile(FILE** slot)
{
    if (!*slot)
        return;
    std::fclose(*slot);
    *slot = nullptr;
}

Solver::Solver(FILE* journal, bool exactDragging, bool noJournal)
{
    m_manager = new WOF_dimension_system_manager(nullptr, 1e-08, 1000.0);
    RegisterZMRFrustum();
    RegisterJUNFrustum();
    RegisterKEVFrustum();
    FILE* stream = journal;
    if (!stream && !noJournal && GetSolverJournalSwitch().IsOn()) {
        OpenSolverJournalFile(&s_solverJournal);
        stream = s_solverJournal;
    }
    if (stream) {
        ZMR3_file_construct_full(&m_journalFile, stream, &std::fwrite, &std::fflush);
        m_manager->journal_by_ptr(&m_journalFile, 7, 20);
    }
    m_exactDragging = exactDragging ? 1 : 0;
}

Solver::~Solver()
{
    // A group entered under several keys is deleted once.
    std::set<RigidGroup*> groups(m_rigidGroups.begin(), m_rigidGroups.end());
    for (auto& entry : m_rigidGroupMap)
        groups.insert(entry.second.begin(), entry.second.end());
    for (RigidGroup* group : groups)
        delete group;
    m_rigidGroups.clear();
    m_rigidGroupMap.clear();
    // Stars first: their lines leave the Sets and the system while both are still there.
    DeleteBodyStars();
    DeleteFacePatternStars();
    // The bonds, sets and geometries go with the system, which nothing evaluates again: they
    // are erased from it one by one only for a journal to record it.
    const bool journalled = m_journalFile.stream != nullptr;
    while (!m_bonds.empty()) {
        Bond* bond = m_bonds.front();
        if (journalled)
            bond->RemoveFromZMR();
        delete bond;
        m_bonds.pop_front();
    }
    while (!m_sets.empty()) {
        Set* set = m_sets.front();
        if (journalled)
            set->RemoveFromZMR();
        delete set;
        m_sets.pop_front();
    }
    RemoveAndDelete(m_proceduralRelationships);
    RemoveAndDelete(m_sectionPlanes);
    for (auto& entry : m_geometries) {
        if (journalled)
            entry.second->RemoveFromZMR();
        delete entry.second;
    }
    m_geometries.clear();
    RemoveAndDelete(m_offsets);
    RemoveAndDelete(m_features);
    m_proceduralFeatureEntities.clear();
    m_offsetFaceEntities.clear();
    RemoveAndDelete(m_constructionGeometries);
    CloseSolverJournalFile(&s_solverJournal);
    delete m_manager;
    m_manager = nullptr;
}

void Solver::AddBond(Bond* bond)
{
    if (!bond)
        return;
    bond->AddToZMR();
    m_bonds.push_back(bond);
    if (m_delayAddDCalls)
        m_delayedBonds.push_back(bond);
}

void Solver::AddDelayedBonds()
{
    if (m_delayedBonds.empty())
        return;
    m_delayAddDCalls = false;
    for (Bond* bond : m_delayedBonds)
        bond->AddToZMR();
    m_delayedBonds.clear();
    m_delayAddDCalls = true;
}

void Solver::AddSet(Set* set) { m_sets.push_back(set); }

void Solver::AddProceduralRelationship(ProceduralRelationship* relationship)
{
    m_proceduralRelationships.insert(relationship);
}

bool Solver::RemoveYSKGeometries()
{
    for (Node* node : m_yskNodes)
        node->RemoveFromZMR();
    return true;
}

Geometry* Solver::FindGeometry(const GeometryKey& key) const
{
    if (m_geometries.empty())
        return nullptr;
    const auto it = m_geometries.find(key);
    return it == m_geometries.end() ? nullptr : it->second;
}

Geometry* Solver::FindGeometry(Reference* reference) const
{
    if (!reference)
        return nullptr;
    return FindGeometry(
        GeometryKey(GetReferenceEntityTag(reference), GetReferenceInstance(reference)));
}

bool Solver::FindGeometry(Interaction* interaction, int entity, std::list<Geometry*>& found) const
{
    if (Geometry* bodyLevel = FindGeometry(GeometryKey(entity, nullptr)))
        found.push_back(bodyLevel);
    if (interaction)
        for (Instance* instance : interaction->GetInstances())
            if (Geometry* placed = FindGeometry(GeometryKey(entity, instance)))
                found.push_back(placed);
    return !found.empty();
}

void Solver::GetGeometryEntitiesByClass(std::list<Geometry*>& faces, std::list<Geometry*>& edges,
                                        std::list<Geometry*>& vertices,
                                        std::list<Geometry*>& bare) const
{
    for (const auto& entry : m_geometries) {
        Geometry* geometry = entry.second;
        if (geometry->IsProceduralGNode())
            continue;
        if (entry.first.second) {
            Geometry* bodyLevel = FindGeometry(GeometryKey(entry.first.first, nullptr));
            if (bodyLevel && bodyLevel->IsProceduralGNode())
                continue;
        }
        switch (GetEntityClass(entry.first.first)) {
            case KernelClassFace:
                faces.push_back(geometry);
                break;
            case KernelClassEdge:
                edges.push_back(geometry);
                break;
            case KernelClassVertex:
                vertices.push_back(geometry);
                break;
            case KernelClassPoint:
            case KernelClassLine:
            case KernelClassPlane:
                bare.push_back(geometry);
                break;
            default:
                break;
        }
    }
}

bool Solver::FindBondOfGeometries(GeometryBase* g, GeometryBase* other, ZMR3_d_type type)
{
    if (!g || !g->GetGNode())
        return false;
    const int count = GetDimensionSystem()->get_d_of_g(g->GetGNode(), 0, nullptr, nullptr);
    if (count <= 0)
        return false;
    std::vector<void*> apps(count);
    GetDimensionSystem()->get_d_of_g(g->GetGNode(), count, nullptr, apps.data());
    for (void* app : apps) {
        Bond* bond = dynamic_cast<Bond*>(static_cast<Node*>(app));
        ZMR3_d_type bondType;
        if (!bond || !bond->GetType(bondType) || bondType != type)
            continue;
        std::vector<GeometryBase*> geometries;
        bond->GetGeoms(&geometries);
        if (geometries.size() != 2)
            return false;
        if (geometries[0] == other || geometries[1] == other)
            return true;
    }
    return false;
}

GeometryBase* Solver::CreateSectionPlaneTempGeometry(const GeometryKey& planeKey,
                                                     Instance* sectionInstance)
{
    GeometryBase* plane = GetOrMakeGeometry(planeKey);
    if (!plane || !sectionInstance)
        return nullptr;
    Vec point;
    Dir normal;
    plane->GetLocation(point);
    plane->GetNormal(normal);
    // The plane already answers in world coordinates, placed by its own Instance; only the
    // section instance's placement is taken off, or a placed plane would be moved twice.
    const Xform toSection = sectionInstance->GetXform().GetInverse();
    toSection.TransformPoint(point);
    const Dir turned = RotateDir(toSection.rotation, normal);
    const double p[3] = {point.x, point.y, point.z};
    const double n[3] = {turned.x, turned.y, turned.z};
    SectionPlane* section = new SectionPlane(this, p, n, nullptr, sectionInstance);
    m_sectionPlanes.push_back(section);
    return section;
}

void Solver::ClearGeometryAltTopols() { UpdateGeometriesWithAltTopols(nullptr, true); }

void Solver::UpdateGeometriesWithAltTopols(MappingData* mapping, bool clear)
{
    if (!clear && !mapping)
        return;
    for (auto& entry : m_geometries) {
        Geometry* geometry = entry.second;
        int replacement = 0;
        if (clear)
            geometry->SetAltTopol(0);
        else if (mapping->FindEntry(geometry->GetEntity(), &replacement)) {
            // A removed entity leaves nothing for the system to place.
            if (replacement)
                geometry->SetAltTopol(replacement);
            else
                geometry->RemoveFromZMR();
        }
    }
}

std::string DimensionTypeToString(int kind, bool longForm)
{
    static const char* const s_short[] = {"TRN", "ROT", "GEN", "RAD"};
    static const char* const s_long[] = {"ZMR3_DT_TRANSLATION", "ZMR3_DT_AXIAL_ROTATION",
                                         "ZMR3_DT_GENERAL", "ZMR3_DT_RADIUS"};
    if (kind < 0 || kind > 3)
        return "?";
    return longForm ? s_long[kind] : s_short[kind];
}

}  // namespace QEL
