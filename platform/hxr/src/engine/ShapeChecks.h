// Validity checks and small measurements shared by the engine's operations.
#pragma once

#include "engine/EngineResult.h"
#include "engine/HistoryRecorder.h"
#include "engine/ReshapedFaceCheck.h"

#include <BRepTools_History.hxx>
#include <TopAbs_ShapeEnum.hxx>
#include <TopoDS_Shape.hxx>

#include <functional>
#include <string>
#include <vector>

namespace hxr::engine {

// Volume of the solids of a shape (0 for sheets).
double VolumeOf(const TopoDS_Shape& shape);
// Total area of the faces of a shape.
double AreaOf(const TopoDS_Shape& shape);
// Number of distinct sub-shapes of the type.
int CountOf(const TopoDS_Shape& shape, TopAbs_ShapeEnum type);
// True when `sub` is a sub-shape of `body` (orientation ignored).
bool ContainsSubShape(const TopoDS_Shape& body, const TopoDS_Shape& sub);
// Checks that every shape of the list is a face of the body; fills `detail` otherwise.
bool AllFacesOfBody(const TopoDS_Shape& body, const std::vector<TopoDS_Shape>& faces,
                    std::string& detail);

// Checks what an operation changed: the faces it modified, split, merged or created
// (with their edges and vertices) must be valid, every shell of a solid closed, and every
// solid of positive volume. Returns ErrorNone, or the error with a reason in `detail`.
int CheckChangedShape(const TopoDS_Shape& result, const History& history, std::string& detail);

// Checks every solid of a shape: each of its shells closed and its volume positive.
// Returns ErrorNone, or the error with a reason in `detail`.
int CheckSolids(const TopoDS_Shape& shape, std::string& detail);

// The common end of an operation: records the history from `input` to `output` (the faces
// judged by `sameFace` when given), checks the output and gives the success or failure result.
Result FinishOperation(const TopoDS_Shape& input, const TopoDS_Shape& output,
                       const BRepTools_History& history, const FaceJudge& sameFace = nullptr);

// As FinishOperation for a change that only gives faces new surfaces and re-intersects
// their neighbours: when the history keeps the topology, only the changed faces with their
// changed edges and vertices are checked (CheckReshapedFaces); otherwise everything is.
Result FinishReshape(const TopoDS_Shape& input, const TopoDS_Shape& output,
                     const BRepTools_History& history, const FaceJudge& sameFace);

// As FinishReshape for a change that names each entity it replaced with what replaced it
// (RecordReplacements): its history lists those alone, and only they are checked.
Result FinishReshape(const TopoDS_Shape& input, const TopoDS_Shape& output,
                     const std::vector<Replacement>& replaced, const FaceJudge& sameFace,
                     const RebuiltWires* rebuilt);

// Runs an operation body so that an OCCT exception becomes an add-on error.
Result GuardOperation(const std::function<Result()>& body);

}  // namespace hxr::engine
