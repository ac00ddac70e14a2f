#pragma once
// The one shape of every option object of the one-shot modelling operations. An option object
// is a tagged object of its interaction, found only by its tag: made with the interaction (its
// creation recorded for rollback), saved for rollback as its settings (SavedObject), compared as
// a tagged entity and then by its class's own rule, and written or read as one element named
// after its class. A class states only what is its own, as private members its base reaches
// as a friend:
//
//   static constexpr const char* s_className;       // the element's name
//   void CopySettings(const Class& from);            // its saved state: snapshots and restores
//   bool HasSameSettings(const Class& other) const;  // the class's rule of equality
//   bool DoIOSettings(XMLIO& xmlio);                 // attributes and children after the id
//
// A class without settings of its own inherits the empty ones below.

#include "core/kernel/KernelFacade.h"
#include "core/objects/Object.h"
#include "core/persist/XMLIO.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace QEL {

template <typename Derived, ObjectType Type>
class QEL_API OptionObject : public SavedObject<Derived, SerializableObject> {
public:
    static constexpr ObjectType s_objectType = Type;

    // The object the save file or a journal describes: a new object of the class, then its
    // element; null, and nothing left behind, when the element cannot be read.
    static Derived* CreateFromXML(Interaction* interaction, XMLIO& xmlio)
    {
        Derived* options = new Derived(interaction);
        if (!options->DoIO(xmlio)) {
            options->Destroy();
            return nullptr;
        }
        return options;
    }

    bool Compare(TaggedEntity* other) override
    {
        Derived* same = dynamic_cast<Derived*>(other);
        return same && this->TaggedEntity::Compare(other) && Self().HasSameSettings(*same);
    }
    bool DoIO(XMLIO& xmlio) override
    {
        if (!xmlio.BeginElement(Derived::s_className))
            return false;
        const bool done = this->DoIOID(xmlio) && Self().DoIOSettings(xmlio);
        xmlio.EndElement(true);
        return done;
    }

protected:
    // Without an interaction (a snapshot) nothing is recorded.
    explicit OptionObject(Interaction* interaction)
        : SavedObject<Derived, SerializableObject>(interaction)
    {
        this->SetType(Type);
        if (interaction)
            this->RecordCreated();
    }

    // A recorded setting: the object is recorded for rollback before the value changes, and
    // not at all when the value is the one it holds.
    template <typename T>
    void SetRecorded(T& setting, const T& value)
    {
        if (setting == value)
            return;
        this->RecordModified();
        setting = value;
    }

    void CopySettings(const Derived&) {}
    bool HasSameSettings(const Derived&) const { return true; }
    bool DoIOSettings(XMLIO&) { return true; }

private:
    // A snapshot carries the settings, whatever the class states them to be.
    void CopyState(const Derived& from) { Self().CopySettings(from); }
    Derived& Self() { return static_cast<Derived&>(*this); }

    friend class SavedState<Derived, SerializableObject>;
};

// Option objects whose settings are one block of the add-on's option record, handed to the
// add-on as it stands. The block is cleared to zero bytes before its defaults are set and is
// copied and compared byte for byte, so that two blocks with the same settings are equal
// however the record is padded. ComparesBlock says whether the block takes part in the
// object's equality.
template <typename Derived, ObjectType Type, typename Block, bool ComparesBlock>
class QEL_API BlockOptionObject : public OptionObject<Derived, Type> {
public:
    const Block& GetOptionBlock() const { return m_block; }
    // A copy for an operation that fills in a word of its own.
    void GetOptionBlock(Block& block) const { std::memcpy(&block, &m_block, sizeof(Block)); }

protected:
    explicit BlockOptionObject(Interaction* interaction) : OptionObject<Derived, Type>(interaction)
    {
        std::memset(&m_block, 0, sizeof(Block));
    }

    void CopySettings(const Derived& from) { from.GetOptionBlock(m_block); }
    bool HasSameSettings(const Derived& other) const
    {
        return !ComparesBlock || std::memcmp(&m_block, &other.m_block, sizeof(Block)) == 0;
    }

    Block m_block;

    friend class OptionObject<Derived, Type>;
};

// The add-on token of an enumeration value: values first..last map in order onto the tokens
// from firstToken; any other value gives the fallback.
inline int OptionToken(int value, int first, int last, int firstToken, int fallback)
{
    return value >= first && value <= last ? firstToken + (value - first) : fallback;
}

// An enumeration setting, kept as an int since an application may pass any number: written
// by its name (nothing for a number without one) and read back through the enumeration's
// parser, which gives its default for a name it does not know.
template <typename E>
bool DoIOEnumSetting(XMLIO& xmlio, const char* name, int& value, const char* (*toString)(E),
                     E (*fromString)(const char*))
{
    std::string text;
    if (!xmlio.IsReading()) {
        text = toString(static_cast<E>(value));
        return xmlio.DoIO(name, text);
    }
    if (!xmlio.DoIO(name, text))
        return false;
    value = fromString(text.c_str());
    return true;
}

// The first element of a list as the add-on reads it: null for an empty list.
template <typename T>
T* ListData(std::vector<T>& list)
{
    return list.empty() ? nullptr : list.data();
}

// Parallel lists are handed to the add-on with one count, so each list is kept as long as
// the list it goes with. A value list of another length than its entities is taken as far
// as it goes, its last value standing for the entities past its end (one tolerance for all
// edges); with no value at all they get 0.
inline std::vector<double> OneValuePerEntity(const std::vector<double>& values,
                                             std::size_t entities)
{
    std::vector<double> perEntity(entities, values.empty() ? 0.0 : values.back());
    std::copy_n(values.begin(), std::min(values.size(), entities), perEntity.begin());
    return perEntity;
}

// Entities and what each is given (a curve, a position) are kept as pairs: an entity without
// its partner, or a partner without its entity, is left out.
template <typename T>
std::vector<T> FirstOf(const std::vector<T>& list, std::size_t count)
{
    return std::vector<T>(list.begin(),
                          list.begin() + static_cast<std::ptrdiff_t>(std::min(count, list.size())));
}

// The entities of a list that still exist. A later modelling call may have removed an entity
// an object names; a save writes only those that exist (a removed one has nothing to be found
// by when read), so the count of those is what equality between objects can rely on.
inline std::size_t LiveEntityCount(const std::vector<int>& entities)
{
    return static_cast<std::size_t>(
        std::count_if(entities.begin(), entities.end(), [](int entity) { return IsEntity(entity); }));
}

// A skip for DoIOChildList: an index whose entity a later modelling call removed is left out of
// the save, with what goes with it, as it has no identifier or body to be written by.
inline auto SkipRemoved(const std::vector<int>& entities)
{
    return [&entities](std::size_t i) { return !IsEntity(entities[i]); };
}

// One child element per index of parallel lists. Reading sizes nothing: the caller has sized
// its lists from the number of children. Writing skips an index for which skip answers true.
template <typename Skip, typename Each>
bool DoIOChildList(XMLIO& xmlio, const char* name, std::size_t count, Skip skip, Each each)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (!xmlio.IsReading() && skip(i))
            continue;
        if (!xmlio.BeginElement(name))
            return false;
        const bool done = each(i);
        xmlio.EndElement(true);
        if (!done)
            return false;
    }
    return true;
}

// The number of children of that name when reading, else the list's own length.
inline std::size_t ChildListLength(XMLIO& xmlio, const char* name, std::size_t writing)
{
    return xmlio.IsReading() ? static_cast<std::size_t>(xmlio.GetChildElementCount(name)) : writing;
}

}  // namespace QEL
