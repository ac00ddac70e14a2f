// Thin walls in the Solver: the faces of each side of a wall move together, and the sides keep
// their relative position and thickness.
#include "solver/Solver.h"

#include "core/kernel/KernelFacade.h"
#include "model/operations/ShellClusterData.h"
#include "solver/SolverNodes.h"

namespace QEL {

namespace {

// The geometry of each face of one side, in order; a face without geometry is left out, so
// that no bond is ever made on a missing node. firstFound tells whether the side's first face
// has geometry: the wall is measured between the first faces, so without it there is no wall.
std::vector<GeometryBase*> SideGeometries(Solver& solver, Interaction* interaction,
                                          const std::vector<int>& faces, bool& firstFound)
{
    std::vector<GeometryBase*> geometries;
    firstFound = false;
    for (size_t i = 0; i < faces.size(); ++i) {
        solver.AddEntityGeometry(interaction, faces[i]);
        if (Geometry* geometry = solver.FindGeometry(GeometryKey(faces[i], nullptr))) {
            geometries.push_back(geometry);
            firstFound = firstFound || i == 0;
        }
    }
    return geometries;
}

int GeometryClassOf(GeometryBase* geometry)
{
    const Geometry* model = dynamic_cast<Geometry*>(geometry);
    return model ? GetStandardGeometry(model->GetEntity(), nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr)
                 : 0;
}

bool IsAxial(int classCode)
{
    return classCode == KernelClassCylinder || classCode == KernelClassCone ||
           classCode == KernelClassSphere;
}

}  // namespace

void Solver::AddShellCluster(const ShellClusterData& cluster, Interaction* interaction)
{
    bool first1 = false;
    bool first2 = false;
    const std::vector<GeometryBase*> side1 =
        SideGeometries(*this, interaction, cluster.GetSide1(), first1);
    const std::vector<GeometryBase*> side2 =
        SideGeometries(*this, interaction, cluster.GetSide2(), first2);
    for (size_t i = 1; i < side1.size(); ++i)
        AddSameSideCoincidence(side1[0], side1[i]);
    for (size_t i = 1; i < side2.size(); ++i)
        AddSameSideCoincidence(side2[0], side2[i]);
    // The wall bonds tie the first faces of the two sides: a side without its first face (an
    // empty side among them) leaves no wall to keep.
    if (first1 && first2)
        AddShellThickness(side1[0], side2[0], cluster.GetThickness());
}

bool Solver::AddSameSideCoincidence(GeometryBase* first, GeometryBase* other)
{
    TypedBond* bond = TypedBond::CreateBinary(this, ZMR3_COINCIDENT, first, other, 0.0);
    if (!bond)
        return false;
    bond->SetDebugName("same side coincident");
    AddBond(bond);
    return true;
}

bool Solver::AddShellThickness(GeometryBase* side1, GeometryBase* side2, double thickness)
{
    if (!side1 || !side2)
        return false;
    const int classCode = GeometryClassOf(side1);
    const bool planar = classCode == KernelClassPlane;
    if (!planar && !IsAxial(classCode))
        return false;
    auto add = [&](ZMR3_d_type type, double value, const char* label) {
        TypedBond* bond = TypedBond::CreateBinary(this, type, side1, side2, value);
        if (!bond)
            return false;
        bond->SetDebugName(label);
        AddBond(bond);
        return true;
    };
    // Procedural faces are rebuilt by their feature's procedure, which holds the thickness:
    // the solver keeps only their relative position.
    if (dynamic_cast<ProceduralGeometry*>(side1) && dynamic_cast<ProceduralGeometry*>(side2))
        return add(planar ? ZMR3_PARALLEL : ZMR3_CONCENTRIC, 0.0, "thinwall info");
    bool made = false;
    if (!planar)
        made = add(ZMR3_CONCENTRIC, 0.0, "thinwall concentric");
    return add(ZMR3_DISTANCE, thickness, "thinwall thickness") || made;
}

}  // namespace QEL
