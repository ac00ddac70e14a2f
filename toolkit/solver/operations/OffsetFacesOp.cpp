#include "solver/operations/OffsetFacesOp.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/Interaction.h"
#include "solver/Solver.h"

#include <brennik.h>

#include <algorithm>

namespace QEL {

OffsetFacesOp::OffsetFacesOp(Interaction* interaction, const std::vector<int>& faces, int kind)
    : SolverEvaluate(interaction), m_faces(faces), m_offsets(faces.size(), 0.0), m_kind(kind)
{
    for (int face : m_faces) {
        std::vector<int> side, partners;
        double thickness = 0.0;
        if (!m_shellClusters.ContainsFace(face, nullptr) &&
            FindShellCluster(face, &side, &partners, &thickness) && !partners.empty())
            m_shellClusters.AddClusterData(ShellClusterData(side, partners, thickness));
    }
    UpdatePartnerOffsets();
}

OffsetFacesOp::~OffsetFacesOp() { DeleteOffsetSurfaces(); }

int OffsetFacesOp::AddToSolver(Solver* solver)
{
    SolverEntry entry(*this);
    solver->AddOffsetFacesOp(this);
    // The adaptive-lift group and the relations, as any value edit.
    return SolverEvaluate::AddToSolver(solver);
}

int OffsetFacesOp::Solve(Solver* solver)
{
    // Each solve regenerates the surfaces from the faces; those of the last one go first.
    DeleteOffsetSurfaces();
    m_result = ResultTypeOk;
    PushDragValues(solver);
    solver->SolveSystem();
    return m_result;
}

bool OffsetFacesOp::SetOffsetValues(const std::vector<double>& values)
{
    if (values.size() != m_faces.size())
        return false;
    m_offsets = values;
    UpdatePartnerOffsets();
    return true;
}

int OffsetFacesOp::SetDragValue(double value)
{
    for (size_t i = 0; i < m_faces.size(); ++i) {
        if (m_kind == 1) {
            m_offsets[i] = value;
        } else if (const ShellClusterData* cluster =
                       m_shellClusters.GetClusterForFace(m_faces[i])) {
            const double change = value - cluster->GetThickness();
            m_offsets[i] = m_kind == 3 ? change * 0.5 : change;
        }
    }
    UpdatePartnerOffsets();
    return ResultTypeOk;
}

void OffsetFacesOp::UpdatePartnerOffsets()
{
    m_partnerOffsets.clear();
    for (size_t i = 0; i < m_faces.size(); ++i) {
        const ShellClusterData* cluster = m_shellClusters.GetClusterForFace(m_faces[i]);
        if (!cluster)
            continue;
        const double value = m_kind == 2 ? 0.0 : m_kind == 3 ? m_offsets[i] : -m_offsets[i];
        for (int partner : cluster->GetSide2())
            m_partnerOffsets.emplace(partner, value);
    }
}

double OffsetFacesOp::GetShellThickness(int face)
{
    const ShellClusterData* cluster = m_shellClusters.GetClusterForFace(face);
    return cluster ? cluster->GetThickness() : 0.0;
}

void OffsetFacesOp::ResetDragValues()
{
    DeleteOffsetSurfaces();
    std::fill(m_offsets.begin(), m_offsets.end(), 0.0);
    UpdatePartnerOffsets();
    m_result = 0;
    SolverEvaluate::ResetDragValues();
}

void OffsetFacesOp::GetChangedFaces(std::set<int>& forcedBlendFaces, std::set<int>& neverBlendFaces)
{
    forcedBlendFaces.clear();
    neverBlendFaces.insert(m_faces.begin(), m_faces.end());
    for (const auto& partner : m_partnerOffsets)
        neverBlendFaces.insert(partner.first);
}

void OffsetFacesOp::GetConfigureSeeds(SeedList& seeds)
{
    for (int face : m_faces)
        seeds.emplace_back(face, nullptr);
    for (const auto& partner : m_partnerOffsets)
        seeds.emplace_back(partner.first, nullptr);
    SolverEvaluate::GetConfigureSeeds(seeds);
}

int OffsetFacesOp::OffsetFace(Solver* solver, int face, double distance)
{
    std::list<Geometry*> geometries;
    if (!solver->FindGeometry(m_interaction, face, geometries))
        return 0;
    int surface = 0;
    bool agrees = true;
    if (int error = BQ_FACE_ask_oriented_surf(face, &surface, &agrees))
        return error;
    const double d = agrees ? distance : -distance;
    int copy = 0;
    if (int error = BQ_ENTITY_copy(surface, &copy))
        return error;
    m_offsetSurfaces.insert(copy);
    int offset = 0;
    int error = BQ_SURF_offset(copy, d, &offset);
    if (error == BQ_ERROR_offset_is_copy) {
        error = BQ_ENTITY_copy(copy, &offset);
    } else if (error == BQ_ERROR_offset_failed) {
        // An offset of an offset surface is taken from the surface it offsets.
        BQ_OFFSET_sf_t sf;
        int underlying = 0;
        if (BQ_OFFSET_ask(copy, &sf) != BQ_ERROR_no_errors)
            return error;
        error = BQ_ENTITY_copy(sf.underlying_surface, &underlying);
        if (!error)
            error = BQ_SURF_offset(underlying, sf.offset_distance + d, &offset);
        if (underlying)
            BQ_ENTITY_delete(1, &underlying);
    }
    if (error)
        return error;
    for (Geometry* geometry : geometries)
        geometry->SetAltGeom(offset);
    return 0;
}

bool OffsetFacesOp::MakeOffsetSurfaces(Solver* solver)
{
    if (m_faces.empty())
        return true;
    int error = 0;
    {
        // The surfaces are made in the interaction's own partition; whatever partition was
        // current before (not merely the faces' one) is current again afterwards.
        CurrentPartitionScope partition(m_interaction->GetQELPartition());
        for (size_t i = 0; i < m_faces.size() && !error; ++i)
            error = OffsetFace(solver, m_faces[i], m_offsets[i]);
        if (!error && m_kind != 2)
            // A partner's offset already carries its sign: negating it again for a two-sided
            // thickness edit would carry the whole wall along instead of thickening it.
            for (const auto& partner : m_partnerOffsets) {
                error = OffsetFace(solver, partner.first, partner.second);
                if (error)
                    break;
            }
    }
    if (!error)
        return true;
    m_result = ResultTypeOffsetFaceCausedSelfIntersection;
    return false;
}

void OffsetFacesOp::DeleteOffsetSurfaces()
{
    for (int surface : m_offsetSurfaces)
        BQ_ENTITY_delete(1, &surface);
    m_offsetSurfaces.clear();
}

}  // namespace QEL
