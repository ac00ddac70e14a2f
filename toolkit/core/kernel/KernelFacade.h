#pragma once
// The toolkit's thin wrappers of kernel calls. Each makes one or a few kernel calls, copies
// kernel arrays into the caller's container (appending; a vector is never cleared unless
// said) and frees them at once. None reports an error or throws: a failing kernel call gives
// 0, false, an empty addition or the null class 500.

#include "core/frame/QelExport.h"
#include "core/maths/Dir.h"
#include "core/maths/Position.h"
#include "core/maths/Xform.h"

#include <brennik.h>

#include <set>
#include <vector>

namespace QEL {

// Kernel class codes as the toolkit uses them.
enum KernelClass {
    KernelClassNull = 500,
    KernelClassPartition = 508,
    KernelClassAttribute = 1003,
    KernelClassCurve = 2002,
    KernelClassSurface = 2003,
    KernelClassPoint = 2501,
    KernelClassLine = 3001,
    KernelClassCircle = 3002,
    KernelClassEllipse = 3003,
    KernelClassPlane = 4001,
    KernelClassCylinder = 4002,
    KernelClassCone = 4003,
    KernelClassSphere = 4004,
    KernelClassTorus = 4005,
    KernelClassVertex = 5001,
    KernelClassEdge = 5002,
    KernelClassFace = 5004,
    KernelClassBody = 5006,
    KernelClassFin = 5010,
    KernelClassGroup = 6005,
};

// Entity tests and classes.
bool IsEntity(int tag);
bool IsGeometry(int tag);
// False also when the kernel cannot answer (no session).
bool IsApplicationItem(int tag);
bool IsPartition(int tag);
// 500 when the tag is no entity or the query fails.
int GetEntityClass(int tag);
bool IsEntityOfClass(int tag, int classCode);
bool IsFace(int tag);
bool IsEdge(int tag);
bool IsVertex(int tag);
bool IsFaceEdgeOrVertex(int tag);
bool IsPointLineOrPlane(int tag);
bool IsPointLineOrPlaneClass(int classCode);
// The kernel identifier; 0 when the tag is no entity.
int GetEntityIdentifier(int tag);
// The identifier of the add-on feature that the group is; 0 when it is none or has none.
int GetAddOnFeatureIdentifier(int group);
// Lines are searched as curves and planes as surfaces.
int FindEntityByIdentifier(int part, int classCode, int identifier);

// Copy, delete, attributes, groups.
int CopyEntity(int tag);
bool DeleteEntity(int tag);
// One kernel call for all; true when the list is empty.
bool DeleteEntities(const std::vector<int>& entities);
int GetAttributeDefinition(int attribute);
int GetAttributeOwner(int attribute);
void GetEntityAttributes(int entity, int definition, std::vector<int>* attributes);
int GetPartAttributes(int part, int definition, std::vector<int>* attributes);
// The values of the attribute's pointer field of that name.
int GetNamedPointers(int attribute, const char* fieldName, std::vector<void*>* pointers);
void GetOwningGroups(int entity, std::vector<int>* groups);
void GetGroupEntities(int group, std::vector<int>* entities);
void EmptyGroup(int group);
// The attribute definition "KALDERN/QEL_FEATURE", found or created on first use and cached.
int GetFeatureAttDefTag();
// The integer of the first feature attribute on the entity; 0 when none.
int GetFeatureAttributeTag(int entity);
// Deletes the part's feature attributes on faces; the kernel result.
int DeleteFeatureAttributes(int part);

// Topology to body, part and geometry.
int GetBodyOfTopology(int tag);
// The body owning any entity (a body itself has none); 0 when none.
int GetOwningBody(int tag);
int GetGeometryOfTopology(int tag);
int GetGeometryClassOfTopology(int tag);
int GetGeometryClass(int tag);
// The curve of an edge or surface of a face, with whether it runs along the entity.
int GetOrientedGeometry(int tag, bool* sameSense);
bool GetVertexPosition(const int* vertex, Position* position);
int FindCommonEdge(int face1, int face2);
int GetCommonEdges(int face1, int face2, std::vector<int>* edges);
int FindCommonVertex(int edge1, int edge2);
bool AreFacesAdjacent(int face1, int face2);
void GetBodyFaces(int body, std::set<int>& faces);
void GetFaceEdges(int face, std::vector<int>* edges);
void GetFaceVertices(int face, std::vector<int>* vertices);
void GetFaceEdgesAndVertices(int face, std::vector<int>* entities);
int GetEdgeFaces(int edge, std::vector<int>* faces);
int GetVertexFaces(int vertex, std::vector<int>* faces);
void GetFacesOfEdgeOrVertex(int entity, std::vector<int>* faces);
int GetNeighbourFaceSet(int face, std::set<int>& faces);
// Once per shared edge.
int GetNeighbourFaces(int face, std::vector<int>& faces);
// Clears the vector first; false on a kernel error.
bool GetPartGeometries(int part, std::vector<int>& geometries);
bool RemovePartGeometries(int part);
int CreatePointInPart(Position point, int part);
int CreateMinimumBodyForGeometry(int geometry);

// Standard-form geometry and evaluation. Returns the class code of the standard form behind
// a vertex, edge, face or geometry (0 for any other geometry); every output may be null.
int GetStandardGeometry(int entity, int* geometry, const Xform* xform, Position* location,
                        Position* axis, double* radius, double* coneHalfAngle,
                        double* torusMinorRadius);
// The standard form of a geometry whose class is known: one kernel call; false for a class
// without a standard form. Every output may be null.
bool ReadGeometryStandardForm(int geometry, int classCode, Position* location, Position* axis,
                              double* radius, double* coneHalfAngle, double* torusMinorRadius);
// The zero vector for classes without an axis.
Dir GetGeometryAxisDirection(int geometry);
Position GetPlaneLocation(int plane);
Dir GetPlaneNormal(int plane);
bool AreGeometriesCoincident(int geometry1, int geometry2);
// A kernel transform scaling the entity's radius by the change about its location; 0 when the
// new radius would not exceed the linear tolerance.
int CreateRadiusScaleTransform(int entity, double radiusChange);
void EvaluateFaceMidpoint(int face, Position* point, Dir* normal);
// Whether faceB's surface normal points along faceA's face normal.
bool CompareFaceSense(int faceA, int faceB);
Position TransformPosition(const Xform& xform, const Position& point);

// Partitions and partition marks.
int GetCurrentPartition();
int SetCurrentPartition(int partition);
int CreateEmptyPartition();
bool DeletePartition(int partition);
int GetEntityPartition(int tag);
int MakePartitionMarkWithChanges(int partition, std::vector<int>* created,
                                 std::vector<int>* modified, std::vector<int>* deleted);
int GetPrecedingPartitionMark(int mark);
// The kernel result; the current partition stays as it was.
int GoToPartitionMark(int mark);
void DeletePartitionMark(int mark);
void TransformBody(int body, int transform, double tolerance, const BQ_BODY_transform_o_t* options);

// Blend identification.
bool IdentifyBlendFace(int face, double tolerance, bool skipMutualCheck, double* radius);
bool IsMutualBlendUnder(int face, double tolerance);
void GetBlendUnderFaces(int blendFace, double tolerance, std::vector<int>* unders);
void IdentifyBlendFacesOfSet(const std::set<int>& faces, int blendKind, double tolerance,
                             bool skipMutualCheck, std::vector<int>* out);
void IdentifyBlendFacesOfFace(int face, int blendKind, double tolerance, bool skipMutualCheck,
                              std::vector<int>* out);
// The blend sets the kernel identifies from the face by the kind: each set's faces and radius.
// False when the kernel refuses.
struct BlendSet {
    std::vector<int> faces;
    double radius;
};
bool IdentifyBlendSets(int face, int blendKind, double tolerance, std::vector<BlendSet>* sets);

// Part transmit: binary when the file name's extension is ".b_b" (any case), else text.
bool TransmitParts(const std::vector<int>& parts, const char* fileName);
// The transmit format TransmitParts picks for a file name.
int GetTransmitFormat(const char* fileName);

class QEL_API Memory {
public:
    static unsigned int GetCurrentMemory();
};

}  // namespace QEL
