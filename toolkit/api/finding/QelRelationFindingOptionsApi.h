#pragma once
// Exported calls on an interaction's relation-finding options: which relation may be found
// between which kinds of geometry and up to which level, the flags handed to the search, the
// application's accept-relation callback, and the reference lists the search and the
// configure step read.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The application's accept-relation callback: interaction tag, level, relation type, from
// entity, from instance tag, to entity, to instance tag, additional entity, additional
// instance tag (0 for none); false rejects the candidate.
typedef bool (*FindAcceptRelationFunction)(int, int, RelationType, int, int, int, int, int, int);

// An index outside the matrix or a combination that is not offered: ResultTypeNotSupported,
// nothing changed (the getter answers -1). A negative level is refused with
// ResultTypeBadArgument: it would withdraw the combination until the options are reset.
QEL_API void OptionSetFindRelationsData(int interaction, FindRelationType relationType,
                                        FindGeometryType fromGeometryType,
                                        FindGeometryType toGeometryType, int propagationLevel,
                                        ResultType* result);
QEL_API int OptionGetFindRelationsData(int interaction, FindRelationType relationType,
                                       FindGeometryType fromGeometryType,
                                       FindGeometryType toGeometryType, ResultType* result);
// The default level matrix again; flags, callback and lists stay.
QEL_API void OptionResetAllFindRelationsData(int interaction, ResultType* result);
QEL_API void OptionSetFindSimilarGeometryMatchAxes(int interaction, bool matchAxes,
                                                   ResultType* result);
QEL_API bool OptionGetFindSimilarGeometryMatchAxes(int interaction, ResultType* result);
QEL_API void OptionSetFindSymmetryMatchExact(int interaction, bool matchExact, ResultType* result);
QEL_API bool OptionGetFindSymmetryMatchExact(int interaction, ResultType* result);
QEL_API void OptionSetFindCreateRelations(int interaction, bool createRelations,
                                          ResultType* result);
QEL_API bool OptionGetFindCreateRelations(int interaction, ResultType* result);
// The interaction keeps its own callback; the getter answers the one the application gave.
QEL_API void OptionSetFindAcceptRelationCallback(int interaction,
                                                 FindAcceptRelationFunction function,
                                                 ResultType* result);
QEL_API FindAcceptRelationFunction OptionGetFindAcceptRelationCallback(int interaction,
                                                                       ResultType* result);
// The lists are replaced in array order; a tag that names no suitable reference refuses the
// whole list (ResultTypeBadArgument), which then stays as it was.
QEL_API void OptionSetFindSymmetryPlanes(int interaction, Array<int>& symmetryPlanes,
                                         ResultType* result);
QEL_API void OptionSetFindCoPlaxisReferences(int interaction, Array<int>& coPlaxisReferences,
                                             ResultType* result);
QEL_API void OptionSetFindPrinciplePlanes(int interaction, Array<int>& principlePlanes,
                                          ResultType* result);
// The list's length; a given array is emptied and receives the tags in list order.
QEL_API int OptionGetFindSymmetryPlanes(int interaction, Array<int>* symmetryPlanes,
                                        ResultType* result);
QEL_API int OptionGetFindCoPlaxisReferences(int interaction, Array<int>* coPlaxisReferences,
                                            ResultType* result);
QEL_API int OptionGetFindPrinciplePlanes(int interaction, Array<int>* principlePlanes,
                                         ResultType* result);

}  // namespace QEL
