#include "model/operations/ReblendChain.h"

#include <algorithm>

namespace QEL {

void ReblendChain::SetFaceArray(const std::vector<int>& faces)
{
    if (&faces != &m_faces)
        m_faces = faces;
}

bool ReblendChainArray::ContainsTagAsBlend(int face, ReblendChain& chain) const
{
    const auto found = m_chainIndex.find(face);
    if (found == m_chainIndex.end())
        return false;
    chain = m_chains[static_cast<std::size_t>(found->second)];
    return true;
}

bool ReblendChainArray::ContainsTagAsBlendDependent(int face,
                                                    std::vector<ReblendChain>& chains) const
{
    const auto found = m_dependentIndex.find(face);
    if (found == m_dependentIndex.end())
        return false;
    for (int index : found->second)
        chains.push_back(m_dependentChains[static_cast<std::size_t>(index)]);
    return true;
}

bool ReblendChainArray::ContainsChain(const ReblendChain& chain) const
{
    return std::any_of(m_chains.begin(), m_chains.end(), [&chain](const ReblendChain& known) {
        return known.GetFaceArray() == chain.GetFaceArray() &&
               known.GetRadius() == chain.GetRadius();
    });
}

bool ReblendChainArray::AddChain(const ReblendChain& chain, std::vector<int>& newFaces)
{
    const std::vector<int>& faces = chain.GetFaceArray();
    const auto known = std::find_if(faces.begin(), faces.end(),
                                    [this](int face) { return ContainsTagAsBlend(face); });
    int index = 0;
    if (known != faces.end()) {
        index = m_chainIndex[*known];
    } else {
        m_chains.push_back(ReblendChain(std::vector<int>(), chain.GetRadius()));
        index = static_cast<int>(m_chains.size()) - 1;
    }
    ReblendChain& target = m_chains[static_cast<std::size_t>(index)];
    for (int face : faces) {
        if (!m_chainIndex.emplace(face, index).second)
            continue;
        target.AddFace(face);
        newFaces.push_back(face);
    }
    return true;
}

bool ReblendChainArray::AddDependentChain(int face, const ReblendChain& chain)
{
    m_dependentChains.push_back(chain);
    m_dependentIndex[face].push_back(static_cast<int>(m_dependentChains.size()) - 1);
    return true;
}

}  // namespace QEL
