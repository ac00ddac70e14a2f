#pragma once
// Exported calls that make geometric relations between references and read and edit them: the
// references a relation binds, its type, value, application identifier and the subtype it gives
// each reference; and the interaction's relations in creation order.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API int RelationGetReferenceCount(int interaction, int relation, ResultType* result);
// ResultTypeFail and 0 for an index outside the relation's references.
QEL_API int RelationGetReference(int interaction, int relation, int index, ResultType* result);
QEL_API RelationType RelationGetType(int interaction, int relation, ResultType* result);
QEL_API double RelationGetValue(int interaction, int relation, ResultType* result);
QEL_API void RelationSetValue(int interaction, int relation, double value, ResultType* result);
// A copy is kept; null clears it.
QEL_API void RelationSetApplicationIdentifier(int interaction, int relation,
                                              const char* appIdentifier, ResultType* result);
// The relation's own characters, not a copy; null when it has none.
QEL_API const char* RelationGetApplicationIdentifier(int interaction, int relation,
                                                     ResultType* result);
// ResultTypeNotSupported when the subtype does not suit the relation's type and the reference.
QEL_API void RelationSetSubtype(int interaction, int relation, int reference,
                                RelationSubtype relationSubtype, bool recalculateValue,
                                ResultType* result);
QEL_API RelationSubtype RelationGetSubtype(int interaction, int relation, int reference,
                                           ResultType* result);
QEL_API int GetRelationCount(int interaction, ResultType* result);
// ResultTypeFail and 0 for an index outside the interaction's relations.
QEL_API int GetRelation(int interaction, int index, ResultType* result);
// ResultTypeFail and 0 when the references do not make a valid combination for the type.
QEL_API int CreateRelation(int interaction, RelationType type, const Array<int>& references,
                           ResultType* result);

}  // namespace QEL
