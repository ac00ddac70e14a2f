#include "model/features/Feature.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "core/support/AlgorithmSwitches.h"
#include "model/features/FeatureProcedureData.h"
#include "model/references/Reference.h"
#include "model/transaction/MappingData.h"

#include <brennik.h>

#include <algorithm>

namespace QEL {

namespace {

// Identifier to procedure, for features that name their procedure by identifier.
std::map<std::string, FeatureProcedure>& AppIdentifierProcedures()
{
    static std::map<std::string, FeatureProcedure> s_appIdentifierProcedures;
    return s_appIdentifierProcedures;
}

Reference* EntryAt(const std::vector<Reference*>& list, int index)
{
    return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : nullptr;
}

bool ListHasEntity(const std::vector<Reference*>& list, int entity)
{
    return std::any_of(list.begin(), list.end(), [entity](Reference* reference) {
        return reference && reference->GetEntityTag() == entity;
    });
}

bool IsLiveEntity(int tag)
{
    bool alive = false;
    return tag != 0 && BQ_ENTITY_is(tag, &alive) == BQ_ERROR_no_errors && alive;
}

}  // namespace

Feature::Feature(Interaction* interaction, FeatureType type)
    : SavedObject(interaction), m_FeatureType(type)
{
    SetType(ObjectTypeFeature);
}

Feature::~Feature()
{
    if (GetStoredInteraction())
        DeleteToolBodies();
}

Feature* Feature::Create(Interaction* interaction, FeatureType type)
{
    Feature* feature = new Feature(interaction, type);
    feature->RecordCreated();
    feature->AddToInteraction();
    return feature;
}

Feature* Feature::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    Feature* feature = Create(interaction, FeatureTypeSimple);
    if (!feature->DoIO(xmlio)) {
        feature->Destroy();
        return nullptr;
    }
    return feature;
}

Feature* Feature::TestCreateInvalid(int kind, Interaction* interaction, FeatureType type)
{
    Feature* feature = new Feature(interaction, type);
    feature->RecordCreated();
    // An object that is no reference, where a reference is expected.
    Reference* foreign = reinterpret_cast<Reference*>(static_cast<TaggedEntity*>(interaction));
    std::vector<Reference*>* spoiled = nullptr;
    switch (kind) {
        case 1:
            feature->SetType(ObjectTypeUnknown);
            break;
        case 2:
            spoiled = &feature->m_References;
            break;
        case 3:
            spoiled = &feature->m_ProfileReferences;
            break;
        case 4:
            spoiled = &feature->m_Dependents;
            break;
        default:
            break;
    }
    if (spoiled) {
        spoiled->push_back(nullptr);
        spoiled->push_back(foreign);
    }
    return feature;
}

void Feature::TestDestroyInvalid(int) { TaggedEntity::Destroy(); }

// ---- Object model --------------------------------------------------------------------------

bool Feature::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                            std::vector<InvalidityType>& codes)
{
    Object::CheckValidity(badObjects, codes);
    if (GetType() != ObjectTypeFeature) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    Interaction* interaction = GetInteraction();
    for (const std::vector<Reference*>* list : {&m_References, &m_ProfileReferences, &m_Dependents})
        for (Reference* reference : *list) {
            // Test the pointer as a plain address before treating it as a reference.
            const void* address = reference;
            TaggedEntity* known = reference && interaction && interaction->IsKnownObject(address)
                                      ? UpcastEntity(reference)
                                      : nullptr;
            if (!known || !DowncastEntity<Reference>(known)) {
                badObjects.push_back(this);
                codes.push_back(InvalidityTypeBadPointer);
            }
        }
    return badObjects.empty();
}

