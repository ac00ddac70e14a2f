#pragma once
// Bonds: the solver nodes of dimensions and constraints between geometries, the toolkit's
// counterparts of the dimension system's d-nodes (two or three geometries) and r-nodes (one).
// A bond does not own its geometries.

#include "solver/SolverNodes.h"

#include <vector>

namespace QEL {

class PatternNode;
class RTNode;

class TypedBond;
class DirectedDistanceBond;

class Bond : public Node {
public:
    Bond(Solver* solver, const std::vector<GeometryBase*>& geometries);
    Bond* AsBond() override { return this; }
    // The bond as the kinds the callbacks read, else null (see Node::AsBond).
    virtual TypedBond* AsTypedBond() { return nullptr; }
    virtual DirectedDistanceBond* AsDirectedDistance() { return nullptr; }
    std::string ToString() override { return "Bond"; }
    // The node's ZMR3_d_node_status; 0 when not added.
    virtual int GetStatus() = 0;
    virtual bool SetValue(double) { return false; }
    virtual bool GetType(ZMR3_d_type&) { return false; }
    virtual bool GetValue(double&) { return false; }
    virtual bool SetRigid(bool) { return false; }
    virtual bool GetRigid(bool&) { return false; }

    // Null for an index outside the list.
    GeometryBase* GetGeom(int index) const;
    // Resizes the vector to the bond's count, copies the geometries and returns the count.
    int GetGeoms(std::vector<GeometryBase*>* geometries) const;
    int GetGeomCount() const { return static_cast<int>(m_geometries.size()); }

protected:
    void AddGeometries();
    // Erases the d-node, clears the handle.
    void RemoveDNode();
    int DNodeStatus();

    std::vector<GeometryBase*> m_geometries;
};

class TypedBond : public Bond {
public:
    // existing: a node the auto-constraint manager already made for this bond (the bond then
    // counts as added), or null.
    TypedBond(Solver* solver, ZMR3_d_type type, const std::vector<GeometryBase*>& geometries,
              double value, void* existing);
    TypedBond* AsTypedBond() override { return this; }
    static TypedBond* CreateTypedBond(Solver* solver, ZMR3_d_type type,
                                      const std::vector<GeometryBase*>& geometries, double value,
                                      void* existing);
    static TypedBond* CreateBinary(Solver* solver, ZMR3_d_type type, GeometryBase* first,
                                   GeometryBase* second, double value);

    // One geometry: an r-node; two: a d-node; three: a d-node on the first two for a distance
    // or angle (the third reaches the system through the callbacks), on all three for a
    // symmetry; any other combination makes no node. Adds nothing while the Solver delays.
    void AddToZMR() override;
    void RemoveFromZMR() override;
    std::string ToString() override;
    int GetStatus() override;
    bool SetValue(double value) override;
    bool GetType(ZMR3_d_type& type) override;
    bool GetValue(double& value) override;
    bool SetRigid(bool rigid) override;
    bool GetRigid(bool& rigid) override;

    // Radius, major and minor radius and half angle are r-nodes; every other type a d-node.
    bool IsRNodeType() const;
    bool SetHalfSpaceForGeom(int index, ZMR3_half_space halfSpace);
    bool GetHalfSpaceForGeom(int index, ZMR3_half_space& halfSpace) const;
    bool GetHalfSpaceForGeom(GeometryBase* geometry, ZMR3_half_space& halfSpace) const;
    // Equal-radius bonds only: the geometry's minor radius takes part instead of its major one.
    bool SetEqualRadiusMinorRadiusForGeom(int index);
    bool GetEqualRadiusMinorRadiusForGeom(int index) const;
    bool GetEqualRadiusMinorRadiusForGeom(GeometryBase* geometry) const;
    d_node* GetDNode() const { return IsRNodeType() ? nullptr : static_cast<d_node*>(m_handle); }
    r_node* GetRNode() const { return IsRNodeType() ? static_cast<r_node*>(m_handle) : nullptr; }

protected:
    int IndexOf(GeometryBase* geometry) const;

