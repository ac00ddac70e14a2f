#pragma once
// Exported calls on the features the kernel add-on keeps on bodies, named by their kernel tags:
// their topologies, unders, identifier and dormant, complete and pristine states, the features
// that hold an entity, depend on it or that a body carries, and deleting one. The toolkit keeps
// nothing of them: every answer is the add-on's, and an add-on failure is ResultTypeFail.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// Replaces both arrays with the feature's topologies and their labels, position by position.
QEL_API void FeatureGetTopols(int interaction, int featureTag, Array<int>& featureTopols,
                              Array<int>& featureTopolLabels, ResultType* result);
// Appends the unders and their labels.
QEL_API void FeatureGetUnders(int interaction, int featureTag, Array<int>& featureUnders,
                              Array<int>& featureUnderLabels, ResultType* result);
// 0 when the feature has no identifier.
QEL_API int FeatureGetIdentifier(int interaction, int featureTag, ResultType* result);
QEL_API void FeatureSetIdentifier(int interaction, int featureTag, int featureIdentifier,
                                  ResultType* result);
QEL_API bool FeatureIsDormant(int interaction, int featureTag, ResultType* result);
QEL_API void FeatureSetDormant(int interaction, int featureTag, bool isDormant, ResultType* result);
QEL_API bool FeatureIsComplete(int interaction, int featureTag, ResultType* result);
// Appends the entities the add-on names as keeping the feature from being pristine.
QEL_API bool FeatureIsPristine(int interaction, int featureTag, Array<int>& nonPristineEdges,
                               ResultType* result);
// Appends the features that hold the face, edge or vertex; ResultTypeFail for any other entity.
QEL_API void TopolGetFeatures(int interaction, int topol, Array<int>& features, ResultType* result);
// Appends the features that depend on the entity.
QEL_API void EntityGetDependentFeatures(int interaction, int entity, Array<int>& dependentFeatures,
                                        ResultType* result);
// Appends the body's features with the identifier.
QEL_API void BodyFindFeatures(int interaction, int body, int featureIdentifier,
                              Array<int>& features, ResultType* result);
QEL_API void FeatureDelete(int interaction, int featureTag, ResultType* result);

}  // namespace QEL
