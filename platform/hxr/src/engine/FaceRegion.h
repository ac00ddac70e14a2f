// The part of a body that a change of some faces' surfaces can reach, found either by one pass
// over the body's wires or, when the body's adjacency is at hand, from the changed faces alone.
#pragma once

#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopTools_IndexedMapOfShape.hxx>
#include <TopTools_MapOfShape.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <utility>
#include <vector>

namespace hxr::engine {

// A face of a body around some of its faces.
struct NeighbourFace {
  TopoDS_Face face;
  // It holds a vertex of those faces that ends none of their edges it holds (a vertex where it
  // meets them at a point alone): only then must its wires be searched for vertices as well
  // as edges.
  bool atVertexAlone = false;
  // How many edges of those faces it holds: a face met along edges alone has been searched
  // once its wires holding that many are found.
  int sharedEdges = 0;
};

// What a body knows of how its faces meet, so that a change asks for the faces around the
// faces it changes instead of passing over every face of the body.
class FaceNeighbours {
 public:
  virtual ~FaceNeighbours() = default;
  // The faces of the body that share an edge or a vertex with any of `faces` (the given faces
  // among them), each once, in an order that depends on the body alone. False when a given
  // face is no face of the body.
  virtual bool Around(const std::vector<TopoDS_Face>& faces, std::vector<NeighbourFace>& around) const = 0;
  // How many faces the body has.
  virtual int FaceCount() const = 0;
};

// The adjacency of a body measured once from its shape, for a caller that changes the same
// body more than once (or keeps it beside the body), answering in the body's face order.
class ShapeNeighbours : public FaceNeighbours {
 public:
  explicit ShapeNeighbours(const TopoDS_Shape& body);
  bool Around(const std::vector<TopoDS_Face>& faces, std::vector<NeighbourFace>& around) const override;
  int FaceCount() const override { return m_faces.Extent(); }

 private:
  TopTools_IndexedMapOfShape m_faces;
  TopTools_IndexedDataMapOfShapeListOfShape m_edgeFaces, m_vertexFaces;
};

// The changed faces, and each face that shares an edge or a vertex with them cut down to the
// wires that do. Every edge and vertex the change moves lies on these faces, and every face
// around such an edge or vertex is among them, so re-intersecting the region alone gives what
// re-intersecting the whole body would, at a cost that follows the changed faces rather than
// the body.
struct Region {
  TopoDS_Compound compound;
  TopTools_MapOfShape edges, vertices;  // of the changed faces
  // The region holds most of the body's faces: cutting the body up and putting it back
  // together would cost more than re-making it whole.
  bool whole = false;
  // Some changed face is no face of the body.
  bool strangers = false;
  // (face of the body, the face as it goes into the region: itself or its cut-down copy)
  std::vector<std::pair<TopoDS_Face, TopoDS_Face>> faces;
};

// The region of `changed` (faces of `shape`). With `neighbours` (the adjacency of `shape`
// itself) only the faces around the changed ones are looked at; without, every wire of the
// body is passed over once.
Region RegionAround(const TopoDS_Shape& shape, const TopTools_MapOfShape& changed,
                    const FaceNeighbours* neighbours);

}  // namespace hxr::engine
