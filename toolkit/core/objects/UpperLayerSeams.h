#pragma once
// What the core needs of the layers above it (model objects, solver, update) without seeing
// their definitions. Each function is defined beside the class it concerns in its own layer.

#include "core/frame/QelExport.h"

#include <vector>

namespace QEL {

class Interaction;
class Instance;
class TaggedEntity;
class Reference;
class Relation;
class Feature;
class FacePattern;
class Section;
class VirtualVertex;
class MappingData;
class FeatureProcedureData;
class Rule;
class FoundData;
class UpdateManager;
class SolverOperation;
class MakeFeatureOptions;

// The option objects of the one-shot modelling operations, in the order of their object types.
#define QEL_MODELLING_OPTION_CLASSES(X)                                                        \
    X(ReorderBlendsOptions) X(CutOptions) X(CopyOptions) X(DeleteFacesOptions) X(ShellOptions) \
    X(PasteOptions) X(OffsetFacesOptions) X(TaperOptions) X(ReplaceOptions)                    \
    X(ReplaceFacesWithSheetOptions) X(ExtractBodyPersistentDataOptions)                        \
    X(RestoreBodyPersistentDataOptions) X(RemoveFaceShellPersistentDataOptions)                \
    X(BodyIsPasteToolOptions)

#define QEL_DECLARE_CLASS(Class) class Class;
QEL_MODELLING_OPTION_CLASSES(QEL_DECLARE_CLASS)
#undef QEL_DECLARE_CLASS

// Checked downcast of a tagged object to a class of an upper layer: null when the object is
// null or of another class.
template <typename T>
QEL_INTERNAL T* DowncastEntity(TaggedEntity* entity);
// The tagged object behind a pointer to such a class; null for null.
template <typename T>
QEL_INTERNAL TaggedEntity* UpcastEntity(T* object);

#define QEL_DECLARE_ENTITY_CASTS(Class)                    \
    template <>                                                 \
    QEL_INTERNAL Class* DowncastEntity<Class>(TaggedEntity * entity); \
    template <>                                                 \
    QEL_INTERNAL TaggedEntity* UpcastEntity<Class>(Class * object);

QEL_DECLARE_ENTITY_CASTS(Reference)
QEL_DECLARE_ENTITY_CASTS(Relation)
QEL_DECLARE_ENTITY_CASTS(Feature)
QEL_DECLARE_ENTITY_CASTS(FacePattern)
QEL_DECLARE_ENTITY_CASTS(Section)
QEL_DECLARE_ENTITY_CASTS(VirtualVertex)
QEL_DECLARE_ENTITY_CASTS(MappingData)
QEL_DECLARE_ENTITY_CASTS(FeatureProcedureData)
QEL_DECLARE_ENTITY_CASTS(Rule)
QEL_DECLARE_ENTITY_CASTS(FoundData)
QEL_DECLARE_ENTITY_CASTS(MakeFeatureOptions)
QEL_MODELLING_OPTION_CLASSES(QEL_DECLARE_ENTITY_CASTS)

#undef QEL_DECLARE_ENTITY_CASTS

// Defines the two casts of a class beside its definition.
#define QEL_DEFINE_ENTITY_CASTS(Class)                                                   \
    template <>                                                                          \
    Class* DowncastEntity<Class>(TaggedEntity * entity)                                  \
    {                                                                                    \
        return dynamic_cast<Class*>(entity);                                             \
    }                                                                                    \
    template <>                                                                          \
    TaggedEntity* UpcastEntity<Class>(Class * object)                                    \
    {                                                                                    \
        return object;                                                                   \
    }

// The key a reference is filed under in its interaction: its kernel entity and its instance.
int GetReferenceEntityTag(Reference* reference);
Instance* GetReferenceInstance(Reference* reference);
// Whether a procedural feature's procedure rebuilds the entity.
bool IsReferenceEntityUsedByNonSimpleFeature(Interaction* interaction, int entity);
// The kernel groups that hold the interaction's references on the body.
void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                            std::vector<int>& groups);
// Whether the references with one more after them may be worked on together: all on one bare
// body as modelling references, or none on a bare body with an instance or free geometry among
// them. Both the selection and the rotation axis against it answer to this.
bool IsSelectableReferenceCombination(const std::vector<Reference*>& references, Reference* added);


}  // namespace QEL
