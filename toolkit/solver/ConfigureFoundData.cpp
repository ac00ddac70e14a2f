// The records a configure hands to the Solver, and the array that keeps one record per face
// pattern and maps the faces of relaxed shell clusters to their record.
#include "solver/ConfigureFoundData.h"

#include <cstddef>

namespace QEL {

ConfigureFoundData::ConfigureFoundData(int kind, Object* object, bool applied, int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_object = object;
}

ConfigureFoundData::ConfigureFoundData(int kind, const ShellClusterData& cluster, bool relaxed,
                                       bool applied, int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_cluster = cluster;
    m_relaxed = relaxed;
}

ConfigureFoundData::ConfigureFoundData(int kind, const SectionClusterData& section, bool applied,
                                       int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_section = section;
}

ConfigureFoundData::ConfigureFoundData(int kind, const std::vector<int>& faces, bool applied,
                                       int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_faces = faces;
}

ConfigureFoundData::ConfigureFoundData(int kind, const ReblendData& reblend, bool applied,
                                       int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_reblend = reblend;
}

ConfigureFoundData::ConfigureFoundData(int kind, const TippingPointData& tippingPoint, bool applied,
                                       int level)
    : ConfigureFoundData(kind, applied, level)
{
    m_tippingPoint = tippingPoint;
}

ConfigureFoundData ConfigureFoundData::MakeAddOnFeature(int featureTag, bool applied, int level)
{
    ConfigureFoundData record(ConfigureFoundDataFeature, applied, level);
    record.m_featureTag = featureTag;
    return record;
}

int ConfigureFoundDataArray::Add(const ConfigureFoundData& record)
{
    if (record.GetKind() == ConfigureFoundDataFacePattern &&
        !m_patterns.insert(record.GetObject()).second)
        return -1;
    const int index = static_cast<int>(m_records.size());
    m_records.push_back(record);
    if (record.GetKind() == ConfigureFoundDataShellCluster && record.IsRelaxed()) {
        for (int face : record.GetCluster().GetSide1())
            m_shellFaces[face] = index;
        for (int face : record.GetCluster().GetSide2())
            m_shellFaces[face] = index;
    }
    return index;
}

ConfigureFoundData* ConfigureFoundDataArray::FindShellRecordOfFace(int face)
{
    const auto found = m_shellFaces.find(face);
    return found == m_shellFaces.end() ? nullptr
                                       : &m_records[static_cast<std::size_t>(found->second)];
}

}  // namespace QEL
