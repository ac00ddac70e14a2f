#include "model/features/MakeFeatureOptions.h"

#include "core/objects/EntityCasts.h"
#include "core/persist/ObjectReaders.h"

namespace QEL {

MakeFeatureOptions::MakeFeatureOptions(Interaction* interaction) : OptionObject(interaction)
{
    std::memset(&m_AddOnOptions, 0, sizeof m_AddOnOptions);
    m_AddOnOptions.version = 1;
}

bool MakeFeatureOptions::SetUnders(const std::vector<int>& unders, const std::vector<int>& labels,
                                   int numberOfCanonicalUnders)
{
    if (labels.size() != unders.size())
        return false;
    SetRecorded(m_Unders, unders);
    SetRecorded(m_UnderLabels, labels);
    SetRecorded(m_NumberOfCanonicalUnders, numberOfCanonicalUnders);
    return true;
}

void MakeFeatureOptions::GetUnders(std::vector<int>& unders, std::vector<int>& labels,
                                   int* numberOfCanonicalUnders) const
{
    unders = m_Unders;
    labels = m_UnderLabels;
    if (numberOfCanonicalUnders)
        *numberOfCanonicalUnders = m_NumberOfCanonicalUnders;
}

void MakeFeatureOptions::CopySettings(const MakeFeatureOptions& from)
{
    std::memcpy(&m_AddOnOptions, &from.m_AddOnOptions, sizeof m_AddOnOptions);
    m_Unders = from.m_Unders;
    m_UnderLabels = from.m_UnderLabels;
    m_NumberOfCanonicalUnders = from.m_NumberOfCanonicalUnders;
}

bool MakeFeatureOptions::HasSameSettings(const MakeFeatureOptions& other) const
{
    // Counts only: the unders are kernel tags that differ between interactions. Unders that no
    // longer exist are not counted, as a save leaves them out with their labels.
    return std::memcmp(&m_AddOnOptions, &other.m_AddOnOptions, sizeof m_AddOnOptions) == 0 &&
           LiveEntityCount(m_Unders) == LiveEntityCount(other.m_Unders) &&
           m_NumberOfCanonicalUnders == other.m_NumberOfCanonicalUnders;
}

bool MakeFeatureOptions::DoIOSettings(XMLIO& xmlio)
{
    const std::size_t count = ChildListLength(xmlio, "Under", m_Unders.size());
    if (xmlio.IsReading()) {
        m_Unders.assign(count, 0);
        m_UnderLabels.assign(count, 0);
    }
    return DoIOChildList(
               xmlio, "Under", count, SkipRemoved(m_Unders),
               [&](std::size_t i) {
                   return DoIOKernelEntity(xmlio, m_Unders[i], nullptr, "Under", "class",
                                           "bodyId") &&
                          xmlio.DoIO("label", m_UnderLabels[i]);
               }) &&
           xmlio.DoIO("NumberOfCanonicalUnders", m_NumberOfCanonicalUnders);
}

QEL_INSTALL_ENTITY_CASTS(MakeFeatureOptions)
QEL_INSTALL_OBJECT_READER(MakeFeatureOptions)

}  // namespace QEL
