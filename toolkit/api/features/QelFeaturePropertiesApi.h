#pragma once
// Exported calls that read and set a feature's properties (its type, update flag, instance, the
// application's numbers under integer keys and its identifier), the procedure that re-makes it,
// the edit that runs that procedure, and the feature callbacks of an interaction and the
// process-wide defaults that new interactions take.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The application's code, as the toolkit stores and calls it (the same types the feature and
// the interaction declare).
typedef void (*FeatureProcedure)(int, int);
typedef void (*FeatureProcedureCallback)(int, int, int, int&, int&, ResultType&);
typedef void (*FeatureTransformCallback)(int, int, double[4][4], ResultType&);
typedef void (*FeatureRemakeCallback)(int, int, int, int, int&, ResultType&);

QEL_API FeatureType FeatureGetType(int interaction, int featureTag, ResultType* result);
QEL_API void FeatureSetType(int interaction, int featureTag, FeatureType type, ResultType* result);
QEL_API void FeatureSetUpdateRequired(int interaction, int featureTag, bool bUpdateRequired,
                                      ResultType* result);
QEL_API bool FeatureGetUpdateRequired(int interaction, int featureTag, ResultType* result);
// ResultTypeBadArgument on a simple feature, and on one that already has another instance.
QEL_API void FeatureSetInstance(int interaction, int featureTag, int instanceTag,
                                ResultType* result);
// 0 when the feature has no instance.
QEL_API int FeatureGetInstance(int interaction, int featureTag, ResultType* result);

QEL_API void FeatureSetAppDataInteger(int interaction, int feature, int appId, int appValue,
                                      ResultType* result);
// ResultTypeBadArgument and 0 when nothing is stored under the key.
QEL_API int FeatureGetAppDataInteger(int interaction, int feature, int appId, ResultType* result);
QEL_API void FeatureSetAppDataDouble(int interaction, int feature, int appId, double appValue,
                                     ResultType* result);
// ResultTypeBadArgument and 0.0 when nothing is stored under the key; the integers are apart.
QEL_API double FeatureGetAppDataDouble(int interaction, int feature, int appId, ResultType* result);
// Null clears the identifier. An identifier mapped to a procedure gives the feature that
// procedure, without procedure data.
QEL_API void FeatureSetAppIdentifier(int interaction, int feature, const char* appId,
                                     ResultType* result);
// The feature's own characters, empty when it has none; valid until the identifier is set again.
QEL_API const char* FeatureGetAppIdentifier(int interaction, int feature, ResultType* result);

QEL_API void FeatureSetProcedure(int interaction, int featureTag, FeatureProcedure featureProcedure,
                                 void* pAppData, ResultType* result);
// Writes the procedure data through ppAppData when it is not null.
QEL_API FeatureProcedure FeatureGetProcedure(int interaction, int featureTag, void** ppAppData,
                                             ResultType* result);
// Process-wide: a feature given the identifier later takes the procedure. A null identifier is
// refused.
QEL_API void FeatureMapIdentifierToProcedure(const char* appId, FeatureProcedure featureProcedure,
                                             ResultType* result);
// Runs the feature's procedure and puts what it made into the model; a non-null appData becomes
// the procedure data first. The procedure's or the model's failure is the result, and
// ResultTypeNotSupported, with nothing run, while the new procedural-feature algorithm is off.
QEL_API void FeatureEdit(int interaction, int feature, void* appData, ResultType* result);

QEL_API void SetFeatureProcedureCallback(int interaction,
                                         FeatureProcedureCallback featureProcedureCallback,
                                         ResultType* result);
QEL_API FeatureProcedureCallback GetFeatureProcedureCallback(int interaction, ResultType* result);
QEL_API void SetFeatureTransformCallback(int interaction,
                                         FeatureTransformCallback featureTransformCallback,
                                         ResultType* result);
QEL_API FeatureTransformCallback GetFeatureTransformCallback(int interaction, ResultType* result);
// Process-wide defaults: interactions created afterwards start with them.
QEL_API void SetQELTestAppFeatureProcedureCallback(
    FeatureProcedureCallback featureProcedureCallback, ResultType* result);
QEL_API void SetQELTestAppFeatureTransformCallback(
    FeatureTransformCallback featureTransformCallback, ResultType* result);
QEL_API void SetQELTestAppFeatureRemakeCallback(FeatureRemakeCallback featureRemakeCallback,
                                                ResultType* result);

}  // namespace QEL
