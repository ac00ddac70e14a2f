#pragma once
// The readers of the save file's object elements. The core keeps the order in which a file's
// objects are made (each class after those it refers to); the layer that defines a class
// installs the reader of its element while the library loads. Writing needs no such help: each
// object writes itself.

namespace QEL {

class Interaction;
class XMLIO;

// Makes one object from the next element of its class, entering and leaving the element; false
// when the object cannot be made.
typedef bool (*ObjectReader)(Interaction* interaction, XMLIO& xmlio);

// Installs the reader of an element; false for an element the load order does not hold.
bool InstallObjectReader(const char* element, ObjectReader reader);

template <typename T>
bool InstallObjectReaderOf()
{
    return InstallObjectReader(T::s_className, [](Interaction* interaction, XMLIO& xmlio) {
        return T::CreateFromXML(interaction, xmlio) != nullptr;
    });
}

// Installs the reader of a class while the library loads, beside the class's definition.
#define QEL_INSTALL_OBJECT_READER(Class)                            \
    [[maybe_unused]] static const bool s_##Class##ReaderInstalled = \
        ::QEL::InstallObjectReaderOf<Class>();

// The stages of a load, between which the selection and the relation finder's state are read.
enum class ObjectLoadStage { BeforeSelection, BeforeFinder, AfterFinder };

// Makes every object of the stage's classes, class by class in the load order; false at the
// first that cannot be made, or when the file holds an element whose reader is not installed.
bool LoadObjectsOfStage(ObjectLoadStage stage, Interaction* interaction, XMLIO& xmlio);

}  // namespace QEL
