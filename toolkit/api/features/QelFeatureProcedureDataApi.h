#pragma once
// Exported calls on the record through which a feature's procedure and the toolkit pass inputs
// and results: made by the toolkit for each run of the procedure (or by the application), read
// by the procedure, and filled with the procedure's result and tool body.
//
// Made from inside a running procedure, the setters leave the tracking data of the call that
// runs it alone; made on their own, they clear the previous call's tracking data as any call
// that changes something.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

namespace QEL {

// The new record's tag; ResultTypeFail and 0 when none is made.
QEL_API int CreateFeatureProcedureData(int interaction, ResultType* result);

QEL_API void FeatureProcedureDataSetFeatureTag(int interaction, int featureProcedureDataTag,
                                               int featureTag, ResultType* result);
QEL_API void FeatureProcedureDataSetMainBodyTag(int interaction, int featureProcedureDataTag,
                                                int mainBodyTag, ResultType* result);
QEL_API void FeatureProcedureDataSetCutToolBodyTag(int interaction, int featureProcedureDataTag,
                                                   int cutToolBodyTag, ResultType* result);
QEL_API void FeatureProcedureDataSetCutToolMappingDataTag(int interaction,
                                                          int featureProcedureDataTag,
                                                          int cutToolMappingData,
                                                          ResultType* result);
QEL_API void FeatureProcedureDataSetFeatureProcedureType(int interaction,
                                                         int featureProcedureDataTag,
                                                         FeatureProcedureType featureProcedureType,
                                                         ResultType* result);
QEL_API void FeatureProcedureDataSetProcedureMappingDataTag(int interaction,
                                                            int featureProcedureDataTag,
                                                            int procedureMappingData,
                                                            ResultType* result);
QEL_API void FeatureProcedureDataSetToolPartition(int interaction, int featureProcedureDataTag,
                                                  int toolPartition, ResultType* result);
QEL_API void FeatureProcedureDataSetAppData(int interaction, int featureProcedureDataTag,
                                            void* appData, ResultType* result);
// Copies 16 values, row by row (rotation in the upper 3x3, translation in the last column).
// With checks off, null marks the record as holding no transform.
QEL_API void FeatureProcedureDataSetProfileXform(int interaction, int featureProcedureDataTag,
                                                 const double* profileXform, ResultType* result);
QEL_API void FeatureProcedureDataSetResult(int interaction, int featureProcedureDataTag,
                                           ResultType resultFromProcedure, ResultType* result);
QEL_API void FeatureProcedureDataSetProcedureToolBody(int interaction, int featureProcedureDataTag,
                                                      int procedureToolBody, ResultType* result);

QEL_API int FeatureProcedureDataGetFeatureTag(int interaction, int featureProcedureDataTag,
                                              ResultType* result);
QEL_API int FeatureProcedureDataGetMainBodyTag(int interaction, int featureProcedureDataTag,
                                               ResultType* result);
QEL_API int FeatureProcedureDataGetCutToolBodyTag(int interaction, int featureProcedureDataTag,
                                                  ResultType* result);
QEL_API int FeatureProcedureDataGetCutToolMappingDataTag(int interaction,
                                                         int featureProcedureDataTag,
                                                         ResultType* result);
QEL_API FeatureProcedureType FeatureProcedureDataGetFeatureProcedureType(
    int interaction, int featureProcedureDataTag, ResultType* result);
QEL_API int FeatureProcedureDataGetProcedureMappingData(int interaction,
                                                        int featureProcedureDataTag,
                                                        ResultType* result);
QEL_API int FeatureProcedureDataGetToolPartition(int interaction, int featureProcedureDataTag,
                                                 ResultType* result);
QEL_API void* FeatureProcedureDataGetAppData(int interaction, int featureProcedureDataTag,
                                             ResultType* result);
// Copies the record's 16 values into profileXform and answers true; answers false, leaving
// profileXform as it was, while the record holds no transform.
QEL_API bool FeatureProcedureDataGetProfileXform(int interaction, int featureProcedureDataTag,
                                                 double* profileXform, ResultType* result);
QEL_API ResultType FeatureProcedureDataGetProcedureResult(int interaction,
                                                          int featureProcedureDataTag,
                                                          ResultType* result);
QEL_API int FeatureProcedureDataGetProcedureToolBody(int interaction, int featureProcedureDataTag,
                                                     ResultType* result);

}  // namespace QEL
