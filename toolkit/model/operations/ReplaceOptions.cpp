#include "model/operations/ReplaceOptions.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/persist/ObjectReaders.h"

namespace QEL {

void ResetFaceChangeOptionBlock(HXR_FACE_change_o_s& block)
{
    std::memset(&block, 0, sizeof block);
    block.version = 1;
    block.first_flag = true;
    block.second_flag = true;
    block.option = HXR_CHANGE_OPTION_default;
    block.edges_use = HXR_EDGES_USE_attempt;
}

namespace {

// The positions as x, y, z triples in the array, which the block then points at.
double* FlattenPositions(const std::vector<Position>& positions, std::vector<double>& array)
{
    array.clear();
    for (const Position& position : positions) {
        array.push_back(position.x);
        array.push_back(position.y);
        array.push_back(position.z);
    }
    return ListData(array);
}

// An edge goes with its curve: the pair is written only while both exist.
std::size_t LiveEdgeCount(const std::vector<int>& edges, const std::vector<int>& curves)
{
    std::size_t live = 0;
    for (std::size_t i = 0; i < edges.size() && i < curves.size(); ++i)
        live += IsEntity(edges[i]) && IsEntity(curves[i]);
    return live;
}

}  // namespace

ReplaceOptions::ReplaceOptions(Interaction* interaction) : OptionObject(interaction)
{
    ResetFaceChangeOptionBlock(m_changeBlock);
}

bool ReplaceOptions::SetEdgeData(const std::vector<int>& edges, const std::vector<int>& curves,
                                 const std::vector<double>& tolerances, ReplaceEdgesUseType useType)
{
    const std::size_t count = std::min(edges.size(), curves.size());
    SetRecorded(m_edges, FirstOf(edges, count));
    SetRecorded(m_curves, FirstOf(curves, count));
    SetRecorded(m_edgeTolerances, OneValuePerEntity(tolerances, count));
    SetRecorded(m_edgesUseType, static_cast<int>(useType));
    return true;
}

bool ReplaceOptions::SetVertexData(const std::vector<int>& vertices,
                                   const std::vector<Position>& positions,
                                   const std::vector<double>& tolerances)
{
    const std::size_t count = std::min(vertices.size(), positions.size());
    SetRecorded(m_vertices, FirstOf(vertices, count));
    SetRecorded(m_vertexPositions, FirstOf(positions, count));
    SetRecorded(m_vertexTolerances, OneValuePerEntity(tolerances, count));
    return true;
}

bool ReplaceOptions::SetEdgeHelp(const std::vector<int>& edges,
                                 const std::vector<Position>& positions)
{
    const std::size_t count = std::min(edges.size(), positions.size());
    SetRecorded(m_helpEdges, FirstOf(edges, count));
    SetRecorded(m_helpEdgePositions, FirstOf(positions, count));
    return true;
}

bool ReplaceOptions::SetVertexHelp(const std::vector<int>& vertices,
                                   const std::vector<Position>& positions)
{
    const std::size_t count = std::min(vertices.size(), positions.size());
    SetRecorded(m_helpVertices, FirstOf(vertices, count));
    SetRecorded(m_helpVertexPositions, FirstOf(positions, count));
    return true;
}

void ReplaceOptions::SetReplaceMergeType(ReplaceMergeType type)
{
    SetRecorded(m_mergeType, static_cast<int>(type));
}

void ReplaceOptions::SetMaintainShell(bool maintainShell)
{
    SetRecorded(m_maintainShell, maintainShell);
}

void ReplaceOptions::SetReblends(const std::vector<int>& faces)
{
    SetRecorded(m_reblendFaces, faces);
}

void ReplaceOptions::GetMergeOptionBlock(HXR_FACE_change_surface_o_s& block) const
{
    std::memset(&block, 0, sizeof block);
    block.version = 1;
    block.merge = OptionToken(m_mergeType, ReplaceMergeTypeNo, ReplaceMergeTypeOut, HXR_MERGE_no,
                              HXR_MERGE_no);
}

void ReplaceOptions::BuildChangeOptions()
{
    ResetFaceChangeOptionBlock(m_changeBlock);
    if (!m_edges.empty()) {
        m_changeBlock.n_edges = static_cast<int>(m_edges.size());
        m_changeBlock.edges = ListData(m_edges);
        m_changeBlock.curves = ListData(m_curves);
        m_changeBlock.edge_tolerances = ListData(m_edgeTolerances);
        m_changeBlock.edges_use =
            OptionToken(m_edgesUseType, ReplaceEdgesUseTypeAttempt, ReplaceEdgesUseTypeExisting,
                        HXR_EDGES_USE_attempt, HXR_EDGES_USE_attempt);
    }
    if (!m_vertices.empty()) {
        m_changeBlock.n_vertices = static_cast<int>(m_vertices.size());
        m_changeBlock.vertices = ListData(m_vertices);
        m_changeBlock.vertex_positions = FlattenPositions(m_vertexPositions, m_vertexPositionArray);
        m_changeBlock.vertex_tolerances = ListData(m_vertexTolerances);
    }
    if (!m_helpEdges.empty()) {
        m_changeBlock.n_help_edges = static_cast<int>(m_helpEdges.size());
        m_changeBlock.help_edges = ListData(m_helpEdges);
        m_changeBlock.help_edge_positions =
            FlattenPositions(m_helpEdgePositions, m_helpEdgePositionArray);
    }
    if (!m_helpVertices.empty()) {
        m_changeBlock.n_help_vertices = static_cast<int>(m_helpVertices.size());
        m_changeBlock.help_vertices = ListData(m_helpVertices);
        m_changeBlock.help_vertex_positions =
            FlattenPositions(m_helpVertexPositions, m_helpVertexPositionArray);
    }
}

void ReplaceOptions::CopySettings(const ReplaceOptions& from)
{
    m_edges = from.m_edges;
    m_curves = from.m_curves;
    m_edgeTolerances = from.m_edgeTolerances;
    m_vertices = from.m_vertices;
    m_vertexPositions = from.m_vertexPositions;
    m_vertexTolerances = from.m_vertexTolerances;
    m_helpEdges = from.m_helpEdges;
    m_helpEdgePositions = from.m_helpEdgePositions;
    m_helpVertices = from.m_helpVertices;
    m_helpVertexPositions = from.m_helpVertexPositions;
    m_reblendFaces = from.m_reblendFaces;
    m_mergeType = from.m_mergeType;
    m_edgesUseType = from.m_edgesUseType;
    m_maintainShell = from.m_maintainShell;
    // The block pointed into the lists just replaced: it describes nothing until rebuilt.
    ResetFaceChangeOptionBlock(m_changeBlock);
    m_vertexPositionArray.clear();
    m_helpEdgePositionArray.clear();
    m_helpVertexPositionArray.clear();
}

bool ReplaceOptions::HasSameSettings(const ReplaceOptions& other) const
{
    // Counts only: the entities are kernel tags that differ between interactions. Those that
    // no longer exist are not counted, as a save leaves them out.
    return m_mergeType == other.m_mergeType && m_edgesUseType == other.m_edgesUseType &&
           m_maintainShell == other.m_maintainShell &&
           LiveEntityCount(m_reblendFaces) == LiveEntityCount(other.m_reblendFaces) &&
           LiveEdgeCount(m_edges, m_curves) == LiveEdgeCount(other.m_edges, other.m_curves);
}

namespace {

bool DoIOCoordinates(XMLIO& xmlio, const char* prefix, Position& position)
{
    const std::string name(prefix);
    return xmlio.DoIO((name + "X").c_str(), position.x) &&
           xmlio.DoIO((name + "Y").c_str(), position.y) &&
           xmlio.DoIO((name + "Z").c_str(), position.z);
}

}  // namespace

bool ReplaceOptions::DoIOHelp(XMLIO& xmlio, const char* name, std::vector<int>& entities,
                              std::vector<Position>& positions)
{
    const std::size_t count = ChildListLength(xmlio, name, entities.size());
    if (xmlio.IsReading()) {
        entities.assign(count, 0);
        positions.assign(count, Position(0, 0, 0));
    }
    return DoIOChildList(xmlio, name, count, SkipRemoved(entities), [&](std::size_t i) {
        return DoIOKernelEntity(xmlio, entities[i], nullptr, "id", "class", "bodyId") &&
               DoIOCoordinates(xmlio, "help", positions[i]);
    });
}

bool ReplaceOptions::DoIOSettings(XMLIO& xmlio)
{
    if (!DoIOEnumSetting(xmlio, "mergeType", m_mergeType, ReplaceMergeTypeToString,
                         ReplaceMergeTypeFromString) ||
        !DoIOEnumSetting(xmlio, "edgeUseType", m_edgesUseType, ReplaceEdgesUseTypeToString,
                         ReplaceEdgesUseTypeFromString) ||
        !xmlio.DoIO("maintainShell", m_maintainShell, true))
        return false;

    const std::size_t edges = ChildListLength(xmlio, "EdgeData", m_edges.size());
    if (xmlio.IsReading()) {
        m_edges.assign(edges, 0);
        m_curves.assign(edges, 0);
        m_edgeTolerances.assign(edges, 0.0);
    }
    const auto edgeOrCurveRemoved = [this](std::size_t i) {
        return !IsEntity(m_edges[i]) || !IsEntity(m_curves[i]);
    };
    if (!DoIOChildList(xmlio, "EdgeData", edges, edgeOrCurveRemoved, [&](std::size_t i) {
            return DoIOKernelEntity(xmlio, m_edges[i], nullptr, "edgeId", "edgeClass",
                                    "edgeBodyId") &&
                   DoIOKernelEntity(xmlio, m_curves[i], nullptr, "curveId", "curveClass",
                                    "curveBodyId") &&
                   xmlio.DoIO("tolerance", m_edgeTolerances[i]);
        }))
        return false;

    const std::size_t vertices = ChildListLength(xmlio, "VertexData", m_vertices.size());
    if (xmlio.IsReading()) {
        m_vertices.assign(vertices, 0);
        m_vertexPositions.assign(vertices, Position(0, 0, 0));
        m_vertexTolerances.assign(vertices, 0.0);
    }
    if (!DoIOChildList(xmlio, "VertexData", vertices, SkipRemoved(m_vertices), [&](std::size_t i) {
            return DoIOKernelEntity(xmlio, m_vertices[i], nullptr, "id", "class", "bodyId") &&
                   DoIOCoordinates(xmlio, "replace", m_vertexPositions[i]) &&
                   xmlio.DoIO("tolerance", m_vertexTolerances[i]);
        }))
        return false;

    return DoIOHelp(xmlio, "EdgeHelp", m_helpEdges, m_helpEdgePositions) &&
           DoIOHelp(xmlio, "VertexHelp", m_helpVertices, m_helpVertexPositions) &&
           DoIOKernelEntities(xmlio, "ReblendFace", m_reblendFaces);
}

QEL_INSTALL_ENTITY_CASTS(ReplaceOptions)
QEL_INSTALL_OBJECT_READER(ReplaceOptions)

}  // namespace QEL
