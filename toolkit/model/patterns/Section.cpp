// Sections: the section body of each cut instance made by the kernel, the carry-over of the
// references on section entities, the lookups the solver asks, validity, comparison and the
// file form.
#include "model/patterns/Section.h"

#include "core/frame/Array.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/maths/Dir.h"
#include "core/maths/LinesAndPlanes.h"
#include "core/maths/Position.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "core/tracking/TrackingData.h"
#include "core/tracking/TrackingManager.h"
#include "model/references/Reference.h"
#include "model/transaction/Model.h"

#include <brennik.h>

#include <algorithm>

namespace QEL {

namespace {

Vec ToVec(const Position& p) { return Vec(p.x, p.y, p.z); }

// The vertex's oriented edges in the kernel's order; empty for a vertex without edges.
std::vector<int> VertexEdges(int vertex)
{
    KernelArray<int> edges;
    bool* startsHere = nullptr;
    std::vector<int> out;
    if (BQ_VERTEX_ask_oriented_edges(vertex, edges.Count(), edges.Slot(), &startsHere) ==
        BQ_ERROR_no_errors)
        edges.AppendTo(out);
    BQ_MEMORY_free(startsHere);
    return out;
}

// A vertex stands for its first edge; a vertex without edges for nothing.
int EdgeStandingFor(int entity)
{
    if (GetEntityClass(entity) != BQ_CLASS_vertex)
        return entity;
    const std::vector<int> edges = VertexEdges(entity);
    return edges.empty() ? 0 : edges.front();
}

bool Contains(const std::vector<int>& list, int entity)
{
    return std::find(list.begin(), list.end(), entity) != list.end();
}

// Appends the source at the first position holding the section entity, and the next source
// when the next position holds it too.
void AppendSourcesOf(const SectionEntityMap& map, int sectionEntity, std::vector<int>& out)
{
    const std::vector<int>& sections = map.second;
    auto at = std::find(sections.begin(), sections.end(), sectionEntity);
    if (at == sections.end())
        return;
    const size_t j = static_cast<size_t>(at - sections.begin());
    if (j < map.first.size())
        out.push_back(map.first[j]);
    if (j + 1 < sections.size() && sections[j + 1] == sectionEntity && j + 1 < map.first.size())
        out.push_back(map.first[j + 1]);
}

// Everything a generation takes from the kernel, released on every path.
struct SectionKernelScratch {
    int transform = 0;
    int plane = 0;
    int newBody = 0;
    bool keepBody = false;
    BQ_TOPOL_track_r_t tracking{};
    BQ_BODY_make_section_r_t results{};

    ~SectionKernelScratch()
    {
        BQ_TOPOL_track_r_f(&tracking);
        BQ_BODY_make_section_r_f(&results);
        for (int entity : {transform, plane, keepBody ? 0 : newBody})
            if (entity != 0 && IsEntity(entity))
                DeleteEntity(entity);
    }
};

}  // namespace

Section::Section(Interaction* interaction, Reference* plane)
    : SavedObject(interaction), m_plane(plane)
{
    SetType(ObjectTypeSection);
    if (interaction)
        RecordCreated();
    if (m_plane)
        m_plane->AddDependent(this);
}

Section::~Section() { m_mappings.clear(); }

QEL_INSTALL_ENTITY_CASTS(Section)
QEL_INSTALL_OBJECT_READER(Section)

Section* Section::Create(Interaction* interaction, Reference* plane)
{
    Section* section = new Section(interaction, plane);
    section->AddToInteraction();
    return section;
}

Section* Section::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    Section* section = new Section(interaction, nullptr);
    section->AddToInteraction();
    if (!section->DoIO(xmlio)) {
        section->Destroy();
        return nullptr;
    }
    return section;
}

void Section::CopyState(const Section& from)
{
    m_mappings = from.m_mappings;
    m_plane = from.m_plane;
}

void Section::Destroy()
{
    if (m_plane)
        m_plane->RemoveDependent(this);
    TaggedEntity::Destroy();
}

void Section::RemoveReference(Reference* reference)
{
    if (!reference || reference != m_plane)
        return;
    RecordModified();
    m_plane->RemoveDependent(this);
    m_plane = nullptr;
}

// ---- Mappings ------------------------------------------------------------------------------

