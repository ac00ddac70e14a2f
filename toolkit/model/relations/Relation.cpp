#include "model/relations/Relation.h"

#include "core/enums/EnumNames.h"
#include "core/kernel/KernelFacade.h"
#include "core/maths/LinesAndPlanes.h"
#include "core/maths/Position.h"
#include "core/maths/Tolerance.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceCombination.h"
#include "model/relations/RelationEngine.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

namespace QEL {

namespace {

constexpr int s_effectiveEntity = 500;
constexpr int s_effectiveUnusable = 503;

bool IsDimensionType(RelationType type)
{
    return type >= RelationTypeDistance && type <= RelationTypeMinorRadius;
}

bool IsOneOfClasses(int classCode, std::initializer_list<int> classes)
{
    return std::find(classes.begin(), classes.end(), classCode) != classes.end();
}

// A reference's geometry reduced to what the satisfaction tests measure.
enum MeasuringKind { MeasuringNone, MeasuringPoint, MeasuringLine, MeasuringPlane };

struct MeasuringGeometry {
    MeasuringKind kind = MeasuringNone;
    Vec location;
    Dir direction;
    double radius = 0.0;
};

MeasuringGeometry ReadMeasuringGeometry(Reference* reference)
{
    MeasuringGeometry geometry;
    if (!reference)
        return geometry;
    Position location;
    Position axis;
    double radius = 0.0;
    Instance* instance = reference->GetInstance();
    const int classCode = GetStandardGeometry(reference->GetEntityTag(), nullptr,
                                              instance ? &instance->GetXform() : nullptr, &location,
                                              &axis, &radius, nullptr, nullptr);
    geometry.location = Vec(location.x, location.y, location.z);
    geometry.direction = Dir(axis.x, axis.y, axis.z);
    geometry.radius = radius;
    if (IsOneOfClasses(classCode, {KernelClassPoint, KernelClassCircle, KernelClassSphere}))
        geometry.kind = MeasuringPoint;
    else if (IsOneOfClasses(classCode, {KernelClassLine, KernelClassCylinder, KernelClassCone}))
        geometry.kind = MeasuringLine;
    else if (classCode == KernelClassPlane)
        geometry.kind = MeasuringPlane;
    return geometry;
}

// The distance between two measuring geometries; -1.0 when it is not measurable.
double GetGeometryDistance(const MeasuringGeometry& a, const MeasuringGeometry& b)
{
    if (a.kind == MeasuringNone || b.kind == MeasuringNone)
        return -1.0;
    const MeasuringGeometry& low = a.kind <= b.kind ? a : b;
    const MeasuringGeometry& high = a.kind <= b.kind ? b : a;
    switch (low.kind) {
        case MeasuringPoint:
            if (high.kind == MeasuringPoint)
                return (a.location - b.location).Length();
            if (high.kind == MeasuringLine)
                return GetPointLineDistance(low.location, high.location, high.direction);
            return GetPointPlaneDistance(low.location, high.location, high.direction);
        case MeasuringLine:
            if (high.kind == MeasuringLine)
                return GetLineLineDistance(a.location, a.direction, b.location, b.direction);
            return ArePerpendicular(low.direction, high.direction)
                       ? GetPointPlaneDistance(low.location, high.location, high.direction)
                       : -1.0;
        default:
            // Two planes: from the first reference's plane point to the second plane.
            return AreParallel(a.direction, b.direction)
                       ? GetPointPlaneDistance(a.location, b.location, b.direction)
                       : -1.0;
    }
}

bool AreGeometriesParallel(const MeasuringGeometry& a, const MeasuringGeometry& b)
{
    if (a.kind < MeasuringLine || b.kind < MeasuringLine)
        return false;
    if (a.kind != b.kind)
        return a.direction.IsPerpendicular(b.direction);
    return a.direction.IsParallel(b.direction);
}

bool AreGeometriesPerpendicular(const MeasuringGeometry& a, const MeasuringGeometry& b)
{
    if (a.kind < MeasuringLine || b.kind < MeasuringLine)
        return false;
    if (a.kind != b.kind)
        return a.direction.IsParallel(b.direction);
    return a.direction.IsPerpendicular(b.direction);
}

bool AreRelationGeometriesCoincident(const MeasuringGeometry& a, const MeasuringGeometry& b)
{
    return std::fabs(GetGeometryDistance(a, b)) < s_linearTolerance &&
           (a.kind == MeasuringPoint || b.kind == MeasuringPoint || AreGeometriesParallel(a, b));
}

bool AreGeometriesTangent(const MeasuringGeometry& a, const MeasuringGeometry& b)
{
    const double distance = GetGeometryDistance(a, b);
    if (distance < -s_linearTolerance)
        return false;
    if (a.kind != MeasuringPoint && b.kind != MeasuringPoint) {
        if (a.kind != MeasuringLine && b.kind != MeasuringLine)
            return false;
        if (!AreGeometriesParallel(a, b))
            return false;
    }
    return std::fabs(a.radius + b.radius - distance) < s_linearTolerance ||
           std::fabs(std::fabs(a.radius - b.radius) - distance) < s_linearTolerance;
}

// The relation's references sorted by interaction-wide id, for a comparison that does not
// depend on the order in which they were given.
std::vector<Reference*> SortedById(const std::vector<Reference*>& references)
{
    std::vector<Reference*> sorted = references;
    std::sort(sorted.begin(), sorted.end(), [](Reference* a, Reference* b) {
        return TaggedEntityIdLessThan()(UpcastEntity(a), UpcastEntity(b));
    });
    return sorted;
}

}  // namespace

Relation::Relation(Interaction* interaction, RelationType type, double value)
    : SavedObject(interaction), m_relationType(type), m_value(value)
{
    SetType(ObjectTypeRelation);
    m_references.reserve(2);
    if (interaction)
        RecordCreated();
}

Relation::Relation(Interaction* interaction, RelationType type, std::vector<Reference*>& references)
    : SavedObject(interaction), m_relationType(type), m_value(0.0)
{
    SetType(ObjectTypeRelation);
    for (Reference* reference : references) {
        m_references.push_back(reference);
        reference->AddDependent(this);
        m_subtypes[reference] = RelationSubtypeBoundary;
    }
    if (interaction)
        RecordCreated();
    bool measured = false;
    MeasureRelationValueAndValidate(m_value, measured);
}

Relation::~Relation() = default;

QEL_INSTALL_ENTITY_CASTS(Relation)
QEL_INSTALL_OBJECT_READER(Relation)

// ---- Creation ------------------------------------------------------------------------------

Relation* Relation::Create(Interaction* interaction, RelationType type,
                           std::vector<Reference*>& references)
{
    if (!interaction || std::count(references.begin(), references.end(), nullptr) != 0 ||
        !IsReferenceCombinationValid(references, type))
        return nullptr;
    Relation* relation = new Relation(interaction, type, references);
    relation->AddToInteraction();
    return relation;
}

Relation* Relation::CreateUnary(Interaction* interaction, RelationType type, Reference* reference)
{
    std::vector<Reference*> references{reference};
    return Create(interaction, type, references);
}

Relation* Relation::CreateBinary(Interaction* interaction, RelationType type, Reference* first,
                                 Reference* second)
{
    std::vector<Reference*> references{first, second};
    return Create(interaction, type, references);
}

Relation* Relation::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    Relation* relation = new Relation(interaction, RelationTypeFixed, 0.0);
    if (!relation->DoIO(xmlio)) {
        relation->Destroy();
        return nullptr;
    }
    relation->AddToInteraction();
    return relation;
}

