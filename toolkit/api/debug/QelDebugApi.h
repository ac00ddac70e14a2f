#pragma once
// Exported calls for diagnosis: saving and loading interactions and bare bodies, the validity
// check of an object, journal checkpoints and forced failures, the preview mode and what the
// last solve would change (its cached solution). Each ends in the call's ResultType.

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

QEL_API void DebugSaveBodiesWithoutQELAttributes(const Array<int>& bodies, const char* filename,
                                                 ResultType* result);
QEL_API void DebugSaveInteraction(int interaction, const char* filename, ResultType* result);
QEL_API int DebugLoadInteraction(const char* filename, ResultType* result);
QEL_API bool DebugCheckValidity(int interaction, int object, Array<int>* problemObjectTags,
                                Array<InvalidityType>* problems, ResultType* result);
// Whether every relation of the interaction holds in the geometry as it is.
QEL_API bool DebugCheckInteractionRelations(int interaction, ResultType* result);
// Whether a shelled face (every face of a body) still lies at its wall's thickness from its
// partners; a face in no wall passes. The check leaves no reference or relation behind.
QEL_API bool DebugCheckShelledFace(int interaction, int face, ResultType* result);
QEL_API bool DebugCheckShelledBody(int interaction, int body, ResultType* result);
QEL_API void DebugJournalCheckpoint(int interaction, const char* checkpointName,
                                    bool bodyCompareOnly, ResultType* result);
QEL_API void DebugJournalFailurePoint(ResultType* result);
QEL_API void OptionSetPreviewMode(int interaction, PreviewMode previewMode, ResultType* result);
QEL_API PreviewMode OptionGetPreviewMode(int interaction, ResultType* result);
QEL_API bool DebugGetPreviewEntities(int interaction, Array<int>* entities, ResultType* result);
QEL_API bool DebugGetEntityPreviewTransform(int interaction, int entity, double transform[4][4],
                                            ResultType* result);
QEL_API bool DebugGetEntityPreviewRadius(int interaction, int entity, bool* majorRadiusChanged,
                                         double* majorRadiusNewValue, bool* minorRadiusChanged,
                                         double* minorRadiusNewValue, ResultType* result);
QEL_API bool DebugGetEntityPreviewReblend(int interaction, int entity, double* newRadius,
                                          ResultType* result);
QEL_API bool DebugGetEntityPreviewHalfAngle(int interaction, int entity, double* newHalfAngle,
                                            ResultType* result);

}  // namespace QEL
