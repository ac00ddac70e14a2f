#pragma once
// Exported calls on sections: making one on a free plane, finding them by index, making or
// recording the section geometry of an instance, and reading the plane, the cut instances and
// the entity maps (section entity i made from source entity i of the cut body).

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/frame/QelExport.h"

namespace QEL {

// plane: a reference to a free plane (not a planar face).
QEL_API int CreateSection(int interaction, int sectionConstructionPlane, ResultType* result);
QEL_API int GetSectionsCount(int interaction, ResultType* result);
QEL_API int GetSection(int interaction, int index, ResultType* result);
// Remakes the section body of the instance and hands out its mapping; false on any failure.
QEL_API bool SectionGenerateGeometry(int interaction, int section, int instanceToCut,
                                     int& sectionInstance, Array<int>& sourceEntities,
                                     Array<int>& sectionEntities, ResultType* result);
QEL_API bool SectionGetMapping(int interaction, int section, int cutInstance, int& sectionInstance,
                               Array<int>& sourceEntities, Array<int>& sectionEntities,
                               ResultType* result);
// The cut instance's mapping becomes the given one.
QEL_API bool SectionAddGeometry(int interaction, int section, int cutInstance, int sectionInstance,
                                Array<int>& sourceEntities, Array<int>& sectionEntities,
                                ResultType* result);
QEL_API int SectionGetPlane(int interaction, int sectionTag, ResultType* result);
QEL_API bool IsASectionInstance(int interaction, int sectionInstance, ResultType* result);
// Appends the cut instances' tags in ascending order; the array must come empty.
QEL_API void SectionGetCutInstances(int interaction, int sectionTag, Array<int>& cutInstances,
                                    ResultType* result);

}  // namespace QEL
