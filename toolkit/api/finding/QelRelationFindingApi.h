#pragma once
// Exported calls that run the relation finder on demand and list what its last find left: the
// relations found with their levels, forgetting or deleting the ones it made; and the point
// where three faces meet.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// Each inner array is a group: its owner first (an instance of the interaction, a kernel body,
// or 0 for free geometry), then the entities of that owner; an owner alone stands for the
// whole instance or body. The "from" groups may move, the "to" groups are what they may relate
// to. Refused with ResultTypeDragActive while an operation is set, whose edit the find would
// end.
QEL_API void FindGeometricRelations(int interaction, Array<Array<int>>& fromData,
                                    Array<Array<int>>& toData, ResultType* result);
// The number of relations of the last find; a given array receives their tags in ascending
// order after what it holds.
QEL_API int GetFoundRelations(int interaction, Array<int>* relations, ResultType* result);
// 0 for a relation the last find did not report.
QEL_API int GetFoundRelationLevel(int interaction, int relation, ResultType* result);
// With deleteRelations the relations and virtual vertices finds made are destroyed; otherwise
// they stay as ordinary objects of the interaction.
QEL_API void ClearFoundRelations(int interaction, bool deleteRelations, ResultType* result);
// Three faces and a point near where they meet (three doubles each). Other than three faces:
// false with ResultTypeBadArgument, the output untouched. No point found: false with
// ResultTypeFail and the initial point copied to the output.
QEL_API bool GeomUtilsGetIntersectionPointOf3Faces(Array<int>& faces, double* initialPoint,
                                                   double* intersectionPoint, ResultType* result);

}  // namespace QEL