bool Section::AddSectionGeometry(Instance* cut, Instance* sectionInstance,
                                 const Array<int>& sources, const Array<int>& sectionEntities)
{
    RecordModified();
    m_mappings[cut] = SectionMappingEntry(
        sectionInstance,
        SectionEntityMap(GetArrayVector(sources), GetArrayVector(sectionEntities)));
    return true;
}

bool Section::GetSectionMapping(Instance* cut, Instance*& sectionInstance, Array<int>& sources,
                                Array<int>& sectionEntities) const
{
    auto found = m_mappings.find(cut);
    if (found == m_mappings.end())
        return false;
    sectionInstance = found->second.first;
    GetArrayVector(sources) = found->second.second.first;
    GetArrayVector(sectionEntities) = found->second.second.second;
    return true;
}

void Section::GetSrcSectionEntityMap(Instance* cut, SectionEntityMap& out) const
{
    auto found = m_mappings.find(cut);
    if (found != m_mappings.end())
        out = found->second.second;
}

bool Section::IsInstanceCut(Instance* instance) const { return m_mappings.count(instance) != 0; }

Instance* Section::GetSectionInstance(Instance* cut) const
{
    auto found = m_mappings.find(cut);
    return found == m_mappings.end() ? nullptr : found->second.first;
}

bool Section::IsASectionInstance(Instance* instance) const
{
    return GetCutInstance(instance) != nullptr;
}

Instance* Section::GetCutInstance(Instance* sectionInstance) const
{
    if (!sectionInstance)
        return nullptr;
    for (const auto& mapping : m_mappings)
        if (mapping.second.first == sectionInstance)
            return mapping.first;
    return nullptr;
}

Instance* Section::GetCutInstance(int entity) const
{
    const int edge = EdgeStandingFor(entity);
    if (edge == 0)
        return nullptr;
    for (const auto& mapping : m_mappings)
        if (Contains(mapping.second.second.second, edge))
            return mapping.first;
    return nullptr;
}

bool Section::DoesReferToSections(const std::pair<int, Instance*>& key) const
{
    if (key.second)
        return IsASectionInstance(key.second);
    return GetCutInstance(key.first) != nullptr;
}

void Section::GetCutInstances(std::set<Instance*, TaggedEntityPtrLessThan>& out) const
{
    out.clear();
    for (const auto& mapping : m_mappings)
        out.insert(mapping.first);
}

void Section::GetSectionInstances(std::vector<Instance*>& out) const
{
    out.clear();
    for (const auto& mapping : m_mappings)
        out.push_back(mapping.second.first);
}

void Section::GetSourceEntities(Instance* cut, int entity, std::vector<int>& out) const
{
    auto found = m_mappings.find(cut);
    if (found == m_mappings.end())
        return;
    const SectionEntityMap& map = found->second.second;
    const int classCode = GetEntityClass(entity);
    if (classCode == BQ_CLASS_edge)
        AppendSourcesOf(map, entity, out);
    else if (classCode == BQ_CLASS_vertex)
        for (int edge : VertexEdges(entity))
            AppendSourcesOf(map, edge, out);
}

void Section::ClearMapping(Instance* cut)
{
    auto found = m_mappings.find(cut);
    if (found != m_mappings.end())
        found->second = SectionMappingEntry(nullptr, SectionEntityMap());
}

