#pragma once
// The start tag of an element with its first attributes, rendered once for an element written
// again and again with the same ones (the arguments of a journal's records): writing it is
// then one copy instead of an attribute at a time.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace QEL {

struct XMLPreparedStart {
    std::string name;
    // The attributes with a value, in order, as they were given.
    std::vector<std::pair<std::string, std::string>> attributes;
    // The start as the streamed writer writes it, "<" name and the attributes, left open.
    std::string text;
    // The streamed writer's record of the attribute names written.
    std::uint64_t names = 0;
};

}  // namespace QEL