Relation* Relation::TestCreateInvalid(int kind, Interaction* interaction, RelationType type,
                                      double value, Reference* first, Reference* second)
{
    Relation* relation = new Relation(interaction, type, value);
    for (Reference* reference : {first, second})
        if (reference)
            relation->AddReference(reference);
    if (kind == 1)
        relation->SetType(ObjectTypeUnknown);
    else if (kind == 2) {
        relation->m_references.push_back(reinterpret_cast<Reference*>(interaction));
        relation->m_references.push_back(nullptr);
    }
    return relation;
}

void Relation::TestDestroyInvalid(int kind)
{
    if (kind == 2)
        m_references.resize(m_references.size() >= 2 ? m_references.size() - 2 : 0);
    for (Reference* reference : m_references)
        if (reference)
            reference->RemoveDependent(this);
    TaggedEntity::Destroy();
}

// ---- Accessors -----------------------------------------------------------------------------

void Relation::SetValue(double value)
{
    if (value == m_value)
        return;
    RecordModified();
    m_value = value;
}

bool Relation::SetApplicationString(const char* text)
{
    const std::string next = text ? text : "";
    if (next != m_applicationString) {
        RecordModified();
        m_applicationString = next;
    }
    return true;
}

const char* Relation::GetApplicationString() const
{
    return m_applicationString.empty() ? nullptr : m_applicationString.c_str();
}

