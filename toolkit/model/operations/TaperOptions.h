#pragma once
// The options of tapering faces: the taper method and laminar-edge types, whether shell
// partners follow, the blend faces to make again, and the edges tapered and kept normal. The
// add-on's block is made on demand and points into this object's lists.

#include "model/operations/OptionObject.h"

#include <hxr.h>

namespace QEL {

class QEL_API TaperOptions : public OptionObject<TaperOptions, ObjectTypeTaperOptions> {
public:
    static constexpr const char* s_className = "TaperOptions";
    explicit TaperOptions(Interaction* interaction);

    // Every setter records the object for rollback before a change.
    void SetTaperMethodType(TaperMethodType type);
    void SetTaperLaminarEdgeType(TaperLaminarEdgeType type);
    void SetMaintainShell(bool maintainShell);
    void SetReblends(const std::vector<int>& faces);
    void SetTaperEdges(const std::vector<int>& edges);
    void SetNormalEdges(const std::vector<int>& edges);

    bool GetMaintainShell() const { return m_maintainShell; }
    const std::vector<int>& GetReblendFaces() const { return m_reblendFaces; }
    // Valid until an edge list is next set or the object goes. A type outside its
    // enumeration gives the token of the enumeration's first value.
    void GetOptionBlock(HXR_FACE_change_taper_o_s& block);

private:
    void CopySettings(const TaperOptions& from);
    bool HasSameSettings(const TaperOptions& other) const;
    bool DoIOSettings(XMLIO& xmlio);

    std::vector<int> m_taperEdges;
    std::vector<int> m_normalEdges;
    int m_methodType = TaperMethodTypeCurve;
    int m_laminarEdgeType = TaperLaminarEdgeTypeNormal;
    std::vector<int> m_reblendFaces;
    bool m_maintainShell = true;

    friend class OptionObject<TaperOptions, ObjectTypeTaperOptions>;
};

}  // namespace QEL
