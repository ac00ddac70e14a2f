#pragma once
// Exported calls that serve the application's features beyond the feature object: dependents
// of a feature, making an add-on feature from topology, re-making a feature through the
// application's callbacks, and named numbers the application keeps per feature entity.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void FeatureAddDependents(int interaction, int featureTag, const Array<int>& referenceTags,
                                  ResultType* result);
// The tag of the add-on feature made; 0 when none.
QEL_API int MakeFeature(int interaction, const Array<int>& featureTopols,
                        const Array<int>& featureTopolLabels, int canonicalNumberOfTopols,
                        int featureIdentifier, int makeFeatureOptionsTag, ResultType* result);
// Calls the interaction's feature procedure callback for the feature, puts the body it makes
// back into the model and tells the remake callback. A callback that fails gives
// ResultTypeFail; the mapping data handed to the callbacks is gone afterwards.
QEL_API void EditFeature(int interaction, int featureTag, ResultType* result);
// Appends every entity tag that has application feature data, ascending.
QEL_API void GetTestAppFeatures(int interaction, Array<int>& appFeatures, ResultType* result);
// ResultTypeBadArgument and 0.0 when nothing is stored under the feature and name.
QEL_API double GetFeatureAppData(int interaction, int feature, const char* appId,
                                 ResultType* result);
QEL_API void SetFeatureAppData(int interaction, int feature, const char* appId, double appValue,
                               ResultType* result);
QEL_API void RemoveTestAppFeature(int interaction, int feature, ResultType* result);

QEL_API int CreateMakeFeatureOptions(int interaction, ResultType* result);
// ResultTypeFail when the tag names no make-feature options of the interaction, or when the
// two lists differ in length.
QEL_API void MakeFeatureOptionsSetUnders(int interaction, int makeFeatureOptionsTag,
                                         const Array<int>& featureUnders,
                                         const Array<int>& featureUnderLabels,
                                         int canonicalNumberOfUnders, ResultType* result);

}  // namespace QEL
