#pragma once
// The option objects of the one-shot modelling operations, in the order of their object types,
// for the frame's checks and casts and for the calls that do the same for each of them. The
// classes are the model's: the frame names them only.

#define QEL_MODELLING_OPTION_CLASSES(X)                                                         \
    X(ReorderBlendsOptions)                                                                     \
    X(CutOptions) X(CopyOptions) X(DeleteFacesOptions) X(ShellOptions) X(PasteOptions)          \
        X(OffsetFacesOptions) X(TaperOptions) X(ReplaceOptions) X(ReplaceFacesWithSheetOptions) \
            X(ExtractBodyPersistentDataOptions) X(RestoreBodyPersistentDataOptions)             \
                X(RemoveFaceShellPersistentDataOptions) X(BodyIsPasteToolOptions)

namespace QEL {

#define QEL_DECLARE_CLASS(Class) class Class;
QEL_MODELLING_OPTION_CLASSES(QEL_DECLARE_CLASS)
#undef QEL_DECLARE_CLASS

}  // namespace QEL
