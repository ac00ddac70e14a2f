// Topology enquiries of the kernel facade: bodies, owning bodies, adjacency and free geometry.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"

namespace QEL {

namespace {

int AskTag(int (*query)(int, int*), int tag)
{
    int answer = 0;
    return query(tag, &answer) == BQ_ERROR_no_errors ? answer : 0;
}

void AppendList(int (*query)(int, int*, int**), int tag, std::vector<int>* out)
{
    KernelArray<int> found;
    if (query(tag, found.Count(), found.Slot()) == BQ_ERROR_no_errors) {
        out->reserve(out->size() + found.Size());
        found.AppendTo(*out);
    }
}

bool IsSubclass(int classCode, int super)
{
    bool answer = false;
    return BQ_CLASS_is_subclass(classCode, super, &answer) == BQ_ERROR_no_errors && answer;
}

}  // namespace

int GetBodyOfTopology(int tag)
{
    switch (GetEntityClass(tag)) {
        case KernelClassVertex:
            return AskTag(BQ_VERTEX_ask_body, tag);
        case KernelClassEdge:
            return AskTag(BQ_EDGE_ask_body, tag);
        case KernelClassFace:
            return AskTag(BQ_FACE_ask_body, tag);
        default:
            return 0;
    }
}

int GetOwningBody(int tag)
{
    if (!IsEntity(tag))
        return 0;
    const int classCode = GetEntityClass(tag);
    switch (classCode) {
        case KernelClassVertex:
        case KernelClassEdge:
        case KernelClassFace:
            return GetBodyOfTopology(tag);
        case KernelClassAttribute:
            return GetOwningBody(GetAttributeOwner(tag));
        case KernelClassGroup:
            return AskTag(BQ_GROUP_ask_part, tag);
        default:
            break;
    }
    int part = 0;
    if (IsSubclass(classCode, KernelClassCurve))
        part = AskTag(BQ_CURVE_ask_part, tag);
    else if (IsSubclass(classCode, KernelClassSurface))
        part = AskTag(BQ_SURF_ask_part, tag);
    else if (classCode == KernelClassPoint)
        part = AskTag(BQ_POINT_ask_part, tag);
    return GetEntityClass(part) == KernelClassBody ? part : 0;
}

int GetGeometryOfTopology(int tag)
{
    switch (GetEntityClass(tag)) {
        case KernelClassVertex:
            return AskTag(BQ_VERTEX_ask_point, tag);
        case KernelClassEdge:
            return AskTag(BQ_EDGE_ask_geometry, tag);
        case KernelClassFace:
            return AskTag(BQ_FACE_ask_surf, tag);
        case KernelClassFin:
            return AskTag(BQ_FIN_ask_geometry, tag);
        default:
            return 0;
    }
}

int GetGeometryClassOfTopology(int tag)
{
    const int geometry = GetGeometryOfTopology(tag);
    return geometry == 0 ? static_cast<int>(KernelClassNull) : GetEntityClass(geometry);
}

int GetGeometryClass(int tag)
{
    bool isTopology = false;
    if (BQ_ENTITY_is_topol(tag, &isTopology) == BQ_ERROR_no_errors && isTopology)
        return GetGeometryClassOfTopology(tag);
    if (IsGeometry(tag))
        return GetEntityClass(tag);
    return KernelClassNull;
}

int GetOrientedGeometry(int tag, bool* sameSense)
{
    bool sense = true;
    int geometry = 0;
    const int classCode = GetEntityClass(tag);
    if (classCode == KernelClassEdge) {
        if (BQ_EDGE_ask_oriented_curve(tag, &geometry, &sense) != BQ_ERROR_no_errors)
            geometry = 0;
    } else if (classCode == KernelClassFace) {
        if (BQ_FACE_ask_oriented_surf(tag, &geometry, &sense) != BQ_ERROR_no_errors)
            geometry = 0;
    }
    if (sameSense)
        *sameSense = sense;
    return geometry;
}

bool GetVertexPosition(const int* vertex, Position* position)
{
    if (!vertex || !position)
        return false;
    int point = 0;
    BQ_POINT_sf_t form;
    if (BQ_VERTEX_ask_point(*vertex, &point) != BQ_ERROR_no_errors ||
        BQ_POINT_ask(point, &form) != BQ_ERROR_no_errors)
        return false;
    *position = Position(form.position.coord);
    return true;
}

int GetCommonEdges(int face1, int face2, std::vector<int>* edges)
{
    KernelArray<int> found;
    if (BQ_FACE_find_edges_common(face1, face2, found.Count(), found.Slot()) != BQ_ERROR_no_errors)
        return 0;
    found.AppendTo(*edges);
    return found.Size();
}

int FindCommonEdge(int face1, int face2)
{
    std::vector<int> edges;
    return GetCommonEdges(face1, face2, &edges) > 0 ? edges.front() : 0;
}

int FindCommonVertex(int edge1, int edge2)
{
    int first[2] = {0, 0};
    int second[2] = {0, 0};
    if (BQ_EDGE_ask_vertices(edge1, first) != BQ_ERROR_no_errors ||
        BQ_EDGE_ask_vertices(edge2, second) != BQ_ERROR_no_errors)
        return 0;
    int common = 0;
    for (int vertex : first)
        if (vertex != 0 && (vertex == second[0] || vertex == second[1]))
            common = vertex;
    return common;
}

bool AreFacesAdjacent(int face1, int face2)
{
    const int body = GetOwningBody(face1);
    if (body == 0 || body != GetOwningBody(face2))
        return false;
    std::vector<int> edges;
    return GetCommonEdges(face1, face2, &edges) > 0;
}

void GetBodyFaces(int body, std::set<int>& faces)
{
    KernelArray<int> found;
    if (BQ_BODY_ask_faces(body, found.Count(), found.Slot()) == BQ_ERROR_no_errors)
        found.InsertInto(faces);
}

void GetFaceEdges(int face, std::vector<int>* edges) { AppendList(BQ_FACE_ask_edges, face, edges); }

void GetFaceVertices(int face, std::vector<int>* vertices)
{
    AppendList(BQ_FACE_ask_vertices, face, vertices);
}

void GetFaceEdgesAndVertices(int face, std::vector<int>* entities)
{
    GetFaceEdges(face, entities);
    GetFaceVertices(face, entities);
}

int GetEdgeFaces(int edge, std::vector<int>* faces)
{
    AppendList(BQ_EDGE_ask_faces, edge, faces);
    return static_cast<int>(faces->size());
}

int GetVertexFaces(int vertex, std::vector<int>* faces)
{
    AppendList(BQ_VERTEX_ask_faces, vertex, faces);
    return static_cast<int>(faces->size());
}

void GetFacesOfEdgeOrVertex(int entity, std::vector<int>* faces)
{
    const int classCode = GetEntityClass(entity);
    if (classCode == KernelClassEdge)
        GetEdgeFaces(entity, faces);
    else if (classCode == KernelClassVertex)
        GetVertexFaces(entity, faces);
}

int GetNeighbourFaces(int face, std::vector<int>& faces)
{
    std::vector<int> edges;
    GetFaceEdges(face, &edges);
    for (int edge : edges) {
        std::vector<int> edgeFaces;
        GetEdgeFaces(edge, &edgeFaces);
        for (int other : edgeFaces)
            if (other != face)
                faces.push_back(other);
    }
    return static_cast<int>(faces.size());
}

int GetNeighbourFaceSet(int face, std::set<int>& faces)
{
    std::vector<int> neighbours;
    GetNeighbourFaces(face, neighbours);
    faces.insert(neighbours.begin(), neighbours.end());
    return static_cast<int>(faces.size());
}

bool GetPartGeometries(int part, std::vector<int>& geometries)
{
    geometries.clear();
    KernelArray<int> found;
    if (BQ_PART_ask_geoms(part, found.Count(), found.Slot()) != BQ_ERROR_no_errors)
        return false;
    found.AppendTo(geometries);
    return true;
}

bool RemovePartGeometries(int part)
{
    std::vector<int> geometries;
    if (!GetPartGeometries(part, geometries))
        return false;
    if (geometries.empty())
        return true;
    int removed = 0;
    if (BQ_PART_remove_geoms(part, static_cast<int>(geometries.size()), geometries.data(),
                             &removed) != BQ_ERROR_no_errors)
        return false;
    return removed == static_cast<int>(geometries.size());
}

int CreatePointInPart(Position point, int part)
{
    const CurrentPartitionScope scope(GetEntityPartition(part));
    BQ_POINT_sf_t form = {{{point.x, point.y, point.z}}};
    int created = 0;
    if (BQ_POINT_create(&form, &created) != BQ_ERROR_no_errors)
        return 0;
    if (BQ_PART_add_geoms(part, 1, &created) != BQ_ERROR_no_errors) {
        DeleteEntity(created);
        return 0;
    }
    return created;
}

int CreateMinimumBodyForGeometry(int geometry)
{
    const CurrentPartitionScope scope(GetEntityPartition(geometry));
    BQ_POINT_sf_t form = {{{0.0, 0.0, 0.0}}};
    int point = 0;
    if (BQ_POINT_create(&form, &point) != BQ_ERROR_no_errors)
        return 0;
    int body = 0;
    const bool made = BQ_POINT_make_minimum_body(point, &body) == BQ_ERROR_no_errors;
    // The body has its vertex; the point it was made at stays free and is of no further use.
    DeleteEntity(point);
    if (!made)
        return 0;
    if (BQ_PART_add_geoms(body, 1, &geometry) != BQ_ERROR_no_errors) {
        DeleteEntity(body);
        return 0;
    }
    return body;
}

}  // namespace QEL
