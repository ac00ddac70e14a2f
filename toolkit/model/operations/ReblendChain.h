#pragma once
// Chains of blend faces that must be made again when a face they run along changes, and the
// reblend requests handed to the solver. The arrays of one edit only grow: chains are appended,
// never removed or reordered, so the indices stored in them stay valid.

#include "core/frame/QelExport.h"

#include <map>
#include <vector>

namespace QEL {

// One chain of blend faces, in order, and its radius (0.0: the present radius is kept).
class QEL_API ReblendChain {
public:
    ReblendChain() = default;
    ReblendChain(const std::vector<int>& faces, double radius) : m_faces(faces), m_radius(radius) {}

    double GetRadius() const { return m_radius; }
    void SetRadius(double radius) { m_radius = radius; }
    unsigned GetFaceArrayCount() const { return static_cast<unsigned>(m_faces.size()); }
    // 0 for an index out of range.
    int GetFace(unsigned index) const { return index < m_faces.size() ? m_faces[index] : 0; }
    std::vector<int>& GetFaceArray() { return m_faces; }
    const std::vector<int>& GetFaceArray() const { return m_faces; }
    void SetFaceArray(const std::vector<int>& faces);
    void AddFace(int face) { m_faces.push_back(face); }

private:
    std::vector<int> m_faces;
    double m_radius = 0.0;
};

// The chains known for an edit: each face is in at most one chain, and a face may have chains
// that depend on it without containing it.
class QEL_API ReblendChainArray {
public:
    std::vector<ReblendChain>& GetReblendChainVector() { return m_chains; }
    bool ContainsTagAsBlend(int face) const { return m_chainIndex.count(face) != 0; }
    // Copies the face's chain into chain when there is one.
    bool ContainsTagAsBlend(int face, ReblendChain& chain) const;
    bool ContainsTagAsBlendDependent(int face) const { return m_dependentIndex.count(face) != 0; }
    // Appends a copy of every chain that depends on the face, first recorded first.
    bool ContainsTagAsBlendDependent(int face, std::vector<ReblendChain>& chains) const;
    // A known chain with the same faces in the same order and exactly the same radius.
    bool ContainsChain(const ReblendChain& chain) const;
    // Merges the chain into the first known chain that holds one of its faces: the faces not
    // yet known are appended to that chain (whose radius stays) and to newFaces. A chain none
    // of whose faces is known is appended whole, its faces to newFaces. Always true.
    bool AddChain(const ReblendChain& chain, std::vector<int>& newFaces);
    // Records a chain that depends on the face; its faces are not indexed as blends. Always true.
    bool AddDependentChain(int face, const ReblendChain& chain);
    // Faces in chains plus dependent chains: room to reserve for the changes they make.
    int GetFaceAndDependentCount() const
    {
        return static_cast<int>(m_chainIndex.size() + m_dependentChains.size());
    }

private:
    std::vector<ReblendChain> m_chains;
    std::vector<ReblendChain> m_dependentChains;
    std::map<int, int> m_chainIndex;
    std::map<int, std::vector<int>> m_dependentIndex;
};

// A reblend request: the face it concerns, the faces of the reblend, the radius and whether
// the solver holds that radius with a bond.
class QEL_API ReblendData {
public:
    ReblendData() = default;
    ReblendData(int face, const std::vector<int>& faces, double radius, bool radiusBond)
        : m_face(face), m_faces(faces), m_radius(radius), m_radiusBond(radiusBond)
    {
    }

    int GetFace() const { return m_face; }
    const std::vector<int>& GetFaces() const { return m_faces; }
    double GetRadius() const { return m_radius; }
    bool GetRadiusBond() const { return m_radiusBond; }

private:
    int m_face = 0;
    std::vector<int> m_faces;
    double m_radius = 0.0;
    bool m_radiusBond = false;
};

}  // namespace QEL
