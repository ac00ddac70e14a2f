// Tipping points in the Solver: a point entity held on a face, and taking such points out again
// when the configure lets them go.
#include "solver/Solver.h"

#include "solver/TippingPointData.h"

#include <algorithm>

namespace QEL {

void Solver::AddTippingPoint(TippingPointData& record, Interaction* interaction)
{
    const GeometryKey pointKey(record.GetPoint(), nullptr);
    Geometry* point = nullptr;
    if (record.GetMakeGeometry()) {
        point = GetOrMakeGeometry(pointKey);
        record.SetGeometry(point);
    } else {
        AddEntityGeometry(interaction, record.GetPoint());
        point = FindGeometry(pointKey);
    }
    AddEntityGeometry(interaction, record.GetFace());
    Geometry* face = FindGeometry(GeometryKey(record.GetFace(), nullptr));
    if (!point || !face)
        return;
    TypedBond* bond =
        TypedBond::CreateTypedBond(this, ZMR3_COINCIDENT, {point, face}, 0.0, nullptr);
    if (!bond)
        return;
    bond->SetDebugName("tipping bond");
    AddBond(bond);
    if (record.GetMakeGeometry())
        record.SetBond(bond);
}

bool Solver::RemoveTippingPoints(std::vector<TippingPointData*>& records)
{
    if (records.empty() || !records.front())
        return false;
    GeometryBase* shared = records.front()->GetGeometry();
    for (TippingPointData* record : records)
        if (!shared || !record || record->GetGeometry() != shared)
            return false;
    for (TippingPointData* record : records) {
        Bond* bond = record->GetBond();
        const auto found = std::find(m_bonds.begin(), m_bonds.end(), bond);
        if (!bond || found == m_bonds.end())
            return false;
        m_bonds.erase(found);
        // A bond still waiting to be added must not be added after it is gone.
        m_delayedBonds.erase(std::remove(m_delayedBonds.begin(), m_delayedBonds.end(), bond),
                             m_delayedBonds.end());
        bond->RemoveFromZMR();
        delete bond;
        record->SetBond(nullptr);
        record->SetGeometry(nullptr);
    }
    const auto entry = m_geometries.find(GeometryKey(records.front()->GetPoint(), nullptr));
    // An entry that holds other geometry than the records shared is left alone.
    if (entry == m_geometries.end() || entry->second != shared)
        return false;
    m_geometries.erase(entry);
    if (Set* set = shared->GetSet())
        set->RemoveGeometry(shared);
    shared->RemoveFromZMR();
    delete shared;
    return true;
}

}  // namespace QEL