void Feature::CopyState(const Feature& from)
{
    m_References = from.m_References;
    m_ProfileReferences = from.m_ProfileReferences;
    m_Dependents = from.m_Dependents;
    m_FeatureType = from.m_FeatureType;
    m_UpdateRequired = from.m_UpdateRequired;
    m_ProcedureMapDataTag = from.m_ProcedureMapDataTag;
    m_tProcedureToolBody = from.m_tProcedureToolBody;
    m_CutMapDataTag = from.m_CutMapDataTag;
    m_tCutToolBody = from.m_tCutToolBody;
    m_tMainBody = from.m_tMainBody;
    m_AppDataIntegers = from.m_AppDataIntegers;
    m_AppDataDoubles = from.m_AppDataDoubles;
    m_AppIdentifier = from.m_AppIdentifier;
    m_Instance = from.m_Instance;
    m_ProcedureDataTag = from.m_ProcedureDataTag;
    m_Flags = from.m_Flags;
    m_FeatureDevAttDef = from.m_FeatureDevAttDef;
}

void Feature::Destroy()
{
    UnlinkAll();
    TaggedEntity::Destroy();
}

void Feature::UnlinkAll()
{
    for (std::vector<Reference*>* list : {&m_References, &m_ProfileReferences, &m_Dependents})
        for (Reference* reference : *list)
            if (reference)
                reference->RemoveDependent(this);
}

bool Feature::Compare(TaggedEntity* other)
{
    if (!TaggedEntity::Compare(other))
        return false;
    Feature* that = dynamic_cast<Feature*>(other);
    return that && m_FeatureType == that->m_FeatureType &&
           AreEntityVectorsEqual(m_ProfileReferences, that->m_ProfileReferences) &&
           AreEntityVectorsEqual(m_References, that->m_References) &&
           AreEntityVectorsEqual(m_Dependents, that->m_Dependents) &&
           m_AppIdentifier == that->m_AppIdentifier && m_UpdateRequired == that->m_UpdateRequired &&
           m_AppDataIntegers == that->m_AppDataIntegers &&
           m_AppDataDoubles == that->m_AppDataDoubles && m_Flags == that->m_Flags;
}

void Feature::RemoveReference(Reference* reference)
{
    RecordModified();
    for (std::vector<Reference*>* list : {&m_References, &m_ProfileReferences, &m_Dependents})
        list->erase(std::remove(list->begin(), list->end(), reference), list->end());
}

// ---- Type, flags and instance --------------------------------------------------------------

void Feature::SetFeatureType(FeatureType type)
{
    if (type == m_FeatureType)
        return;
    RecordModified();
    m_FeatureType = type;
}

void Feature::SetUpdateRequired(bool required)
{
    if (required == m_UpdateRequired)
        return;
    RecordModified();
    m_UpdateRequired = required;
}

bool Feature::SetInstance(Instance* instance)
{
    if (m_FeatureType == FeatureTypeSimple)
        return false;
    if (m_Instance)
        return m_Instance == instance;
    // Recorded like every other field, so that rolling back takes the instance off again.
    RecordModified();
    m_Instance = instance;
    return true;
}

bool Feature::IsTreatedAsSimple() const
{
    return m_FeatureType == FeatureTypeSimple ||
           (m_FeatureType == FeatureTypeSimpleRecreate && GetNewPFAlgorithm());
}

// ---- Reference lists -----------------------------------------------------------------------

void Feature::LinkReference(Reference* reference)
{
    if (reference)
        reference->AddDependent(this);
}

void Feature::AddReference(Reference* reference)
{
    RecordModified();
    m_References.push_back(reference);
    LinkReference(reference);
    if (!reference)
        return;
    if (m_References.size() == 1) {
        if (m_FeatureType != FeatureTypeSimple)
            m_Instance = reference->GetInstance();
        return;
    }
    // All references of one body within a feature take the behaviour of the earliest of them.
    const int body = GetBodyOfTopology(reference->GetEntityTag());
    auto onBody = [body](Reference* entry) {
        return entry && GetBodyOfTopology(entry->GetEntityTag()) == body;
    };
    size_t first = 0;
    while (first < m_References.size() && m_References[first] != reference &&
           !onBody(m_References[first]))
        ++first;
    if (first >= m_References.size() || !m_References[first])
        return;
    const ReferenceBehaviour target = m_References[first]->GetBehaviour();
    for (size_t i = first + 1; i < m_References.size(); ++i) {
        Reference* entry = m_References[i];
        if (onBody(entry) && entry->GetBehaviour() != target)
            entry->SetBehaviour(target);
    }
}