Reference* Relation::GetReference(int index) const
{
    return index >= 0 && index < GetNumReferences() ? m_references[index] : nullptr;
}

RelationSubtype Relation::GetRelationSubtype(Reference* reference) const
{
    auto found = m_subtypes.find(reference);
    return found != m_subtypes.end() ? found->second : RelationSubtypeBoundary;
}

bool Relation::SetRelationSubtype(Reference* reference, RelationSubtype subtype, bool remeasure)
{
    // A subtype is kept only for a reference the relation holds: an entry for any other would
    // outlive that reference, since only held references tell the relation when they go.
    if (!reference ||
        std::find(m_references.begin(), m_references.end(), reference) == m_references.end())
        return false;
    if (!IsReferenceRelationSubtypeCombinationValid(m_relationType, reference->GetEntityTag(),
                                                    subtype))
        return false;
    RecordModified();
    m_subtypes[reference] = subtype;
    if (remeasure) {
        bool measured = false;
        MeasureRelationValueAndValidate(m_value, measured);
    }
    return true;
}

void Relation::SetFoundData(FoundData* foundData)
{
    if (foundData == m_foundData)
        return;
    RecordModified();
    if (m_foundData && foundData)
        ClearFoundDataObject(m_foundData);
    m_foundData = foundData;
}

bool Relation::GetIsDangling() const
{
    return std::any_of(m_references.begin(), m_references.end(), [](Reference* reference) {
        return reference && reference->GetIsDangling();
    });
}

// ---- References ----------------------------------------------------------------------------

bool Relation::AddReference(Reference* reference)
{
    if (!reference)
        return false;
    std::vector<Reference*> next = m_references;
    next.push_back(reference);
    if (!IsReferenceCombinationValid(next, m_relationType))
        return false;
    RecordModified();
    m_references.push_back(reference);
    reference->AddDependent(this);
    m_subtypes[reference] = RelationSubtypeBoundary;
    return true;
}

void Relation::RemoveReference(Reference* reference)
{
    auto found = std::find(m_references.begin(), m_references.end(), reference);
    if (found == m_references.end())
        return;
    if (reference)
        reference->RemoveDependent(this);
    RecordModified();
    m_references.erase(found);
    m_subtypes.erase(reference);
}

bool Relation::ReplaceReference(Reference* oldReference, Reference* replacement)
{
    if (std::find(m_references.begin(), m_references.end(), oldReference) == m_references.end() ||
        std::find(m_references.begin(), m_references.end(), replacement) != m_references.end())
        return false;
    RemoveReference(oldReference);
    return AddReference(replacement);
}

bool Relation::IsReferenceCombinationValid() const
{
    return IsReferenceCombinationValid(m_references, m_relationType);
}

bool Relation::IsReferenceCombinationValid(const std::vector<Reference*>& references,
                                           RelationType type)
{
    return ReferenceCombination(references).IsValidForRelationType(type);
}

