// The interaction's reference queries that need the reference class itself.
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"

namespace QEL {

int Interaction::GetReferenceAttDefTag()
{
    if (m_referenceAttDef != 0 && IsEntity(m_referenceAttDef))
        return m_referenceAttDef;
    const char* name = Reference::GetReferenceAttDefName();
    int definition = 0;
    if (BQ_ATTDEF_find(name, &definition) != BQ_ERROR_no_errors)
        definition = 0;
    if (definition == 0) {
        static const int ownerTypes[] = {KernelClassGroup};
        static const int fieldTypes[] = {BQ_FIELD_type_pointer};
        static const char* const fieldNames[] = {Reference::GetReferencePointerFieldName()};
        const BQ_ATTDEF_sf_t form = {name, BQ_ATTDEF_class_normal, 1, ownerTypes, 1, fieldTypes,
                                     fieldNames};
        if (BQ_ATTDEF_create_2(&form, &definition) != BQ_ERROR_no_errors)
            definition = 0;
    }
    m_referenceAttDef = definition;
    return definition;
}

}  // namespace QEL
