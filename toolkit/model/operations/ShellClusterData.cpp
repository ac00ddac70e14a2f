#include "model/operations/ShellClusterData.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/Tolerance.h"
#include "core/persist/XMLIO.h"

#include <algorithm>

namespace QEL {

namespace {

bool SameFaces(const std::vector<int>& a, const std::vector<int>& b)
{
    return a.size() == b.size() && std::is_permutation(a.begin(), a.end(), b.begin());
}

}  // namespace

bool ShellClusterData::operator==(const ShellClusterData& other) const
{
    if (!IsEqualWithinTolerance(m_thickness, other.m_thickness))
        return false;
    return (SameFaces(m_side1, other.m_side1) && SameFaces(m_side2, other.m_side2)) ||
           (SameFaces(m_side1, other.m_side2) && SameFaces(m_side2, other.m_side1));
}

bool ShellClusterData::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement("ShellClusterData"))
        return false;
    const bool done = xmlio.DoIO("thickness", m_thickness, 16) &&
                      DoIOKernelEntities(xmlio, "side1Face", m_side1) &&
                      DoIOKernelEntities(xmlio, "side2Face", m_side2);
    xmlio.EndElement(true);
    return done;
}

bool ShellClusterDataArray::AddClusterData(const ShellClusterData& cluster)
{
    m_clusters.push_back(cluster);
    const int index = static_cast<int>(m_clusters.size()) - 1;
    for (const std::vector<int>* side : {&cluster.GetSide1(), &cluster.GetSide2()})
        for (int face : *side)
            m_faceIndex[face] = index;
    return true;
}

bool ShellClusterDataArray::ContainsFace(int face, ShellClusterData* cluster) const
{
    const auto found = m_faceIndex.find(face);
    if (found == m_faceIndex.end())
        return false;
    if (cluster)
        *cluster = m_clusters[static_cast<std::size_t>(found->second)];
    return true;
}

ShellClusterData* ShellClusterDataArray::GetClusterForFace(int face)
{
    const auto found = m_faceIndex.find(face);
    return found == m_faceIndex.end() ? nullptr
                                      : &m_clusters[static_cast<std::size_t>(found->second)];
}

}  // namespace QEL
