// Checks of the sub-shapes real bodies are mostly made of, computed in closed form: edges that
// are lines and circles on planes and cylinders, and wires of them. Each holds only when OCCT's
// check of the same sub-shape in the same context would find nothing: it tests the same
// conditions, each bounded at least as tightly. False says nothing about the sub-shape: OCCT's
// check then decides.
#pragma once

#include <Standard_Type.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Vertex.hxx>
#include <TopoDS_Wire.hxx>

namespace brennik {

// The object under the handle when it is of exactly the type (no subclass): a comparison of
// type descriptors, cheaper than a cast across libraries, and stricter.
template <class T, class Base>
const T* Exactly(const opencascade::handle<Base>& handle) {
  return !handle.IsNull() && handle->DynamicType() == STANDARD_TYPE(T) ? static_cast<const T*>(handle.get()) : nullptr;
}

// OCCT's check of the edge on the face: every curve the edge has on the face's surface lies,
// at each parameter, within the edge's tolerance of its 3D curve at the same parameter.
bool SimpleEdgeOnFaceHolds(const TopoDS_Edge& edge, const TopoDS_Face& face);

// OCCT's checks of the wire by itself and on the face: its edges form one closed chain, in
// space and in the surface's parameters, each vertex passed once (a cylinder's seam vertex
// twice, once on each side of the seam), no edge twice in one sense (a seam once in each), and
// no two edges meeting anywhere but at the vertex they share.
bool SimpleWireOnFaceHolds(const TopoDS_Wire& wire, const TopoDS_Face& face);

// OCCT's check of the vertex on the edge it bounds: each curve of the edge, in space and on
// any surface, passes at the vertex's end within the vertex's tolerance of its point. It
// evaluates any curve and surface, exactly as OCCT does, but holds only for a vertex carrying
// nothing but its point. It also covers OCCT's check of the vertex on a face holding the edge,
// which looks at the edge's curves on that face.
bool SimpleVertexOnEdgeHolds(const TopoDS_Vertex& vertex, const TopoDS_Edge& edge);

// OCCT's checks of the shell's closure and orientation: each of its edges lies on two of its
// faces, once in each sense (a seam twice on one face, once in each sense), no face is in it
// twice, and its faces hang together through their edges.
bool SimpleShellHolds(const TopoDS_Shell& shell);

}  // namespace brennik
