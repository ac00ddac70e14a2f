// Virtual vertices and the search for pivot points at the vertices of a face.
#include "model/references/VirtualVertex.h"

#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/maths/Position.h"
#include "core/maths/Xform.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/EntityComparison.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"

#include <brennik.h>

#include <algorithm>
#include <set>

namespace QEL {

namespace {

const double s_linearTolerance = 1e-8;

void SetPoint(PivotVertexData& data, const Vec& point)
{
    data.m_point[0] = point.x;
    data.m_point[1] = point.y;
    data.m_point[2] = point.z;
}

Vec VertexPosition(int vertex)
{
    Position at;
    GetStandardGeometry(vertex, nullptr, nullptr, &at, nullptr, nullptr, nullptr, nullptr);
    return Vec(at.x, at.y, at.z);
}

std::vector<int> AskFaceVertices(int face, bool& ok)
{
    KernelArray<int> vertices;
    std::vector<int> out;
    ok = BQ_FACE_ask_vertices(face, vertices.Count(), vertices.Slot()) == BQ_ERROR_no_errors;
    vertices.AppendTo(out);
    ok = ok && !out.empty();
    return out;
}

bool AskVertexFaces(int vertex, std::vector<int>& faces)
{
    KernelArray<int> found;
    if (BQ_VERTEX_ask_faces(vertex, found.Count(), found.Slot()) != BQ_ERROR_no_errors)
        return false;
    faces.clear();
    found.AppendTo(faces);
    return true;
}

bool IsBlend(int face, double tolerance)
{
    return IdentifyBlendFace(face, tolerance, true, nullptr);
}

void SortFarthestFirst(std::vector<PivotVertexData>& out)
{
    std::stable_sort(out.begin(), out.end(),
                     [](const PivotVertexData& a, const PivotVertexData& b) {
                         return a.m_distance > b.m_distance;
                     });
}

}  // namespace

VirtualVertex::VirtualVertex(Interaction* interaction) : SavedObject(interaction)
{
    SetType(ObjectTypeVirtualVertex);
    if (interaction)
        RecordCreated();
}

VirtualVertex::VirtualVertex(Interaction* interaction, std::vector<Reference*>& defining,
                             Reference* pointReference)
    : VirtualVertex(interaction)
{
    for (Reference* reference : defining) {
        m_definingReferences.push_back(reference);
        if (reference)
            reference->AddDependent(this);
    }
    m_pointReference = pointReference;
    if (pointReference) {
        pointReference->AddDependent(this);
        m_point = pointReference->GetEntityTag();
    }
}

VirtualVertex::~VirtualVertex() = default;

QEL_INSTALL_ENTITY_CASTS(VirtualVertex)
QEL_INSTALL_OBJECT_READER(VirtualVertex)

VirtualVertex* VirtualVertex::Create(Interaction* interaction, std::vector<Reference*>& defining,
                                     const double point[3])
{
    if (!interaction || !AreAllUninstanced(defining))
        return nullptr;
    PivotVertexData data;
    Vec seed(point[0], point[1], point[2]);
    if (!VirtualVertexFoundation::s_makeVirtualVertexData(defining, seed, &data) || !data.m_virtual)
        return nullptr;
    int kernelPoint = 0;
    if (const int body = GetCommonBody(defining)) {
        kernelPoint = CreatePointInPart(Position(data.m_point), body);
    } else {
        BQ_POINT_sf_t form{{{data.m_point[0], data.m_point[1], data.m_point[2]}}};
        if (BQ_POINT_create(&form, &kernelPoint) != BQ_ERROR_no_errors)
            kernelPoint = 0;
    }
    if (kernelPoint == 0)
        return nullptr;
    Reference* pointReference = Reference::Create(interaction, kernelPoint, nullptr);
    if (!pointReference) {
        DeleteEntity(kernelPoint);
        return nullptr;
    }
    VirtualVertex* vertex = new VirtualVertex(interaction, defining, pointReference);
    vertex->AddToInteraction();
    return vertex;
}

VirtualVertex* VirtualVertex::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    VirtualVertex* vertex = new VirtualVertex(interaction);
    vertex->AddToInteraction();
    if (!vertex->DoIO(xmlio)) {
        vertex->Destroy();
        return nullptr;
    }
    return vertex;
}

Reference* VirtualVertex::GetDefiningReference(int index) const
{
    return index >= 0 && index < GetDefiningReferenceCount() ? m_definingReferences[index]
                                                             : nullptr;
}

int VirtualVertex::GetVirtualPoint() const
{
    return m_pointReference ? m_pointReference->GetEntityTag() : 0;
}

int VirtualVertex::GetCommonBody(const std::vector<Reference*>& references)
{
    if (references.empty() || !references[0])
        return 0;
    const int body = GetOwningBody(references[0]->GetEntityTag());
    if (body == 0)
        return 0;
    for (Reference* reference : references)
        if (!reference || GetOwningBody(reference->GetEntityTag()) != body)
            return 0;
    return body;
}

bool VirtualVertex::AreAllUninstanced(const std::vector<Reference*>& references)
{
    if (references.empty())
        return false;
    for (Reference* reference : references)
        if (reference && reference->GetInstance())
            return false;
    return true;
}

