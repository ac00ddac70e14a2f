#include "model/operations/TaperOptions.h"

#include "core/enums/EnumNames.h"
#include "core/objects/EntityCasts.h"
#include "core/persist/ObjectReaders.h"

namespace QEL {

TaperOptions::TaperOptions(Interaction* interaction) : OptionObject(interaction) {}

void TaperOptions::SetTaperMethodType(TaperMethodType type)
{
    SetRecorded(m_methodType, static_cast<int>(type));
}

void TaperOptions::SetTaperLaminarEdgeType(TaperLaminarEdgeType type)
{
    SetRecorded(m_laminarEdgeType, static_cast<int>(type));
}

void TaperOptions::SetMaintainShell(bool maintainShell)
{
    SetRecorded(m_maintainShell, maintainShell);
}

void TaperOptions::SetReblends(const std::vector<int>& faces)
{
    SetRecorded(m_reblendFaces, faces);
}

void TaperOptions::SetTaperEdges(const std::vector<int>& edges)
{
    SetRecorded(m_taperEdges, edges);
}

void TaperOptions::SetNormalEdges(const std::vector<int>& edges)
{
    SetRecorded(m_normalEdges, edges);
}

void TaperOptions::GetOptionBlock(HXR_FACE_change_taper_o_s& block)
{
    std::memset(&block, 0, sizeof block);
    block.version = 1;
    block.tapered_edges = ListData(m_taperEdges);
    block.n_tapered_edges = static_cast<int>(m_taperEdges.size());
    block.normal_edges = ListData(m_normalEdges);
    block.n_normal_edges = static_cast<int>(m_normalEdges.size());
    block.method = OptionToken(m_methodType, TaperMethodTypeCurve, TaperMethodTypeNormal,
                               HXR_TAPER_METHOD_curve, HXR_TAPER_METHOD_curve);
    block.laminar_edge =
        OptionToken(m_laminarEdgeType, TaperLaminarEdgeTypeNormal, TaperLaminarEdgeTypeDraw,
                    HXR_LAMINAR_EDGE_normal, HXR_LAMINAR_EDGE_normal);
}

void TaperOptions::CopySettings(const TaperOptions& from)
{
    m_taperEdges = from.m_taperEdges;
    m_normalEdges = from.m_normalEdges;
    m_methodType = from.m_methodType;
    m_laminarEdgeType = from.m_laminarEdgeType;
    m_reblendFaces = from.m_reblendFaces;
    m_maintainShell = from.m_maintainShell;
}

bool TaperOptions::HasSameSettings(const TaperOptions& other) const
{
    // Counts only: the edges and faces are kernel tags that differ between interactions. Those
    // that no longer exist are not counted, as a save leaves them out.
    return m_methodType == other.m_methodType && m_laminarEdgeType == other.m_laminarEdgeType &&
           m_maintainShell == other.m_maintainShell &&
           LiveEntityCount(m_reblendFaces) == LiveEntityCount(other.m_reblendFaces) &&
           LiveEntityCount(m_taperEdges) == LiveEntityCount(other.m_taperEdges) &&
           LiveEntityCount(m_normalEdges) == LiveEntityCount(other.m_normalEdges);
}

bool TaperOptions::DoIOSettings(XMLIO& xmlio)
{
    return DoIOEnumSetting(xmlio, "taperMethodType", m_methodType, TaperMethodTypeToString,
                           TaperMethodTypeFromString) &&
           DoIOEnumSetting(xmlio, "taperLaminarEdgeType", m_laminarEdgeType,
                           TaperLaminarEdgeTypeToString, TaperLaminarEdgeTypeFromString) &&
           xmlio.DoIO("maintainShell", m_maintainShell, true) &&
           DoIOKernelEntities(xmlio, "ReblendFace", m_reblendFaces) &&
           DoIOKernelEntities(xmlio, "TaperedEdge", m_taperEdges) &&
           DoIOKernelEntities(xmlio, "NormalEdge", m_normalEdges);
}

QEL_INSTALL_ENTITY_CASTS(TaperOptions)
QEL_INSTALL_OBJECT_READER(TaperOptions)

}  // namespace QEL
