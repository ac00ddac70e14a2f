#pragma once
// Where a streamed document goes.

#include "core/frame/QelExport.h"

#include <cstddef>

namespace QEL {

// Each call hands over one complete piece of text: an element closed directly under the root
// with its line breaks, or the document's head or end.
class QEL_API XMLOutput {
public:
    virtual ~XMLOutput() = default;
    virtual bool Write(const char* text, std::size_t length) = 0;
};

}  // namespace QEL