void Feature::AddProfileReference(Reference* reference)
{
    RecordModified();
    m_ProfileReferences.push_back(reference);
    LinkReference(reference);
    if (reference)
        reference->SetBehaviour(ReferenceBehaviourPositioning);
}

void Feature::AddDependents(Reference* reference)
{
    RecordModified();
    m_Dependents.push_back(reference);
    LinkReference(reference);
}

Reference* Feature::GetReference(int index) const { return EntryAt(m_References, index); }
Reference* Feature::GetProfileReference(int index) const
{
    return EntryAt(m_ProfileReferences, index);
}
Reference* Feature::GetDependent(int index) const { return EntryAt(m_Dependents, index); }

bool Feature::HasReferenceToEntity(int entity) const { return ListHasEntity(m_References, entity); }
bool Feature::HasProfileReferenceToEntity(int entity) const
{
    return ListHasEntity(m_ProfileReferences, entity);
}
bool Feature::HasDependentOnEntity(int entity) const { return ListHasEntity(m_Dependents, entity); }

bool Feature::GetIsDangling() const
{
    return std::any_of(m_References.begin(), m_References.end(), [](Reference* reference) {
        return reference && reference->GetIsDangling();
    });
}

void Feature::PurgeReferences(std::vector<Reference*>& list, bool tagOnly)
{
    for (size_t i = 0; i < list.size();) {
        Reference* reference = list[i];
        const int entity = reference ? reference->GetEntityTag() : 0;
        const bool keep = reference && (tagOnly ? entity != 0 : IsLiveEntity(entity));
        if (keep) {
            ++i;
            continue;
        }
        RecordModified();
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        if (reference) {
            reference->RemoveDependent(this);
            if (reference->GetObjectCount() == 0)
                reference->Destroy();
        }
    }
}

void Feature::CleanUp(bool deleteToolBodies)
{
    PurgeReferences(m_References, false);
    PurgeReferences(m_Dependents, false);
    if (deleteToolBodies)
        DeleteToolBodies();
}

void Feature::RemapReferences(const std::map<Reference*, std::set<int>>& extraEntities)
{
    Interaction* interaction = GetInteraction();
    for (std::vector<Reference*>* list : {&m_References, &m_Dependents}) {
        const std::vector<Reference*> before = *list;
        for (Reference* entry : before) {
            if (!entry)
                continue;
            auto found = extraEntities.find(entry);
            if (found == extraEntities.end())
                continue;
            for (int tag : found->second) {
                RecordModified();
                if (Reference* made = Reference::Create(interaction, tag, entry->GetInstance())) {
                    list->push_back(made);
                    LinkReference(made);
                }
            }
        }
    }
    PurgeReferences(m_References, true);
    PurgeReferences(m_Dependents, true);
}

// ---- Application data and identifier -------------------------------------------------------

void Feature::SetAppDataInteger(int key, int value)
{
    RecordModified();
    m_AppDataIntegers[key] = value;
}

void Feature::SetAppDataDouble(int key, double value)
{
    RecordModified();
    m_AppDataDoubles[key] = value;
}

bool Feature::GetAppDataInteger(int key, int* value) const
{
    auto found = m_AppDataIntegers.find(key);
    if (found == m_AppDataIntegers.end())
        return false;
    if (value)
        *value = found->second;
    return true;
}

bool Feature::GetAppDataDouble(int key, double* value) const
{
    auto found = m_AppDataDoubles.find(key);
    if (found == m_AppDataDoubles.end())
        return false;
    if (value)
        *value = found->second;
    return true;
}