bool Section::GenerateSectionGeometry(Instance* cut)
{
    Interaction* interaction = GetInteraction();
    if (!m_plane || !cut || !interaction)
        return false;
    RecordModified();
    Instance* sectionInstance = GetSectionInstance(cut);
    SectionEntityMap oldMap;
    GetSrcSectionEntityMap(cut, oldMap);

    // The plane is brought into the cut body's own frame, where the kernel sections the body.
    SectionKernelScratch scratch;
    scratch.transform = cut->GetXform().GetInverse().CreateKernelTransf();
    BQ_GEOM_transform_o_t transformOptions{1, 0.0, BQ_GEOM_transform_copy, true, true};
    unsigned char transformed = 1;
    if (Model::GeomTransform(interaction, m_plane->GetEntityTag(), scratch.transform,
                             &transformOptions, &scratch.plane, &transformed, true, nullptr) != 0 ||
        scratch.plane == 0 || !transformed)
        return false;

    int body = cut->GetBodyTag();
    int surface = scratch.plane;
    BQ_BODY_make_section_o_t sectionOptions{1, 1e-5, 0.0, true, true, BQ_SECTION_result_body};
    {
        CurrentPartitionScope partition(GetEntityPartition(body));
        if (Model::BodyMakeSection(interaction, 1, &body, 1, &surface, &sectionOptions,
                                   &scratch.tracking, &scratch.results, true, nullptr) != 0 ||
            scratch.results.n_bodies != 1 || !scratch.results.bodies)
            return false;
    }
    scratch.newBody = scratch.results.bodies[0];

    // Product k pairs with input k. An edge of the cut body stands for its faces, and its
    // product is listed once per face, so the two lists stay parallel; products without an
    // input of their own pair with nothing and are left out.
    SectionEntityMap newMap;
    for (int r = 0; r < scratch.tracking.n_track_records; ++r) {
        const BQ_TOPOL_track_record_r_t& record = scratch.tracking.track_records[r];
        for (int k = 0; k < record.n_product_topols && k < record.n_original_topols; ++k) {
            const int input = record.original_topols[k];
            if (input == scratch.plane)
                continue;
            std::vector<int> sources;
            if (GetEntityClass(input) == BQ_CLASS_edge)
                GetEdgeFaces(input, &sources);
            else
                sources.push_back(input);
            for (int source : sources) {
                newMap.first.push_back(source);
                newMap.second.push_back(record.product_topols[k]);
            }
        }
    }
    if (newMap.first.empty() || newMap.second.empty())
        return false;

    ClearMapping(cut);
    int oldBody = 0;
    if (!sectionInstance) {
        double matrix[4][4];
        cut->GetXform().Get4x4(matrix);
        sectionInstance = Instance::Create(interaction, scratch.newBody, matrix);
        if (!sectionInstance)
            return false;
    } else {
        oldBody = sectionInstance->GetBodyTag();
        sectionInstance->SetBodyTag(scratch.newBody);
        sectionInstance->SetXform(cut->GetXform());
        // Geometry the application hung on the old section body moves to the new one.
        std::vector<int> geometries;
        if (IsEntity(oldBody) && GetPartGeometries(oldBody, geometries) && !geometries.empty()) {
            int removed = 0;
            BQ_PART_remove_geoms(oldBody, static_cast<int>(geometries.size()), geometries.data(),
                                 &removed);
            BQ_PART_add_geoms(scratch.newBody, static_cast<int>(geometries.size()),
                              geometries.data());
        }
    }
    scratch.keepBody = true;
    FixUpSectionReferences(cut, sectionInstance, oldMap, newMap, oldBody, scratch.newBody);
    m_mappings[cut] = SectionMappingEntry(sectionInstance, newMap);
    if (oldBody != 0 && oldBody != scratch.newBody && IsEntity(oldBody))
        DeleteEntity(oldBody);
    return true;
}

// ---- Carrying references over --------------------------------------------------------------

void Section::CollectSectionReferences(int entity, Instance* sectionInstance,
                                       std::vector<Reference*>& out) const
{
    Interaction* interaction = const_cast<Section*>(this)->GetInteraction();
    out.clear();
    std::vector<Reference*> found;
    interaction->FindReferencesOnEntity(entity, sectionInstance, found);
    out.insert(out.end(), found.begin(), found.end());
    if (sectionInstance) {
        found.clear();
        interaction->FindReferencesOnEntity(entity, nullptr, found);
        out.insert(out.end(), found.begin(), found.end());
    }
}

void Section::FixUpSectionReferences(Instance* cut, Instance* sectionInstance,
                                     const SectionEntityMap& oldMap, const SectionEntityMap& newMap,
                                     int, int)
{
    const std::vector<int>& oldSources = oldMap.first;
    const std::vector<int>& oldSections = oldMap.second;
    std::set<int> used;
    for (size_t i = 0; i < oldSections.size() && i < oldSources.size(); ++i) {
        std::vector<Reference*> references;
        CollectSectionReferences(oldSections[i], sectionInstance, references);
        if (references.empty())
            continue;
        std::set<int> extra;
        const int replacement =
            FindNewSectionEntity(oldSources[i], newMap.second, newMap.first, used, extra);
        for (Reference* reference : references) {
            if (replacement == 0)
                reference->Destroy();
            else
                reference->ReplaceEntityTag(replacement);
        }
    }
    FixUpVertexReferences(cut, sectionInstance, oldMap, newMap);
}

