#include "replay/ReplayUnpackers.h"

#include <stdexcept>

namespace QEL {

void CheckReplayArgumentCount(const std::vector<ReplayValue>& arguments, unsigned expected)
{
    if (arguments.size() != expected)
        throw std::invalid_argument("Unexpected number of arguments");
}

}  // namespace QEL
