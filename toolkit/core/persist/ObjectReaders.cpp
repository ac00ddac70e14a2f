// The load order of the save file's objects and the readers installed for it.
#include "core/persist/ObjectReaders.h"

#include "core/objects/Instance.h"
#include "core/persist/XMLIO.h"

#include <cstring>

namespace QEL {

namespace {

bool ReadInstance(Interaction* interaction, XMLIO& xmlio)
{
    return Instance::CreateFromXML(interaction, xmlio) != nullptr;
}

struct OrderedReader {
    const char* element;
    ObjectLoadStage stage;
    ObjectReader reader;
};

// The order in which a file's objects are made: each class after those it refers to. Kept
// constant-initialised, so that an installation from any other file's static initialisation
// finds it ready.
OrderedReader s_loadOrder[] = {
    {"Instance", ObjectLoadStage::BeforeSelection, &ReadInstance},
    {"Reference", ObjectLoadStage::BeforeSelection, nullptr},
    {"Relation", ObjectLoadStage::BeforeFinder, nullptr},
    {"VirtualVertex", ObjectLoadStage::BeforeFinder, nullptr},
    {"Feature", ObjectLoadStage::BeforeFinder, nullptr},
    {"UserDefinedFacePattern", ObjectLoadStage::BeforeFinder, nullptr},
    {"RectangularFacePattern", ObjectLoadStage::BeforeFinder, nullptr},
    {"CircularFacePattern", ObjectLoadStage::BeforeFinder, nullptr},
    {"Section", ObjectLoadStage::BeforeFinder, nullptr},
    {"ShellOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"OffsetFacesOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"ReorderBlendsOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"ReplaceFacesWithSheetOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"ExtractBodyPersistentDataOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"RestoreBodyPersistentDataOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"RemoveFaceShellPersistentDataOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"BodyIsPasteToolOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"CopyOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"CutOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"PasteOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"DeleteFacesOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"Rule", ObjectLoadStage::AfterFinder, nullptr},
    {"FoundData", ObjectLoadStage::AfterFinder, nullptr},
    {"ReplaceOptions", ObjectLoadStage::AfterFinder, nullptr},
    {"TaperOptions", ObjectLoadStage::AfterFinder, nullptr},
    // Saved like every other object, so it must be made again, or a reload would lose it.
    {"MakeFeatureOptions", ObjectLoadStage::AfterFinder, nullptr},
};

}  // namespace

bool InstallObjectReader(const char* element, ObjectReader reader)
{
    for (OrderedReader& entry : s_loadOrder) {
        if (std::strcmp(entry.element, element) == 0) {
            entry.reader = reader;
            return true;
        }
    }
    return false;
}

bool LoadObjectsOfStage(ObjectLoadStage stage, Interaction* interaction, XMLIO& xmlio)
{
    for (const OrderedReader& entry : s_loadOrder) {
        if (entry.stage != stage)
            continue;
        const int count = xmlio.GetChildElementCount(entry.element);
        if (count > 0 && !entry.reader)
            return false;
        for (int i = 0; i < count; ++i)
            if (!entry.reader(interaction, xmlio))
                return false;
    }
    return true;
}

}  // namespace QEL
