#pragma once
// Exported calls that make the interaction's features and give each its three ordered lists of
// references: the references it is built on, the profile references that position it, and the
// dependents that rest on it. Each list is read back as a count, by index or whole.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The new feature's tag; ResultTypeFail and 0 when none is made.
QEL_API int CreateFeature(int interaction, FeatureType type, ResultType* result);
QEL_API int GetFeatureCount(int interaction, ResultType* result);
// ResultTypeFail and 0 for an index outside the features, which keep creation order.
QEL_API int GetFeature(int interaction, int index, ResultType* result);

QEL_API void FeatureAddReference(int interaction, int featureTag, int referenceTag,
                                 ResultType* result);
// All or none: a list with an element that would be refused adds nothing.
QEL_API void FeatureAddReferences(int interaction, int featureTag, const Array<int>& referenceTags,
                                  ResultType* result);
QEL_API int FeatureGetReferenceCount(int interaction, int featureTag, ResultType* result);
// ResultTypeFail and 0 for an index outside the list.
QEL_API int FeatureGetReference(int interaction, int featureTag, int index, ResultType* result);
// Appends the tags, first added first; with checks on the array must come empty.
QEL_API void FeatureGetReferences(int interaction, int featureTag, Array<int>& referenceTags,
                                  ResultType* result);

QEL_API void FeatureAddProfileReference(int interaction, int featureTag, int referenceTag,
                                        ResultType* result);
// All or none, as FeatureAddReferences.
QEL_API void FeatureAddProfileReferences(int interaction, int featureTag,
                                         const Array<int>& referenceTags, ResultType* result);
QEL_API int FeatureGetProfileReferenceCount(int interaction, int featureTag, ResultType* result);
QEL_API int FeatureGetProfileReference(int interaction, int featureTag, int index,
                                       ResultType* result);
QEL_API void FeatureGetProfileReferences(int interaction, int featureTag, Array<int>& referenceTags,
                                         ResultType* result);

QEL_API void FeatureAddDependent(int interaction, int featureTag, int referenceTag,
                                 ResultType* result);
QEL_API int FeatureGetDependentCount(int interaction, int featureTag, ResultType* result);
QEL_API int FeatureGetDependent(int interaction, int featureTag, int index, ResultType* result);
QEL_API void FeatureGetDependents(int interaction, int featureTag, Array<int>& referenceTags,
                                  ResultType* result);

}  // namespace QEL