void VirtualVertex::CopyState(const VirtualVertex& from)
{
    m_definingReferences = from.m_definingReferences;
    m_pointReference = from.m_pointReference;
    m_point = from.m_point;
}

void VirtualVertex::Destroy()
{
    for (Reference* reference : m_definingReferences)
        if (reference)
            reference->RemoveDependent(this);
    if (m_pointReference)
        m_pointReference->RemoveDependent(this);
    Interaction* interaction = GetInteraction();
    if (interaction && m_point != 0) {
        // A point inside a body's part is found through its reference group; a free point has
        // none, so its references are found through the interaction's map as well.
        std::vector<Reference*> grouped;
        Reference::FindInteractionReferences(interaction, m_point, grouped, false);
        std::vector<Reference*> bare;
        interaction->FindReferencesOnEntity(m_point, nullptr, bare);
        std::set<Reference*> done;
        for (Reference* reference : grouped)
            if (reference && done.insert(reference).second)
                reference->Destroy();
        for (Reference* reference : bare)
            if (reference && done.insert(reference).second)
                reference->Destroy();
    }
    if (m_point != 0 && IsEntity(m_point))
        DeleteEntity(m_point);
    TaggedEntity::Destroy();
}

void VirtualVertex::RemoveReference(Reference* reference)
{
    if (!reference)
        return;
    if (reference == m_pointReference) {
        reference->RemoveDependent(this);
        RecordModified();
        m_pointReference = nullptr;
        return;
    }
    auto found = std::find(m_definingReferences.begin(), m_definingReferences.end(), reference);
    if (found == m_definingReferences.end())
        return;
    reference->RemoveDependent(this);
    RecordModified();
    m_definingReferences.erase(found);
}

bool VirtualVertex::Compare(TaggedEntity* other)
{
    VirtualVertex* vertex = dynamic_cast<VirtualVertex*>(other);
    if (!TaggedEntity::Compare(other) || !vertex ||
        !AreEntityVectorsEqual(m_definingReferences, vertex->m_definingReferences))
        return false;
    if (!m_pointReference)
        return true;
    return vertex->m_pointReference &&
           UpcastEntity(m_pointReference)->Compare(UpcastEntity(vertex->m_pointReference));
}

bool VirtualVertex::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                  std::vector<InvalidityType>& codes)
{
    Object::CheckValidity(badObjects, codes);
    if (GetType() != ObjectTypeVirtualVertex) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    // A reference destroyed before the vertex leaves a null here: nothing to call through.
    if (m_pointReference)
        UpcastEntity(m_pointReference)->CheckValidity(badObjects, codes);
    for (Reference* reference : m_definingReferences)
        if (reference)
            UpcastEntity(reference)->CheckValidity(badObjects, codes);
    return badObjects.empty();
}

bool VirtualVertex::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    Interaction* interaction = GetInteraction();
    const bool reading = xmlio.IsReading();
    bool done = DoIOID(xmlio) && DoIOReferencePtrs(xmlio, "VirtualVertexDefiningRef",
                                                   m_definingReferences, interaction);
    if (done && reading)
        for (Reference* reference : m_definingReferences)
            if (reference)
                reference->AddDependent(this);
    done = done && xmlio.BeginElement("VirtualVertexPointRef");
    if (done) {
        done = DoIOReferencePtr(xmlio, "referenceRef", m_pointReference, interaction);
        xmlio.EndElement(true);
        if (done && reading && m_pointReference) {
            m_pointReference->AddDependent(this);
            m_point = m_pointReference->GetEntityTag();
        }
    }
    xmlio.EndElement(true);
    return done;
}

// ---- Pivot points --------------------------------------------------------------------------

bool VirtualVertexFoundation::s_makeVirtualVertexData(const std::vector<int>& entities, Vec& point,
                                                      PivotVertexData* out)
{
    if (entities.empty() || !out)
        return false;
    out->m_entities.insert(out->m_entities.end(), entities.begin(), entities.end());
    SetPoint(*out, point);
    return SolvePivotPoint(*out);
}

bool VirtualVertexFoundation::s_makeVirtualVertexData(const std::vector<Reference*>& references,
                                                      Vec& point, PivotVertexData* out)
{
    std::vector<int> entities;
    bool instanced = false;
    bool bare = false;
    for (Reference* reference : references) {
        if (!reference)
            return false;
        (reference->GetInstance() ? instanced : bare) = true;
        entities.push_back(reference->GetEntityTag());
    }
    if (instanced && bare)
        return false;
    return s_makeVirtualVertexData(entities, point, out);
}

int SolvePointOnEntities(const std::vector<int>& entities, const double point[3], double moved[3])
{
    PivotPointSolving* solving = InstalledSeam<PivotPointSolving>::Get();
    return solving ? solving->SolvePointOnEntities(entities, point, moved) : -1;
}

