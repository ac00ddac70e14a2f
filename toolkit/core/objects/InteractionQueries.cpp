// Queries over the interaction's references that the core answers through the reference key.
#include "core/objects/Interaction.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/ReferenceAttribute.h"
#include "core/objects/ReferenceQueries.h"
#include "core/support/InstalledSeam.h"

#include <algorithm>

namespace QEL {

namespace {

// Every filed reference, in tag order.
std::vector<Reference*> ReferencesByTag(const ReferenceMultimap& references)
{
    std::vector<Reference*> ordered;
    for (const auto& entry : references)
        ordered.push_back(entry.second);
    std::sort(ordered.begin(), ordered.end(), [](Reference* a, Reference* b) {
        return TaggedEntityPtrLessThan()(UpcastEntity(a), UpcastEntity(b));
    });
    return ordered;
}

// Datum references: free-standing ones (a live entity without instance or owning body), and
// the others whose entity is a point, line or plane.
template <typename T, typename Take>
int CollectDatums(const ReferenceMultimap& references, std::vector<T>& geometry,
                  std::vector<T>& freeStanding, Take take)
{
    for (Reference* reference : ReferencesByTag(references)) {
        const int entity = GetReferenceEntityTag(reference);
        if (IsEntity(entity) && !GetReferenceInstance(reference) && GetOwningBody(entity) == 0)
            freeStanding.push_back(take(reference, entity));
        else if (IsPointLineOrPlane(entity))
            geometry.push_back(take(reference, entity));
    }
    return static_cast<int>(geometry.size() + freeStanding.size());
}

}  // namespace

int Interaction::GetReferenceAttDefTag()
{
    if (m_referenceAttDef != 0 && IsEntity(m_referenceAttDef))
        return m_referenceAttDef;
    const char* name = s_referenceAttDefName;
    int definition = 0;
    if (BQ_ATTDEF_find(name, &definition) != BQ_ERROR_no_errors)
        definition = 0;
    if (definition == 0) {
        static const int ownerTypes[] = {KernelClassGroup};
        static const int fieldTypes[] = {BQ_FIELD_type_pointer};
        static const char* const fieldNames[] = {s_referencePointerFieldName};
        const BQ_ATTDEF_sf_t form = {
            name, BQ_ATTDEF_class_normal, 1, ownerTypes, 1, fieldTypes, fieldNames};
        if (BQ_ATTDEF_create_2(&form, &definition) != BQ_ERROR_no_errors)
            definition = 0;
    }
    m_referenceAttDef = definition;
    return definition;
}

void Interaction::GetAllReferences(std::set<Reference*, TaggedEntityPtrLessThan>& references) const
{
    // References exist only once the model has installed its answers, which order them.
    if (ReferenceQueries* queries = InstalledSeam<ReferenceQueries>::Get())
        for (const auto& entry : m_references)
            queries->InsertInTagOrder(entry.second, references);
}

int Interaction::CollectDatumReferences(std::vector<Reference*>& geometry,
                                        std::vector<Reference*>& freeStanding) const
{
    return CollectDatums(m_references, geometry, freeStanding,
                         [](Reference* reference, int) { return reference; });
}

int Interaction::CollectDatumEntities(std::vector<int>& geometry,
                                      std::vector<int>& freeStanding) const
{
    return CollectDatums(m_references, geometry, freeStanding,
                         [](Reference*, int entity) { return entity; });
}

bool Interaction::IsBareBody(int body) const
{
    for (const Instance* instance : m_instances)
        if (instance && instance->GetBodyTag() == body)
            return false;
    for (const auto& entry : m_references) {
        const int entity = entry.first.first;
        if (entity == body || GetOwningBody(entity) == body)
            return false;
    }
    return true;
}

}  // namespace QEL
