#include "model/operations/BlockOptions.h"

#include "core/enums/EnumNames.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/persist/ObjectReaders.h"

namespace QEL {

ReorderBlendsOptions::ReorderBlendsOptions(Interaction* interaction) : OptionObject(interaction) {}

CutOptions::CutOptions(Interaction* interaction) : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

CopyOptions::CopyOptions(Interaction* interaction) : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

DeleteFacesOptions::DeleteFacesOptions(Interaction* interaction) : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

OffsetFacesOptions::OffsetFacesOptions(Interaction* interaction) : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

PasteOptions::PasteOptions(Interaction* interaction) : BlockOptionObject(interaction)
{
    m_block.version = 4;
    m_block.paste_type = HXR_PASTE_default;
    m_block.option = HXR_PASTE_OPTION_default;
    m_block.reblend = HXR_PASTE_reblend;
}

void PasteOptions::SetPasteType(PasteType type)
{
    m_block.paste_type = OptionToken(type, PasteTypeDefault, PasteTypeSubtract, HXR_PASTE_default,
                                     m_block.paste_type);
}

void PasteOptions::SetReblend(bool reblend)
{
    m_block.reblend = reblend ? HXR_PASTE_reblend : HXR_PASTE_no_reblend;
}

bool PasteOptions::DoIOSettings(XMLIO& xmlio)
{
    PasteType type = PasteTypeDefault;
    if (m_block.paste_type == HXR_PASTE_add)
        type = PasteTypeAdd;
    else if (m_block.paste_type == HXR_PASTE_subtract)
        type = PasteTypeSubtract;
    bool reblend = m_block.reblend == HXR_PASTE_reblend;
    const bool done = xmlio.DoIOEnum("pasteType", type, PasteTypeToString, PasteTypeFromString) &&
                      xmlio.DoIO("pasteReblend", reblend, true);
    if (done && xmlio.IsReading()) {
        SetPasteType(type);
        SetReblend(reblend);
    }
    return done;
}

ReplaceFacesWithSheetOptions::ReplaceFacesWithSheetOptions(Interaction* interaction)
    : BlockOptionObject(interaction)
{
    m_block.version = 1;
    m_block.tolerance = interaction ? interaction->GetModellingTolerance() : 1e-6;
    m_block.option = HXR_CHANGE_OPTION_default;
    m_block.sheet_option = HXR_SHEET_OPTION_default;
}

ExtractBodyPersistentDataOptions::ExtractBodyPersistentDataOptions(Interaction* interaction)
    : BlockOptionObject(interaction)
{
    m_block.version = 2;
    m_block.store = true;
}

void ExtractBodyPersistentDataOptions::SetStore(bool store) { m_block.store = store; }

bool ExtractBodyPersistentDataOptions::DoIOSettings(XMLIO& xmlio)
{
    return xmlio.DoIO("storeRelations", m_block.store, true);
}

RestoreBodyPersistentDataOptions::RestoreBodyPersistentDataOptions(Interaction* interaction)
    : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

RemoveFaceShellPersistentDataOptions::RemoveFaceShellPersistentDataOptions(Interaction* interaction)
    : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

BodyIsPasteToolOptions::BodyIsPasteToolOptions(Interaction* interaction)
    : BlockOptionObject(interaction)
{
    m_block.version = 1;
}

QEL_INSTALL_ENTITY_CASTS(ReorderBlendsOptions)
QEL_INSTALL_ENTITY_CASTS(CutOptions)
QEL_INSTALL_ENTITY_CASTS(CopyOptions)
QEL_INSTALL_ENTITY_CASTS(DeleteFacesOptions)
QEL_INSTALL_ENTITY_CASTS(OffsetFacesOptions)
QEL_INSTALL_ENTITY_CASTS(PasteOptions)
QEL_INSTALL_ENTITY_CASTS(ReplaceFacesWithSheetOptions)
QEL_INSTALL_ENTITY_CASTS(ExtractBodyPersistentDataOptions)
QEL_INSTALL_ENTITY_CASTS(RestoreBodyPersistentDataOptions)
QEL_INSTALL_ENTITY_CASTS(RemoveFaceShellPersistentDataOptions)
QEL_INSTALL_ENTITY_CASTS(BodyIsPasteToolOptions)
QEL_INSTALL_OBJECT_READER(ReorderBlendsOptions)
QEL_INSTALL_OBJECT_READER(CutOptions)
QEL_INSTALL_OBJECT_READER(CopyOptions)
QEL_INSTALL_OBJECT_READER(DeleteFacesOptions)
QEL_INSTALL_OBJECT_READER(OffsetFacesOptions)
QEL_INSTALL_OBJECT_READER(PasteOptions)
QEL_INSTALL_OBJECT_READER(ReplaceFacesWithSheetOptions)
QEL_INSTALL_OBJECT_READER(ExtractBodyPersistentDataOptions)
QEL_INSTALL_OBJECT_READER(RestoreBodyPersistentDataOptions)
QEL_INSTALL_OBJECT_READER(RemoveFaceShellPersistentDataOptions)
QEL_INSTALL_OBJECT_READER(BodyIsPasteToolOptions)

}  // namespace QEL