    ZMR3_d_type m_type;
    double m_value;
    bool m_rigid = true;
    std::vector<bool> m_equalRadiusMinor;
    std::vector<ZMR3_half_space> m_halfSpaces;
};

// A distance between the first two geometries measured along the direction of the third, or
// along a fixed direction when one is set.
class DirectedDistanceBond : public TypedBond {
public:
    using TypedBond::TypedBond;
    DirectedDistanceBond* AsDirectedDistance() override { return this; }
    static DirectedDistanceBond* CreateDirectedDistanceBond(
        Solver* solver, ZMR3_d_type type, const std::vector<GeometryBase*>& geometries,
        double value);
    std::string ToString() override { return "DirectedDistanceBond"; }
    bool GetDirection(double direction[3]) const;
    void SetDirection(const double direction[3]);
    GeometryBase* GetDirectionGeom() const;

private:
    bool m_hasDirection = false;
    double m_direction[3] = {0.0, 0.0, 0.0};
};

// An angle between the first two geometries measured in the plane of the third.
class PlanarAngleBond : public TypedBond {
public:
    using TypedBond::TypedBond;
    static PlanarAngleBond* CreatePlanarAngleBond(Solver* solver, ZMR3_d_type type,
                                                  const std::vector<GeometryBase*>& geometries,
                                                  double value, void* existing);
    std::string ToString() override { return "PlanarAngleBond"; }
    GeometryBase* GetPlaneGeom() const;
    // The present angle from the first direction to the second, turning positively about the
    // third geometry's direction, in [0, 2 pi); 0 when a direction is missing.
    static double MeasureAngle(const std::vector<GeometryBase*>& geometries);
};

// The spacing value of a pattern node, as an r-node on it.
class PatternSpacing : public Bond {
public:
    PatternSpacing(Solver* solver, PatternNode* pattern, double value);
    void AddToZMR() override;
    void RemoveFromZMR() override;
    std::string ToString() override { return "PatternSpacing"; }
    int GetStatus() override;
    bool SetValue(double value) override;
    bool GetValue(double& value) override;
    bool SetRigid(bool rigid) override;
    bool GetRigid(bool& rigid) override;

private:
    PatternNode* m_pattern;
    double m_value;
    bool m_rigid = true;
};

// The second geometry is the first carried a number of steps by the pattern.
class PatternConstraint : public Bond {
public:
    // Null unless there are exactly two geometries.
    static PatternConstraint* CreatePatternConstraint(Solver* solver, PatternNode* pattern,
                                                      int steps,
                                                      const std::vector<GeometryBase*>& geometries);
    void AddToZMR() override;
    void RemoveFromZMR() override { RemoveDNode(); }
    std::string ToString() override { return "PatternConstraint"; }
    int GetStatus() override { return DNodeStatus(); }
    int GetSteps() const { return m_steps; }
    PatternNode* GetPattern() const { return m_pattern; }

private:
    PatternConstraint(Solver* solver, PatternNode* pattern, int steps,
                      const std::vector<GeometryBase*>& geometries);
    PatternNode* m_pattern;
    int m_steps;
};

// The second geometry is the first carried by the relative transform; the flag ties the shape.
class RTConstraint : public Bond {
public:
    static RTConstraint* CreateRTConstraint(Solver* solver, RTNode* transform,
                                            const std::vector<GeometryBase*>& geometries,
                                            bool flag);
    void AddToZMR() override;
    void RemoveFromZMR() override { RemoveDNode(); }
    std::string ToString() override { return "RTConstraint"; }
    int GetStatus() override { return DNodeStatus(); }
    bool GetFlag() const { return m_flag; }

private:
    RTConstraint(Solver* solver, RTNode* transform, const std::vector<GeometryBase*>& geometries,
                 bool flag);
    RTNode* m_transform;
    bool m_flag;
};

// A geometry that moves with the procedural object of a procedural geometry.
class ProceduralRelationship : public Bond {
public:
    static ProceduralRelationship* CreateProceduralRelationship(Solver* solver, GeometryBase* first,
                                                                GeometryBase* second);
    // Does not add the geometries: its makers add both first.
    void AddToZMR() override;
    void RemoveFromZMR() override { RemoveDNode(); }
    std::string ToString() override { return "ProcRel"; }
    int GetStatus() override { return DNodeStatus(); }

private:
    using Bond::Bond;
};

}  // namespace QEL