int Section::FindNewSectionEntity(int entity, const std::vector<int>& newSections,
                                  const std::vector<int>& newSources, std::set<int>& used,
                                  std::set<int>& extra)
{
    int result = 0;
    for (size_t i = 0; i < newSources.size() && i < newSections.size(); ++i) {
        if (newSources[i] != entity || used.count(newSections[i]))
            continue;
        if (result == 0)
            result = newSections[i];
        else if (newSections[i] != result)
            extra.insert(newSections[i]);
    }
    // A source face that is gone: follow only what the kernel says became of that very face.
    // A merge or split of some other face says nothing about it.
    Interaction* interaction = GetInteraction();
    TrackingManager* tracking = interaction ? interaction->GetTrackingManager() : nullptr;
    for (size_t d = 0; result == 0 && tracking && d < tracking->GetBrennikMapData().size(); ++d) {
        TrackingData* data = tracking->GetBrennikMapData()[d];
        if (!data || !Contains(data->GetOldTags(), entity))
            continue;
        const std::vector<int>& newTags = data->GetNewTags();
        if (data->GetType() == TrackingDataTypeMerge && !newTags.empty()) {
            for (size_t j = 0; j < newSources.size() && j < newSections.size() && result == 0; ++j)
                if (newSources[j] == newTags.front())
                    result = newSections[j];
        } else if (data->GetType() == TrackingDataTypeSplit) {
            for (size_t t = 0; t < newTags.size() && result == 0; ++t)
                for (size_t j = 0; j < newSources.size() && j < newSections.size() && result == 0;
                     ++j)
                    if (newSources[j] == newTags[t])
                        result = newSections[j];
        }
    }
    if (result != 0)
        used.insert(result);
    return result;
}

void Section::FixUpVertexReferences(Instance* cut, Instance* sectionInstance,
                                    const SectionEntityMap& oldMap, const SectionEntityMap& newMap)
{
    (void)cut;
    const std::vector<int>& oldSources = oldMap.first;
    const std::vector<int>& oldSections = oldMap.second;
    if (oldSources.empty() || oldSections.empty())
        return;
    int oldBody = 0;
    if (BQ_EDGE_ask_body(oldSections[0], &oldBody) != BQ_ERROR_no_errors || oldBody == 0) {
        // The first section entity may be a vertex of the old body.
        oldBody = GetBodyOfTopology(oldSections[0]);
        if (oldBody == 0)
            return;
    }
    KernelArray<int> vertexArray;
    if (BQ_BODY_ask_vertices(oldBody, vertexArray.Count(), vertexArray.Slot()) !=
        BQ_ERROR_no_errors)
        return;
    std::vector<int> vertices;
    vertexArray.AppendTo(vertices);
    for (int vertex : vertices) {
        std::vector<Reference*> references;
        CollectSectionReferences(vertex, sectionInstance, references);
        if (references.empty())
            continue;
        std::vector<int> sources;
        for (int edge : VertexEdges(vertex))
            for (size_t j = 0; j < oldSections.size() && j < oldSources.size(); ++j)
                if (oldSections[j] == edge)
                    sources.push_back(oldSources[j]);
        std::set<int> used;
        std::vector<int> candidates;
        for (int source : sources) {
            std::set<int> extra;
            candidates.push_back(
                FindNewSectionEntity(source, newMap.second, newMap.first, used, extra));
            candidates.insert(candidates.end(), extra.begin(), extra.end());
        }
        int target = 0;
        for (size_t i = 0; i < candidates.size() && target == 0; ++i)
            for (size_t j = 0; j < candidates.size() && target == 0; ++j)
                if (candidates[i] != 0 && candidates[j] != 0 && candidates[i] != candidates[j])
                    target = FindCommonVertex(candidates[i], candidates[j]);
        for (Reference* reference : references) {
            if (target == 0)
                reference->Destroy();
            else
                reference->ReplaceEntityTag(target);
        }
    }
}

// ---- Plane tests ---------------------------------------------------------------------------

bool Section::ReadPlaneAndGeometry(int entity, const Xform& placement, Vec& planePoint,
                                   Dir& planeNormal, Vec& location, Dir& axis) const
{
    if (!m_plane)
        return false;
    const int plane = m_plane->GetEntityTag();
    planePoint = ToVec(GetPlaneLocation(plane));
    planeNormal = GetPlaneNormal(plane);
    Position at;
    Position direction;
    GetStandardGeometry(entity, nullptr, nullptr, &at, &direction, nullptr, nullptr, nullptr);
    location = ToVec(at);
    placement.TransformPoint(location);
    Vec turned = ToVec(direction);
    Xform rotation = placement;
    rotation.translation = Vec();
    rotation.TransformPoint(turned);
    axis = Dir(turned.x, turned.y, turned.z, true);
    return true;
}