int Relation::GetEffectiveGeomType(int entity, RelationSubtype subtype)
{
    if (subtype == RelationSubtypeBoundary)
        return s_effectiveEntity;
    const int classCode =
        GetStandardGeometry(entity, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (subtype == RelationSubtypeCentre &&
        IsOneOfClasses(classCode,
                       {KernelClassCircle, KernelClassCone, KernelClassSphere, KernelClassTorus}))
        return KernelClassPoint;
    if (subtype == RelationSubtypeAxis &&
        IsOneOfClasses(classCode, {KernelClassCircle, KernelClassCylinder, KernelClassCone,
                                   KernelClassSphere, KernelClassTorus}))
        return KernelClassLine;
    return s_effectiveUnusable;
}

bool Relation::IsReferenceRelationSubtypeCombinationValid(RelationType type, int entity,
                                                          RelationSubtype subtype)
{
    switch (GetEffectiveGeomType(entity, subtype)) {
        case s_effectiveEntity:
            return true;
        case KernelClassPoint:
            return IsOneOfClasses(
                type, {RelationTypeDistance, RelationTypeDirectedDistance, RelationTypeCoincident,
                       RelationTypeConcentric, RelationTypeFixed});
        case KernelClassLine:
            return IsOneOfClasses(
                type, {RelationTypeDistance, RelationTypeDirectedDistance, RelationTypeAngle,
                       RelationTypePlanarAngle, RelationTypeParallel, RelationTypePerpendicular,
                       RelationTypeCoincident, RelationTypeConcentric, RelationTypeTangent,
                       RelationTypeFixed});
        default:
            return false;
    }
}

// ---- Measurement and satisfaction ----------------------------------------------------------

bool Relation::MeasureRelationValueAndValidate(double& value, bool& measured)
{
    value = 0.0;
    measured = false;
    if (!IsDimensionType(m_relationType) || m_references.empty())
        return false;
    return MeasureRelationInTemporarySolver(this, value, measured);
}

bool Relation::IsGeometricallySatisfied()
{
    if (IsDimensionType(m_relationType)) {
        double measured = 0.0;
        bool valid = false;
        // What cannot be measured cannot be shown to be broken.
        if (!MeasureRelationValueAndValidate(measured, valid))
            return true;
        return std::fabs(measured - m_value) < s_linearTolerance;
    }
    switch (m_relationType) {
        case RelationTypeEqualRadius:
        case RelationTypeParallel:
        case RelationTypePerpendicular:
        case RelationTypeCoincident:
        case RelationTypeConcentric:
        case RelationTypeTangent:
            return IsSatisfiedBetweenGeometries();
        default:
            return true;
    }
}

bool Relation::IsSatisfiedBetweenGeometries()
{
    const MeasuringGeometry a = ReadMeasuringGeometry(GetReference(0));
    const MeasuringGeometry b = ReadMeasuringGeometry(GetReference(1));
    switch (m_relationType) {
        case RelationTypeParallel:
            return AreGeometriesParallel(a, b);
        case RelationTypePerpendicular:
            return AreGeometriesPerpendicular(a, b);
        case RelationTypeCoincident:
        case RelationTypeConcentric:
            return AreRelationGeometriesCoincident(a, b);
        case RelationTypeTangent:
            return AreGeometriesTangent(a, b);
        case RelationTypeEqualRadius:
            return a.kind != MeasuringNone && b.kind != MeasuringNone &&
                   std::fabs(a.radius - b.radius) < s_linearTolerance;
        default:
            return true;
    }
}

// ---- Search --------------------------------------------------------------------------------

int Relation::FindMatchingRelations(Interaction* interaction, Relation* given, RelationType type,
                                    double value, const KeyMap& keys, std::vector<Relation*>& out)
{
    std::vector<Reference*> references;
    if (given) {
        references = given->m_references;
    } else if (interaction) {
        for (const auto& key : keys)
            interaction->FindReferencesOnEntity(key.first.first, key.first.second, references);
        if (references.size() != keys.size())
            references.clear();
    }
    if (references.empty() || !references.front())
        return static_cast<int>(out.size());

    std::set<Relation*, TaggedEntityPtrLessThan> candidates;
    std::vector<Relation*> first;
    references.front()->GetRelations(first);
    if (references.size() == 1) {
        candidates.insert(first.begin(), first.end());
    } else {
        std::sort(first.begin(), first.end());
        for (size_t i = 1; i < references.size(); ++i) {
            if (!references[i])
                continue;
            std::vector<Relation*> other;
            references[i]->GetRelations(other);
            std::sort(other.begin(), other.end());
            std::vector<Relation*> shared;
            std::set_intersection(first.begin(), first.end(), other.begin(), other.end(),
                                  std::back_inserter(shared));
            candidates.insert(shared.begin(), shared.end());
        }
    }

    for (Relation* candidate : candidates) {
        // Exact: a value that differs in the last digit is another relation.
        if (candidate == given || candidate->m_references.size() != references.size() ||
            candidate->m_relationType != type || candidate->m_value != value)
            continue;
        bool same = true;
        for (Reference* reference : candidate->m_references) {
            RelationSubtype expected = RelationSubtypeBoundary;
            if (given) {
                expected = given->GetRelationSubtype(reference);
            } else if (reference) {
                auto key =
                    keys.find(std::make_pair(reference->GetEntityTag(), reference->GetInstance()));
                if (key != keys.end())
                    expected = key->second;
            }
            if (candidate->GetRelationSubtype(reference) != expected) {
                same = false;
                break;
            }
        }
        if (same)
            out.push_back(candidate);
    }
    return static_cast<int>(out.size());
}

int Relation::FindDuplicates(std::vector<Relation*>& out)
{
    return FindMatchingRelations(GetInteraction(), this, m_relationType, m_value, KeyMap(), out);
}

// ---- Lifecycle -----------------------------------------------------------------------------

void Relation::Destroy()
{
    for (Reference* reference : m_references)
        if (reference)
            reference->RemoveDependent(this);
    ClearFoundDataObject(m_foundData);
    TaggedEntity::Destroy();
}

bool Relation::Compare(TaggedEntity* other)
{
    if (!TaggedEntity::Compare(other))
        return false;
    Relation* relation = dynamic_cast<Relation*>(other);
    if (!relation || m_applicationString != relation->m_applicationString ||
        m_relationType != relation->m_relationType ||
        !IsEqualWithinTolerance(m_value, relation->m_value))
        return false;
    const std::vector<Reference*> mine = SortedById(m_references);
    const std::vector<Reference*> theirs = SortedById(relation->m_references);
    if (mine.size() != theirs.size())
        return false;
    for (size_t i = 0; i < mine.size(); ++i) {
        if (!mine[i] || !theirs[i]) {
            if (mine[i] != theirs[i])
                return false;
            continue;
        }
        if (!mine[i]->Compare(theirs[i]) ||
            GetRelationSubtype(mine[i]) != relation->GetRelationSubtype(theirs[i]))
            return false;
    }
    return true;
}

void Relation::CheckReferencePointers(std::vector<TaggedEntity*>& badObjects,
                                      std::vector<InvalidityType>& codes)
{
    Interaction* interaction = GetInteraction();
    for (Reference* reference : m_references) {
        // Known first: only an object of the interaction may be looked at to learn its class.
        const bool known = reference && interaction && interaction->IsKnownObject(reference);
        if (!known || !DowncastEntity<Reference>(reinterpret_cast<TaggedEntity*>(reference))) {
            badObjects.push_back(this);
            codes.push_back(InvalidityTypeBadPointer);
        }
    }
}

bool Relation::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                             std::vector<InvalidityType>& codes)
{
    const size_t before = badObjects.size();
    Object::CheckValidity(badObjects, codes);
    if (TaggedEntity::GetType() != ObjectTypeRelation) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    CheckReferencePointers(badObjects, codes);
    return badObjects.size() == before;
}