void Feature::SetAppIdentifier(const char* identifier)
{
    RecordModified();
    if (!identifier) {
        m_AppIdentifier.clear();
        return;
    }
    m_AppIdentifier = identifier;
    auto found = AppIdentifierProcedures().find(m_AppIdentifier);
    if (found == AppIdentifierProcedures().end())
        return;
    RecordModified();
    m_Procedure = found->second;
    m_ProcedureAppData = nullptr;
}

void Feature::MapIdentifierToProcedure(const char* identifier, FeatureProcedure procedure)
{
    if (identifier)
        AppIdentifierProcedures()[identifier] = procedure;
}

void Feature::SetProcedure(FeatureProcedure procedure, void* appData)
{
    RecordModified();
    m_Procedure = procedure;
    m_ProcedureAppData = appData;
}

FeatureProcedure Feature::GetProcedure(void** appData) const
{
    if (appData)
        *appData = m_ProcedureAppData;
    return m_Procedure;
}

// ---- Tool bodies, mappings, label definition -----------------------------------------------

MappingData* Feature::GetProcedureMapData()
{
    return m_ProcedureMapDataTag != 0 ? FindMappingDataFromTag(m_ProcedureMapDataTag) : nullptr;
}

MappingData* Feature::GetCutMapData()
{
    return m_CutMapDataTag != 0 ? FindMappingDataFromTag(m_CutMapDataTag) : nullptr;
}

FeatureProcedureData* Feature::GetProcedureData()
{
    return m_ProcedureDataTag != 0
               ? DowncastEntity<FeatureProcedureData>(FindTaggedEntityFromTag(m_ProcedureDataTag))
               : nullptr;
}

void Feature::DeleteToolBodies()
{
    if (!GetStoredInteraction())
        return;
    for (int* body : {&m_tCutToolBody, &m_tProcedureToolBody}) {
        if (*body != 0)
            BQ_ENTITY_delete(1, body);
        *body = 0;
    }
}

int Feature::GetFeatureDevAttDef()
{
    if (m_FeatureDevAttDef != 0)
        return m_FeatureDevAttDef;
    int definition = 0;
    if (BQ_ATTDEF_find("ORV/QEL_FEATURE_DEV", &definition) != BQ_ERROR_no_errors ||
        definition == 0) {
        const int owners[] = {BQ_CLASS_face, BQ_CLASS_edge, BQ_CLASS_vertex};
        const int fieldTypes[] = {BQ_FIELD_type_int};
        const char* const fieldNames[] = {"QELObject"};
        BQ_ATTDEF_sf_t form{
            "ORV/QEL_FEATURE_DEV", BQ_ATTDEF_class_normal, 3, owners, 1, fieldTypes, fieldNames};
        definition = 0;
        BQ_ATTDEF_create_2(&form, &definition);
    }
    m_FeatureDevAttDef = definition;
    return definition;
}

// ---- Behaviour spread ----------------------------------------------------------------------

void SpreadBehaviourThroughFeatures(Reference* reference, const std::vector<Feature*>& features,
                                    ReferenceBehaviour behaviour)
{
    if (!reference || features.empty())
        return;
    const int entity = reference->GetEntityTag();
    const int body = GetBodyOfTopology(entity);
    std::set<int> handled{entity};
    for (Feature* feature : features) {
        const std::vector<Reference*>* list = nullptr;
        if (feature->HasReferenceToEntity(entity))
            list = &feature->GetReferences();
        else if (feature->HasProfileReferenceToEntity(entity))
            list = &feature->GetProfileReferences();
        if (!list)
            continue;
        // The list may change while behaviours are set; walk a copy.
        const std::vector<Reference*> entries = *list;
        for (Reference* entry : entries) {
            if (!entry)
                continue;
            const int other = entry->GetEntityTag();
            if (handled.count(other) || GetBodyOfTopology(other) != body)
                continue;
            std::vector<Reference*> found;
            entry->SetBehaviourOnEntity(behaviour, found);
            handled.insert(other);
        }
    }
}

QEL_INSTALL_ENTITY_CASTS(Feature)
QEL_INSTALL_OBJECT_READER(Feature)

}  // namespace QEL
