#pragma once
// Exported calls that make references on kernel faces, edges and vertices of instances and on
// free points, lines and planes, read their entity, instance and behaviour, set the behaviour
// (shared by every reference of one entity) and list the interaction's references.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The interaction's reference of (entity, instance), made when there is none; instance 0 for
// none.
QEL_API int CreateReference(int interaction, int entity, int instance, ResultType* result);
QEL_API int ReferenceGetInstance(int interaction, int reference, ResultType* result);
QEL_API int ReferenceGetEntity(int interaction, int reference, ResultType* result);
QEL_API void ReferenceSetBehaviour(int interaction, int reference, ReferenceBehaviour behaviour,
                                   ResultType* result);
QEL_API ReferenceBehaviour ReferenceGetBehaviour(int interaction, int reference,
                                                 ResultType* result);
// The behaviour of the entity's references; Modelling when it has none.
QEL_API ReferenceBehaviour EntityGetBehaviour(int interaction, int entity, ResultType* result);
// The references' tags in ascending tag order; references may be null for the count alone.
QEL_API int GetReferences(int interaction, Array<int>* references, ResultType* result);

}  // namespace QEL