bool VirtualVertexFoundation::SolvePivotPoint(PivotVertexData& data)
{
    double moved[3];
    const int answer = SolvePointOnEntities(data.m_entities, data.m_point, moved);
    if (answer == 1) {
        data.m_virtual = true;
        SetPoint(data, Vec(moved[0], moved[1], moved[2]));
        return true;
    }
    if (answer != 0)
        return false;
    if (data.m_vertex == 0) {
        data.m_virtual = true;
        return true;
    }
    int point = 0;
    BQ_POINT_sf_t form{};
    if (BQ_VERTEX_ask_point(data.m_vertex, &point) != BQ_ERROR_no_errors ||
        BQ_POINT_ask(point, &form) != BQ_ERROR_no_errors)
        return false;
    const Vec difference(form.position.coord[0] - data.m_point[0],
                         form.position.coord[1] - data.m_point[1],
                         form.position.coord[2] - data.m_point[2]);
    if (difference.Length() > s_linearTolerance)
        return false;
    data.m_virtual = false;
    return true;
}

bool VirtualVertexFoundation::HasBlendFace(const PivotVertexData& data, double blendTolerance)
{
    for (int entity : data.m_entities)
        if (IsBlend(entity, blendTolerance))
            return true;
    return false;
}

bool VirtualVertexFoundation::ReplaceBlendsBySupports(PivotVertexData& data, double blendTolerance,
                                                      bool identifyBlends)
{
    std::set<int> faces;
    for (int entity : data.m_entities) {
        if (identifyBlends && IsBlend(entity, blendTolerance)) {
            std::vector<int> unders;
            GetBlendUnderFaces(entity, blendTolerance, &unders);
            for (int under : unders)
                if (!IsBlend(under, blendTolerance))
                    faces.insert(under);
        } else {
            faces.insert(entity);
        }
    }
    if (faces.empty())
        return false;
    data.m_entities.assign(faces.begin(), faces.end());
    SetPoint(data, VertexPosition(data.m_vertex));
    return SolvePivotPoint(data);
}

bool VirtualVertexFoundation::s_findPivotPoints(int entity, int face,
                                                std::vector<PivotVertexData>& out,
                                                double blendTolerance)
{
    bool ok = false;
    const std::vector<int> vertices = AskFaceVertices(face, ok);
    if (!ok)
        return false;
    int edgeEnds[2] = {0, 0};
    const bool entityIsEdge = BQ_EDGE_ask_vertices(entity, edgeEnds) == BQ_ERROR_no_errors;
    BQ_TOPOL_range_o_t options{1, 0.0};
    for (int vertex : vertices) {
        PivotVertexData data;
        data.m_vertex = vertex;
        data.m_face = face;
        if (!AskVertexFaces(vertex, data.m_entities))
            continue;
        bool useVertex = !HasBlendFace(data, blendTolerance);
        if (!useVertex) {
            if (entityIsEdge && (vertex == edgeEnds[0] || vertex == edgeEnds[1]))
                continue;
            if (!ReplaceBlendsBySupports(data, blendTolerance, true) || !data.m_virtual) {
                useVertex = true;
            } else {
                BQ_range_r_t range{};
                BQ_VECTOR_t at{{data.m_point[0], data.m_point[1], data.m_point[2]}};
                if (BQ_TOPOL_range_vector(entity, at, &options, &range) == BQ_ERROR_no_errors &&
                    range.result == BQ_range_result_found && range.distance >= s_linearTolerance) {
                    data.m_distance = range.distance;
                    out.push_back(data);
                }
                continue;
            }
        }
        BQ_range_r_t range{};
        if (BQ_TOPOL_range(vertex, entity, &options, &range) == BQ_ERROR_no_errors &&
            range.result == BQ_range_result_found && range.distance >= s_linearTolerance) {
            data.m_distance = range.distance;
            data.m_virtual = false;
            SetPoint(data, VertexPosition(vertex));
            out.push_back(data);
        }
    }
    SortFarthestFirst(out);
    return true;
}

bool VirtualVertexFoundation::s_findExisitingPivotPoints(int entity, int face,
                                                         std::vector<PivotVertexData>& out)
{
    bool ok = false;
    const std::vector<int> vertices = AskFaceVertices(face, ok);
    if (!ok)
        return false;
    BQ_TOPOL_range_o_t options{1, 0.0};
    bool answer = true;
    for (int vertex : vertices) {
        BQ_range_r_t range{};
        if (BQ_TOPOL_range(vertex, entity, &options, &range) != BQ_ERROR_no_errors ||
            range.result != BQ_range_result_found) {
            answer = false;
            break;
        }
        if (range.distance < s_linearTolerance)
            continue;
        PivotVertexData data;
        data.m_distance = range.distance;
        data.m_vertex = vertex;
        data.m_face = face;
        // The end on the vertex is the one that does not lie on the entity measured against.
        const BQ_range_end_t& end = range.end[0].entity != entity ? range.end[0] : range.end[1];
        SetPoint(data, Vec(end.vector.coord[0], end.vector.coord[1], end.vector.coord[2]));
        if (!AskVertexFaces(vertex, data.m_entities)) {
            answer = false;
            break;
        }
        out.push_back(data);
    }
    SortFarthestFirst(out);
    return answer;
}

}  // namespace QEL
