// Gives chosen faces of a body new surfaces and re-intersects their neighbours, so that
// the body keeps its topology: every edge of a changed face becomes the intersection of
// its two faces' surfaces, every vertex the meeting point of its faces.
#pragma once

#include <BRepTools_Modification.hxx>
#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <NCollection_DataMap.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopoDS_Shape.hxx>
#include <gp_Pnt.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Trsf.hxx>

#include <string>
#include <vector>

namespace hxr::engine {

class FaceSurfaceModification : public BRepTools_Modification {
 public:
  explicit FaceSurfaceModification(const TopoDS_Shape& body);

  // The face's new surface, in the body's coordinates. `rigid` is the motion that carries
  // the old surface onto the new one when there is one: edges and vertices whose faces all
  // move by the same motion move with them instead of being re-intersected.
  // `sameParameters` says that the new surface keeps the old one's parametrisation (an
  // offset in the same frame), so the face's boundary keeps its place in parameter space.
  void SetSurface(const TopoDS_Face& face, const Handle(Geom_Surface)& surface,
                  const gp_Trsf* rigid, bool sameParameters);

  // Computes every new curve, point and vertex parameter. Returns 0, or an add-on error
  // code (a change that needs the topology to change, an unsupported case) with a reason.
  int Prepare(std::string& detail);

  // Set when the modifier asked for something that could not be made (a parameter curve).
  bool HasFailed() const { return m_failed; }

  // The faces of the prepared shape around an edge that the change can reach (an edge of a
  // changed face, or one with an end on such a face); null for any other edge.
  const TopTools_ListOfShape* FacesAround(const TopoDS_Shape& edge) const {
    return m_edgeFaces.Seek(edge);
  }

  Standard_Boolean NewSurface(const TopoDS_Face& F, Handle(Geom_Surface)& S, TopLoc_Location& L,
                              Standard_Real& Tol, Standard_Boolean& RevWires,
                              Standard_Boolean& RevFace) override;
  Standard_Boolean NewCurve(const TopoDS_Edge& E, Handle(Geom_Curve)& C, TopLoc_Location& L,
                            Standard_Real& Tol) override;
  Standard_Boolean NewPoint(const TopoDS_Vertex& V, gp_Pnt& P, Standard_Real& Tol) override;
  Standard_Boolean NewCurve2d(const TopoDS_Edge& E, const TopoDS_Face& F, const TopoDS_Edge& NewE,
                              const TopoDS_Face& NewF, Handle(Geom2d_Curve)& C,
                              Standard_Real& Tol) override;
  Standard_Boolean NewParameter(const TopoDS_Vertex& V, const TopoDS_Edge& E, Standard_Real& P,
                                Standard_Real& Tol) override;
  GeomAbs_Shape Continuity(const TopoDS_Edge& E, const TopoDS_Face& F1, const TopoDS_Face& F2,
                           const TopoDS_Edge& NewE, const TopoDS_Face& NewF1,
                           const TopoDS_Face& NewF2) override;

 private:
  struct FaceData {
    Handle(Geom_Surface) surface;
    bool rigid = false;
    gp_Trsf motion;
    bool sameParameters = false;
  };
  struct EdgeData {
    Handle(Geom_Curve) curve;
    bool rigid = false;       // moved with all its faces by `motion`
    gp_Trsf motion;
    bool keepPcurves = false;  // a seam whose surface keeps its parametrisation
    // The one face whose rigid motion carried the old curve onto the new one (the other
    // face stays and the moved curve still lies on it): on that face the edge keeps its
    // parameter curve.
    TopoDS_Shape carrier;
  };
  struct EdgeRange {
    double first = 0.0;
    double last = 0.0;
  };
  template <class T>
  using ShapeMap = NCollection_DataMap<TopoDS_Shape, T, TopTools_ShapeMapHasher>;

  Handle(Geom_Surface) SurfaceOf(const TopoDS_Shape& face) const;
  Handle(Geom_Curve) CurveOf(const TopoDS_Shape& edge) const;
  gp_Pnt PointOf(const TopoDS_Shape& vertex) const;
  // True when all the faces move by one common rigid motion, given back in `motion`.
  bool CommonMotion(const TopTools_ListOfShape& faces, gp_Trsf& motion) const;
  // The old curve of an edge between two faces, carried by the one that moves rigidly when
  // it still lies on the one that stays; null otherwise (the surfaces must be intersected).
  Handle(Geom_Curve) CarriedCurve(const Handle(Geom_Curve)& old,
                                  const std::vector<TopoDS_Shape>& faces, TopoDS_Shape& carrier) const;
  void MapAround();
  int PrepareEdge(const TopoDS_Edge& edge, std::string& detail);
  int PrepareVertex(const TopoDS_Vertex& vertex, std::string& detail);
  int PrepareRange(const TopoDS_Edge& edge, std::string& detail);
  // Where the middle of the face lies on its new surface, in the surface's parameters.
  bool MiddleOnNewSurface(const TopoDS_Face& face, gp_Pnt2d& uv);

  TopoDS_Shape m_body;
  ShapeMap<FaceData> m_faces;
  ShapeMap<EdgeData> m_edges;
  ShapeMap<gp_Pnt> m_points;
  ShapeMap<EdgeRange> m_ranges;
  ShapeMap<gp_Pnt2d> m_middles;
  TopTools_IndexedDataMapOfShapeListOfShape m_edgeFaces;
  TopTools_IndexedDataMapOfShapeListOfShape m_vertexEdges;
  TopTools_IndexedDataMapOfShapeListOfShape m_vertexFaces;
  bool m_failed = false;
};

}  // namespace hxr::engine