bool Section::IsTorusSpinePlaneCoincidentToSectionPlane(int entity, const Xform& placement) const
{
    Vec planePoint, location;
    Dir planeNormal, axis;
    return ReadPlaneAndGeometry(entity, placement, planePoint, planeNormal, location, axis) &&
           ArePlanesCoincident(location, axis, planePoint, planeNormal);
}

bool Section::IsCentreOnSectionPlane(int entity, const Xform& placement) const
{
    Vec planePoint, location;
    Dir planeNormal, axis;
    return ReadPlaneAndGeometry(entity, placement, planePoint, planeNormal, location, axis) &&
           IsPointOnPlane(location, planePoint, planeNormal);
}

bool Section::IsTheAxisOnSectionPlane(int entity, const Xform& placement) const
{
    Vec planePoint, location;
    Dir planeNormal, axis;
    return ReadPlaneAndGeometry(entity, placement, planePoint, planeNormal, location, axis) &&
           ArePerpendicular(axis, planeNormal) && IsPointOnPlane(location, planePoint, planeNormal);
}

bool Section::IsTheAxisParallelToSectionPlane(int entity, const Xform& placement) const
{
    Vec planePoint, location;
    Dir planeNormal, axis;
    return ReadPlaneAndGeometry(entity, placement, planePoint, planeNormal, location, axis) &&
           axis.IsParallel(planeNormal);
}

bool Section::IsASectionPlane(const std::pair<int, Instance*>& key) const
{
    return m_plane && m_plane->GetEntityTag() == key.first;
}

// ---- Validity, comparison ------------------------------------------------------------------

bool Section::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                            std::vector<InvalidityType>& codes)
{
    Interaction* interaction = GetInteraction();
    auto report = [&](InvalidityType code) {
        badObjects.push_back(this);
        codes.push_back(code);
    };
    auto isKnownInstance = [interaction](Instance* instance) {
        return instance && interaction && interaction->IsKnownObject(instance) &&
               dynamic_cast<Instance*>(static_cast<TaggedEntity*>(instance));
    };
    if (GetType() != ObjectTypeSection)
        report(InvalidityTypeBadObject);
    for (const auto& mapping : m_mappings) {
        if (!isKnownInstance(mapping.first))
            report(InvalidityTypeBadPointer);
        if (!isKnownInstance(mapping.second.first))
            report(InvalidityTypeBadPointer);
    }
    TaggedEntity* plane = m_plane ? UpcastEntity(m_plane) : nullptr;
    if (!plane || !interaction || !interaction->IsKnownObject(plane) ||
        !DowncastEntity<Reference>(plane))
        report(InvalidityTypeBadPointer);
    return badObjects.empty();
}

bool Section::Compare(TaggedEntity* other)
{
    Section* section = dynamic_cast<Section*>(other);
    if (!TaggedEntity::Compare(other) || !section)
        return false;
    if (!m_plane || !section->m_plane ||
        !UpcastEntity(m_plane)->Compare(UpcastEntity(section->m_plane)))
        return false;
    std::set<Instance*, TaggedEntityPtrLessThan> mineSet, theirsSet;
    GetCutInstances(mineSet);
    section->GetCutInstances(theirsSet);
    std::vector<Instance*> mine(mineSet.begin(), mineSet.end());
    std::vector<Instance*> theirs(theirsSet.begin(), theirsSet.end());
    std::sort(mine.begin(), mine.end(), TaggedEntityIdLessThan());
    std::sort(theirs.begin(), theirs.end(), TaggedEntityIdLessThan());
    if (mine.size() != theirs.size())
        return false;
    for (size_t i = 0; i < mine.size(); ++i) {
        if (!mine[i] || !theirs[i] || mine[i]->GetEntityId() != theirs[i]->GetEntityId())
            return false;
        const SectionMappingEntry& a = m_mappings.at(mine[i]);
        const SectionMappingEntry& b = section->m_mappings.at(theirs[i]);
        if (!a.first || !b.first || !a.first->Compare(b.first))
            return false;
        if (a.second.first.size() != b.second.first.size() ||
            a.second.second.size() != b.second.second.size() ||
            a.second.first.size() != a.second.second.size() ||
            b.second.first.size() != b.second.second.size())
            return false;
        auto identifiers = [](const SectionEntityMap& map) {
            std::vector<std::pair<int, int>> pairs;
            for (size_t k = 0; k < map.first.size(); ++k)
                pairs.emplace_back(GetEntityIdentifier(map.first[k]),
                                   GetEntityIdentifier(map.second[k]));
            std::sort(pairs.begin(), pairs.end());
            return pairs;
        };
        if (identifiers(a.second) != identifiers(b.second))
            return false;
    }
    return true;
}

