#pragma once
// A document cut off while it was being appended. A file that grows by appending into a length
// set ahead of what is written (the journal) ends, when its writer is killed, in zero bytes
// after every piece appended so far, and without its end tag. Such a document reads as the
// children of its root that were complete, closed by the root's end tag: what any reader of
// the document would take once the end tag is added.

#include <string>

namespace QEL {

// When bytes are such a document whose root element is named rootName (ending in zero bytes,
// none before them, the root not closed), replaces them by the document up to the end of the
// root's last complete child with the root's end tag added, and answers true. Any other bytes
// are left as they are, for the parser to judge as before.
bool CloseCutOffDocument(std::string& bytes, const char* rootName);

}  // namespace QEL
