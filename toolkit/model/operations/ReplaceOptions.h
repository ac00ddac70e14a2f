#pragma once
// The options of replacing faces: edges replaced by given curves, vertices moved to given
// positions, help points on edges and vertices, the blend faces to make again, the merge and
// edge-use types and whether shell partners follow. The add-on's face-change block is built
// from them just before use and points into this object's lists and position arrays.

#include "core/maths/Position.h"
#include "model/operations/OptionObject.h"

#include <hxr.h>

namespace QEL {

// The face-change block with nothing to replace or move: the block every face change starts
// from.
QEL_API void ResetFaceChangeOptionBlock(HXR_FACE_change_o_s& block);

class QEL_API ReplaceOptions : public OptionObject<ReplaceOptions, ObjectTypeReplaceOptions> {
public:
    static constexpr const char* s_className = "ReplaceOptions";
    explicit ReplaceOptions(Interaction* interaction);

    // Every setter records the object for rollback before each change. The lengths of one
    // setter's lists are not compared: each list is kept as long as the entities it goes
    // with (see OneValuePerEntity and FirstOf), so the block never reads past a list's end.
    // Always true.
    bool SetEdgeData(const std::vector<int>& edges, const std::vector<int>& curves,
                     const std::vector<double>& tolerances, ReplaceEdgesUseType useType);
    bool SetVertexData(const std::vector<int>& vertices, const std::vector<Position>& positions,
                       const std::vector<double>& tolerances);
    bool SetEdgeHelp(const std::vector<int>& edges, const std::vector<Position>& positions);
    bool SetVertexHelp(const std::vector<int>& vertices, const std::vector<Position>& positions);
    void SetReplaceMergeType(ReplaceMergeType type);
    void SetMaintainShell(bool maintainShell);
    void SetReblends(const std::vector<int>& faces);

    bool GetMaintainShell() const { return m_maintainShell; }
    const std::vector<int>& GetReblendFaces() const { return m_reblendFaces; }
    // Version 1 and the merge token (that of no merging for a type outside the enumeration).
    void GetMergeOptionBlock(HXR_FACE_change_surface_o_s& block) const;
    // Rebuilds the face-change block from the settings; it stays valid until a setter runs,
    // the block is rebuilt or the object goes.
    void BuildChangeOptions();
    const HXR_FACE_change_o_s& GetChangeOptionBlock() const { return m_changeBlock; }

private:
    void CopySettings(const ReplaceOptions& from);
    bool HasSameSettings(const ReplaceOptions& other) const;
    bool DoIOSettings(XMLIO& xmlio);
    bool DoIOHelp(XMLIO& xmlio, const char* name, std::vector<int>& entities,
                  std::vector<Position>& positions);

    std::vector<int> m_edges;
    std::vector<int> m_curves;
    std::vector<double> m_edgeTolerances;
    std::vector<int> m_vertices;
    std::vector<Position> m_vertexPositions;
    std::vector<double> m_vertexTolerances;
    std::vector<int> m_helpEdges;
    std::vector<Position> m_helpEdgePositions;
    std::vector<int> m_helpVertices;
    std::vector<Position> m_helpVertexPositions;
    std::vector<int> m_reblendFaces;
    int m_mergeType = ReplaceMergeTypeNo;
    int m_edgesUseType = ReplaceEdgesUseTypeAttempt;
    bool m_maintainShell = true;
    HXR_FACE_change_o_s m_changeBlock;
    // x, y, z triples of the positions, made for the block.
    std::vector<double> m_vertexPositionArray;
    std::vector<double> m_helpEdgePositionArray;
    std::vector<double> m_helpVertexPositionArray;

    friend class OptionObject<ReplaceOptions, ObjectTypeReplaceOptions>;
};

}  // namespace QEL
