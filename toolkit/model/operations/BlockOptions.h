#pragma once
// The option objects whose settings are one block of the add-on's option record, with the
// defaults each operation starts from. The operations read the blocks in place or copy them
// (GetOptionBlock) where they fill in a word of their own, such as the partition of a cut.

#include "model/operations/OptionObject.h"

#include <hxr.h>

namespace QEL {

// Holds no setting that an operation reads: reordering blends builds its own block.
class QEL_API ReorderBlendsOptions
    : public OptionObject<ReorderBlendsOptions, ObjectTypeReorderBlendsOptions> {
public:
    static constexpr const char* s_className = "ReorderBlendsOptions";
    explicit ReorderBlendsOptions(Interaction* interaction);
};

// Version 1; the partition word stays 0 here and is filled in a copy by the operation.
class QEL_API CutOptions
    : public BlockOptionObject<CutOptions, ObjectTypeCutOptions, HXR_FACE_cut_o_s, true> {
public:
    static constexpr const char* s_className = "CutOptions";
    explicit CutOptions(Interaction* interaction);
};

class QEL_API CopyOptions
    : public BlockOptionObject<CopyOptions, ObjectTypeCopyOptions, HXR_FACE_copy_o_s, true> {
public:
    static constexpr const char* s_className = "CopyOptions";
    explicit CopyOptions(Interaction* interaction);
};

class QEL_API DeleteFacesOptions
    : public BlockOptionObject<DeleteFacesOptions, ObjectTypeDeleteFacesOptions,
                               HXR_FACE_delete_o_s, true> {
public:
    static constexpr const char* s_className = "DeleteFacesOptions";
    explicit DeleteFacesOptions(Interaction* interaction);
};

// Version 1 and a second word 0; the offset drags read the block through GetOptionBlock.
class QEL_API OffsetFacesOptions
    : public BlockOptionObject<OffsetFacesOptions, ObjectTypeOffsetFacesOptions,
                               HXR_FACE_change_offset_o_s, true> {
public:
    static constexpr const char* s_className = "OffsetFacesOptions";
    explicit OffsetFacesOptions(Interaction* interaction);
};

// Version 4, the paste type's token, a flag, the option token and the reblend token.
class QEL_API PasteOptions
    : public BlockOptionObject<PasteOptions, ObjectTypePasteOptions, HXR_BODY_paste_o_s, true> {
public:
    static constexpr const char* s_className = "PasteOptions";
    explicit PasteOptions(Interaction* interaction);

    // Not recorded for rollback. A value outside the paste types leaves the token.
    void SetPasteType(PasteType type);
    // Not recorded for rollback.
    void SetReblend(bool reblend);

private:
    bool DoIOSettings(XMLIO& xmlio);
    friend class OptionObject<PasteOptions, ObjectTypePasteOptions>;
};

// The tolerance starts at the interaction's modelling tolerance (1e-6 without one); the
// operation puts the tolerance of the moment into its copy.
class QEL_API ReplaceFacesWithSheetOptions
    : public BlockOptionObject<ReplaceFacesWithSheetOptions, ObjectTypeReplaceFacesWithSheetOptions,
                               HXR_FACE_replace_with_sheet_o_s, false> {
public:
    static constexpr const char* s_className = "ReplaceFacesWithSheetOptions";
    explicit ReplaceFacesWithSheetOptions(Interaction* interaction);
};

// Version 2 and the store flag (true at creation).
class QEL_API ExtractBodyPersistentDataOptions
    : public BlockOptionObject<ExtractBodyPersistentDataOptions,
                               ObjectTypeExtractBodyPersistentDataOptions,
                               HXR_BODY_extract_relations_o_s, false> {
public:
    static constexpr const char* s_className = "ExtractBodyPersistentDataOptions";
    explicit ExtractBodyPersistentDataOptions(Interaction* interaction);

    // Not recorded for rollback.
    void SetStore(bool store);

private:
    bool DoIOSettings(XMLIO& xmlio);
    friend class OptionObject<ExtractBodyPersistentDataOptions,
                              ObjectTypeExtractBodyPersistentDataOptions>;
};

class QEL_API RestoreBodyPersistentDataOptions
    : public BlockOptionObject<RestoreBodyPersistentDataOptions,
                               ObjectTypeRestoreBodyPersistentDataOptions,
                               HXR_BODY_restore_relations_o_s, false> {
public:
    static constexpr const char* s_className = "RestoreBodyPersistentDataOptions";
    explicit RestoreBodyPersistentDataOptions(Interaction* interaction);
};

class QEL_API RemoveFaceShellPersistentDataOptions
    : public BlockOptionObject<RemoveFaceShellPersistentDataOptions,
                               ObjectTypeRemoveFaceShellPersistentDataOptions,
                               HXR_FACE_remove_shell_relns_o_s, false> {
public:
    static constexpr const char* s_className = "RemoveFaceShellPersistentDataOptions";
    explicit RemoveFaceShellPersistentDataOptions(Interaction* interaction);
};

class QEL_API BodyIsPasteToolOptions
    : public BlockOptionObject<BodyIsPasteToolOptions, ObjectTypeBodyIsPasteToolOptions,
                               HXR_BODY_is_paste_tool_o_s, false> {
public:
    static constexpr const char* s_className = "BodyIsPasteToolOptions";
    explicit BodyIsPasteToolOptions(Interaction* interaction);
};

}  // namespace QEL