void Relation::CopyState(const Relation& from)
{
    m_references = from.m_references;
    m_relationType = from.m_relationType;
    m_value = from.m_value;
    m_subtypes = from.m_subtypes;
    m_applicationString = from.m_applicationString;
    m_foundData = from.m_foundData;
}

// ---- XML -----------------------------------------------------------------------------------

bool Relation::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement("Relation"))
        return false;
    bool done = DoIOID(xmlio) &&
                xmlio.DoIOEnum<RelationType>("relationType", m_relationType, RelationTypeToString,
                                             RelationTypeFromString) &&
                xmlio.DoIO("relationValue", m_value, 16);
    if (done && (xmlio.IsReading() || !m_applicationString.empty()))
        done = xmlio.DoIO("appID", m_applicationString);
    done = done && DoIOReferences(xmlio);
    xmlio.EndElement(true);
    return done;
}

bool Relation::DoIOReferences(XMLIO& xmlio)
{
    const bool reading = xmlio.IsReading();
    if (reading) {
        m_references.assign(xmlio.GetChildElementCount("RelRef"), nullptr);
        m_subtypes.clear();
    }
    Interaction* interaction = GetInteraction();
    for (Reference*& reference : m_references) {
        if (!xmlio.BeginElement("RelRef"))
            return false;
        bool done = DoIOReferencePtr(xmlio, "referenceRef", reference, interaction) && reference;
        if (!done && reading)
            xmlio.AddError(GetEntityId(), XMLErrorCodeRelationUnresolved);
        RelationSubtype subtype = reading ? RelationSubtypeBoundary : GetRelationSubtype(reference);
        done = done && xmlio.DoIOEnum<RelationSubtype>("subType", subtype, RelationSubtypeToString,
                                                       RelationSubtypeFromString);
        if (done && reading) {
            m_subtypes[reference] = subtype;
            reference->AddDependent(this);
        }
        xmlio.EndElement(true);
        if (!done)
            return false;
    }
    return true;
}

}  // namespace QEL
