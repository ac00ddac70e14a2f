// Entity tests and classes, copy and delete, attributes and groups of the kernel facade.
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/support/TextUtils.h"

#include <hxr.h>

namespace QEL {

namespace {

const char* const s_featureAttDefName = "KALDERN/QEL_FEATURE";
// Set once per process; the definition lives as long as the kernel session.
int s_featureAttDef = 0;

bool AskFlag(int (*query)(int, bool*), int tag)
{
    bool flag = false;
    return query(tag, &flag) == BQ_ERROR_no_errors && flag;
}

}  // namespace

bool IsEntity(int tag) { return AskFlag(BQ_ENTITY_is, tag); }

bool IsGeometry(int tag) { return AskFlag(BQ_ENTITY_is_geom, tag); }

bool IsApplicationItem(int tag) { return AskFlag(BQ_APPITEM_is, tag); }

bool IsPartition(int tag) { return AskFlag(BQ_PARTITION_is, tag); }

int GetEntityClass(int tag)
{
    int classCode = KernelClassNull;
    if (!IsEntity(tag) || BQ_ENTITY_ask_class(tag, &classCode) != BQ_ERROR_no_errors)
        return KernelClassNull;
    return classCode;
}

bool IsEntityOfClass(int tag, int classCode) { return GetEntityClass(tag) == classCode; }
bool IsFace(int tag) { return IsEntityOfClass(tag, KernelClassFace); }
bool IsEdge(int tag) { return IsEntityOfClass(tag, KernelClassEdge); }
bool IsVertex(int tag) { return IsEntityOfClass(tag, KernelClassVertex); }

bool IsFaceEdgeOrVertex(int tag)
{
    const int classCode = GetEntityClass(tag);
    return classCode == KernelClassFace || classCode == KernelClassEdge ||
           classCode == KernelClassVertex;
}

bool IsPointLineOrPlaneClass(int classCode)
{
    return classCode == KernelClassLine || classCode == KernelClassPlane ||
           classCode == KernelClassPoint;
}

bool IsPointLineOrPlane(int tag) { return IsPointLineOrPlaneClass(GetEntityClass(tag)); }

int GetEntityIdentifier(int tag)
{
    int identifier = 0;
    if (!IsEntity(tag) || BQ_ENTITY_ask_identifier(tag, &identifier) != BQ_ERROR_no_errors)
        return 0;
    return identifier;
}

int GetAddOnFeatureIdentifier(int group)
{
    int identifier = 0;
    if (HXR_FEAT_ask_identifier(group, &identifier) != HXR_ERROR_none)
        return 0;
    return identifier;
}

int FindEntityByIdentifier(int part, int classCode, int identifier)
{
    if (classCode == KernelClassLine)
        classCode = KernelClassCurve;
    else if (classCode == KernelClassPlane)
        classCode = KernelClassSurface;
    int entity = 0;
    if (BQ_PART_find_entity_by_ident(part, classCode, identifier, &entity) != BQ_ERROR_no_errors)
        return 0;
    return entity;
}

int CopyEntity(int tag)
{
    int copy = 0;
    return BQ_ENTITY_copy(tag, &copy) == BQ_ERROR_no_errors ? copy : 0;
}

bool DeleteEntity(int tag) { return BQ_ENTITY_delete(1, &tag) == BQ_ERROR_no_errors; }

bool DeleteEntities(const std::vector<int>& entities)
{
    if (entities.empty())
        return true;
    return BQ_ENTITY_delete(static_cast<int>(entities.size()), entities.data()) ==
           BQ_ERROR_no_errors;
}

int GetAttributeDefinition(int attribute)
{
    int definition = 0;
    return BQ_ATTRIB_ask_attdef(attribute, &definition) == BQ_ERROR_no_errors ? definition : 0;
}

int GetAttributeOwner(int attribute)
{
    int owner = 0;
    return BQ_ATTRIB_ask_owner(attribute, &owner) == BQ_ERROR_no_errors ? owner : 0;
}

void GetEntityAttributes(int entity, int definition, std::vector<int>* attributes)
{
    KernelArray<int> found;
    if (BQ_ENTITY_ask_attribs(entity, definition, found.Count(), found.Slot()) ==
        BQ_ERROR_no_errors)
        found.AppendTo(*attributes);
}

int GetPartAttributes(int part, int definition, std::vector<int>* attributes)
{
    KernelArray<int> found;
    if (BQ_PART_ask_all_attribs(part, definition, found.Count(), found.Slot()) ==
        BQ_ERROR_no_errors)
        found.AppendTo(*attributes);
    return static_cast<int>(attributes->size());
}

int GetNamedPointers(int attribute, const char* fieldName, std::vector<void*>* pointers)
{
    KernelArray<void*> found;
    if (BQ_ATTRIB_ask_named_pointers(attribute, fieldName, found.Count(), found.Slot()) ==
        BQ_ERROR_no_errors)
        found.AppendTo(*pointers);
    return found.Size();
}

void GetOwningGroups(int entity, std::vector<int>* groups)
{
    KernelArray<int> found;
    if (BQ_ENTITY_ask_owning_groups(entity, found.Count(), found.Slot()) == BQ_ERROR_no_errors)
        found.AppendTo(*groups);
}

void GetGroupEntities(int group, std::vector<int>* entities)
{
    KernelArray<int> found;
    if (BQ_GROUP_ask_entities(group, found.Count(), found.Slot()) == BQ_ERROR_no_errors)
        found.AppendTo(*entities);
}

void EmptyGroup(int group)
{
    std::vector<int> members;
    GetGroupEntities(group, &members);
    if (!members.empty())
        BQ_GROUP_remove_entities(group, static_cast<int>(members.size()), members.data());
}

int GetFeatureAttDefTag()
{
    // The cache is checked against the definition's name, so that a restarted kernel session
    // does not hand out a tag of the session before.
    const char* cachedName = nullptr;
    if (s_featureAttDef != 0 &&
        BQ_ATTDEF_ask_name(s_featureAttDef, &cachedName) == BQ_ERROR_no_errors &&
        IsEqualStrings(cachedName, s_featureAttDefName))
        return s_featureAttDef;
    int definition = 0;
    if (BQ_ATTDEF_find(s_featureAttDefName, &definition) != BQ_ERROR_no_errors)
        definition = 0;
    if (definition == 0) {
        static const int ownerTypes[] = {KernelClassFace, KernelClassEdge, KernelClassVertex};
        static const int fieldTypes[] = {BQ_FIELD_type_int};
        static const char* const fieldNames[] = {"QELTempAttr"};
        const BQ_ATTDEF_sf_t form = {
            s_featureAttDefName, BQ_ATTDEF_class_normal, 3, ownerTypes, 1, fieldTypes, fieldNames};
        if (BQ_ATTDEF_create_2(&form, &definition) != BQ_ERROR_no_errors)
            definition = 0;
    }
    s_featureAttDef = definition;
    return definition;
}

int GetFeatureAttributeTag(int entity)
{
    int attribute = 0;
    if (BQ_ENTITY_ask_first_attrib(entity, GetFeatureAttDefTag(), &attribute) !=
            BQ_ERROR_no_errors ||
        attribute == 0)
        return 0;
    int value = 0;
    if (BQ_ATTRIB_ask_nth_int(attribute, 0, 0, &value) != BQ_ERROR_no_errors)
        return 0;
    return value;
}

int DeleteFeatureAttributes(int part)
{
    const int definition = GetFeatureAttDefTag();
    const BQ_PART_delete_attribs_o_t options = {1, KernelClassFace};
    return BQ_PART_delete_attribs(part, 1, &definition, &options);
}

}  // namespace QEL