// ---- File form -----------------------------------------------------------------------------

bool Section::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    Interaction* interaction = GetInteraction();
    const bool reading = xmlio.IsReading();
    int mappingCount = static_cast<int>(m_mappings.size());
    int planeId = m_plane ? UpcastEntity(m_plane)->GetEntityId() : 0;
    bool done = DoIOID(xmlio) && xmlio.DoIO("mappingCount", mappingCount) &&
                xmlio.DoIOIDReference("planeReference", planeId);
    // A section is made on a plane: a file without one (id 0) is refused.
    if (done && reading && planeId == 0) {
        xmlio.AddError(GetEntityId(), XMLErrorCodeBadObjectId);
        done = false;
    }
    if (done && reading) {
        TaggedEntity* found = interaction ? interaction->FindTaggedEntityById(planeId) : nullptr;
        m_plane = found ? DowncastEntity<Reference>(found) : nullptr;
        done = m_plane != nullptr;
        if (m_plane)
            m_plane->AddDependent(this);
    }
    done = done && (!reading ||
                    (mappingCount >= 0 && mappingCount <= xmlio.GetChildElementCount("Mapping")));

    std::vector<std::pair<Instance*, SectionMappingEntry>> mappings(m_mappings.begin(),
                                                                    m_mappings.end());
    if (reading)
        mappings.assign(done ? mappingCount : 0, {});
    for (auto& mapping : mappings) {
        if (!done)
            break;
        done = xmlio.BeginElement("Mapping");
        Instance*& cut = mapping.first;
        Instance*& sectionInstance = mapping.second.first;
        SectionEntityMap& map = mapping.second.second;
        int entryCount = static_cast<int>(map.first.size());
        done =
            done && DoIOInstancePtr(xmlio, "cutInstance", cut, interaction) && cut &&
            DoIOInstancePtr(xmlio, "sectionInstance", sectionInstance, interaction) &&
            sectionInstance && xmlio.DoIO("entryCount", entryCount) &&
            (!reading || (entryCount >= 0 && entryCount <= xmlio.GetChildElementCount("MapEntry")));
        for (int k = 0; done && k < entryCount; ++k) {
            done = xmlio.BeginElement("MapEntry");
            int source = reading ? 0 : GetEntityIdentifier(map.first[k]);
            int sectionEntity = reading ? 0 : GetEntityIdentifier(map.second[k]);
            done = done && xmlio.DoIO("sourceEntity", source) &&
                   xmlio.DoIO("sectionEntity", sectionEntity);
            if (done && reading) {
                int face = 0;
                int found = 0;
                done = BQ_PART_find_entity_by_ident(cut->GetBodyTag(), BQ_CLASS_face, source,
                                                    &face) == BQ_ERROR_no_errors &&
                       BQ_PART_find_entity_by_ident(sectionInstance->GetBodyTag(), BQ_CLASS_edge,
                                                    sectionEntity, &found) == BQ_ERROR_no_errors;
                // Section vertices are listed like edges; one that no edge carries is a vertex.
                if (done && found == 0)
                    done =
                        BQ_PART_find_entity_by_ident(sectionInstance->GetBodyTag(), BQ_CLASS_vertex,
                                                     sectionEntity, &found) == BQ_ERROR_no_errors;
                map.first.push_back(face);
                map.second.push_back(found);
            }
            xmlio.EndElement(true);
        }
        xmlio.EndElement(true);
    }
    if (done && reading)
        for (auto& mapping : mappings)
            AddSectionGeometry(mapping.first, mapping.second.first,
                               Array<int>(static_cast<int>(mapping.second.second.first.size()),
                                          mapping.second.second.first.data()),
                               Array<int>(static_cast<int>(mapping.second.second.second.size()),
                                          mapping.second.second.second.data()));
    xmlio.EndElement(true);
    return done;
}

}  // namespace QEL
