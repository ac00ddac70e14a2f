// Deleting faces that sit in the body as a feature closed off by hole loops: a through
// hole, a boss, a blind pocket. Their whole boundary with the rest of the body is made of
// inner loops of the remaining faces, so taking them out only drops those loops from the
// faces around them; every other face stays as it is, and the cost follows the feature,
// not the body.
#pragma once

#include <BRepTools_History.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

#include <utility>
#include <vector>

namespace hxr::engine {

struct LocalDelete {
  TopoDS_Shape shape;          // the body without the faces
  BRepTools_History history;   // the faces, their edges and their lone vertices removed;
                               // each face that lost loops modified into its rebuilt face
  std::vector<std::pair<TopoDS_Face, TopoDS_Face>> rebuilt;  // (face before, face after)
};

// Removes the faces locally when the delete is local: every face lies in a solid, every
// edge of the faces runs between two of them or along an inner loop of a remaining face
// whose edges all border the faces (never its outer boundary), and no other face of the
// body comes near the room the faces and the closed loops take up. Gives false, with
// `out` left empty, when the delete is not local; the healing path then takes it.
bool RemoveFacesLocally(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                        LocalDelete& out);

}  // namespace hxr::engine
