#include "core/journal/JournalArgumentStarts.h"

#include "core/journal/JournalVocabulary.h"
#include "core/xml/XMLStreamWriter.h"

#include <cstdint>
#include <cstring>

namespace QEL {

const XMLPreparedStart& JournalArgumentStarts::Find(const char* element, const char* argType,
                                                    const char* name, const char* typeName)
{
    const std::uintptr_t key =
        reinterpret_cast<std::uintptr_t>(name) ^ (reinterpret_cast<std::uintptr_t>(typeName) >> 3);
    Entry& entry = m_entries[(key ^ (key >> 7)) % s_entryCount];
    if (!entry.used || entry.argType != argType || !Same(entry.element, element) ||
        !Same(entry.name, name) || !Same(entry.typeName, typeName)) {
        entry.used = true;
        entry.argType = argType;
        entry.element = Text{element != nullptr, element ? element : ""};
        entry.name = Text{name != nullptr, name ? name : ""};
        entry.typeName = Text{typeName != nullptr, typeName ? typeName : ""};
        entry.start = XMLStreamWriter::Prepare(element, {{JournalName::ArgType, argType},
                                                         {JournalName::Name, name},
                                                         {JournalName::Type, typeName}});
    }
    return entry.start;
}

bool JournalArgumentStarts::Same(const Text& kept, const char* text)
{
    return text ? kept.given && std::strcmp(kept.text.c_str(), text) == 0 : !kept.given;
}

}  // namespace QEL
