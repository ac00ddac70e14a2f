#pragma once
// The starts of a journal's argument elements, rendered at their first use: a record is mostly
// arguments, and a call writes the same ones in every record. They belong to the open journal
// and go with it when it closes.

#include "core/xml/XMLPreparedStart.h"

#include <cstddef>
#include <string>

namespace QEL {

class JournalArgumentStarts {
public:
    // The start of `element` with the direction, name and type attributes given (a null text
    // leaves its attribute out). An entry is found by where its texts are and taken only when
    // they still read the same.
    const XMLPreparedStart& Find(const char* element, const char* argType, const char* name,
                                 const char* typeName);

private:
    struct Text {
        bool given = false;
        std::string text;
    };
    struct Entry {
        bool used = false;
        const char* argType = nullptr;  // one of the two direction texts, or null
        Text element, name, typeName;
        XMLPreparedStart start;
    };
    static bool Same(const Text& kept, const char* text);

    static constexpr std::size_t s_entryCount = 64;
    Entry m_entries[s_entryCount];
};

}  // namespace QEL
