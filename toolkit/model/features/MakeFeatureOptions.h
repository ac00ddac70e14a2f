#pragma once
// The options of making an add-on feature: the add-on's feature-making record and the "under"
// entities of the feature with one label each and the number of canonical unders.

#include "model/operations/OptionObject.h"

#include <hxr.h>

namespace QEL {

class QEL_API MakeFeatureOptions
    : public OptionObject<MakeFeatureOptions, ObjectTypeMakeFeatureOptions> {
public:
    static constexpr const char* s_className = "MakeFeatureOptions";
    explicit MakeFeatureOptions(Interaction* interaction);

    // Replaces both lists and the count, recorded for rollback. The lists are read index for
    // index, so lists of different lengths are refused (false, nothing changed).
    bool SetUnders(const std::vector<int>& unders, const std::vector<int>& labels,
                   int numberOfCanonicalUnders);
    void GetUnders(std::vector<int>& unders, std::vector<int>& labels,
                   int* numberOfCanonicalUnders) const;
    // The record handed to the add-on: version 1, the rest 0 at creation.
    const HXR_TOPOL_make_feat_o_s& GetAddOnOptions() const { return m_AddOnOptions; }

private:
    void CopySettings(const MakeFeatureOptions& from);
    bool HasSameSettings(const MakeFeatureOptions& other) const;
    bool DoIOSettings(XMLIO& xmlio);

    HXR_TOPOL_make_feat_o_s m_AddOnOptions;
    std::vector<int> m_Unders;
    std::vector<int> m_UnderLabels;
    int m_NumberOfCanonicalUnders = 0;

    friend class OptionObject<MakeFeatureOptions, ObjectTypeMakeFeatureOptions>;
};

}  // namespace QEL
