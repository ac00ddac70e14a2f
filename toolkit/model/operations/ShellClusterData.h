#pragma once
// Thin-walled regions kept at their thickness: when the faces of one side of a wall move, the
// faces of the other side follow. The array of one edit only grows, so the indices stored in it
// stay valid.

#include "core/frame/QelExport.h"

#include <map>
#include <vector>

namespace QEL {

class XMLIO;

// One wall: the faces of its two sides and the thickness between them.
class QEL_API ShellClusterData {
public:
    ShellClusterData() = default;
    ShellClusterData(const std::vector<int>& side1, const std::vector<int>& side2, double thickness)
        : m_side1(side1), m_side2(side2), m_thickness(thickness)
    {
    }

    std::vector<int>& GetSide1() { return m_side1; }
    const std::vector<int>& GetSide1() const { return m_side1; }
    std::vector<int>& GetSide2() { return m_side2; }
    const std::vector<int>& GetSide2() const { return m_side2; }
    double GetThickness() const { return m_thickness; }

    // Thicknesses within 1e-8 and the same sides as multisets of faces, in either order.
    bool operator==(const ShellClusterData& other) const;
    // The element "ShellClusterData"; faces no longer in the kernel are not written.
    bool DoIO(XMLIO& xmlio);

private:
    std::vector<int> m_side1;
    std::vector<int> m_side2;
    double m_thickness = 0.0;
};

// The walls known for an edit, with the wall of each face.
class QEL_API ShellClusterDataArray {
public:
    std::vector<ShellClusterData>& GetShellClusterData() { return m_clusters; }
    // Appends the wall and indexes its faces to it, replacing an earlier wall of a face; the
    // callers test for a known wall first. Always true.
    bool AddClusterData(const ShellClusterData& cluster);
    // Whether the face is on a side of a known wall; copies the wall into cluster when given.
    bool ContainsFace(int face, ShellClusterData* cluster) const;
    // The face's wall in the array; null when it has none.
    ShellClusterData* GetClusterForFace(int face);
    int GetFaceCount() const { return static_cast<int>(m_faceIndex.size()); }

private:
    std::vector<ShellClusterData> m_clusters;
    std::map<int, int> m_faceIndex;
};

}  // namespace QEL
