#pragma once
// Problems found while writing or reading the XML form of objects, kept per object id.

namespace QEL {

enum XMLErrorCode {
    XMLErrorCodeNone = 0,
    XMLErrorCodeBodyNotInMap = 1,        // a (part, body index) pair names no body
    XMLErrorCodeObjectMissing = 3,       // a referenced object is missing
    XMLErrorCodeRelationUnresolved = 4,  // a relation's reference could not be resolved
    XMLErrorCodePartBodyUnreadable = 6,  // a part's body failed to arrive
    XMLErrorCodeFileUnreadable = 14,     // missing, empty or malformed file
    XMLErrorCodeBadObjectId = 19,        // an object id is zero, repeats or names nothing
    XMLErrorCodeWrongRoot = 20           // the root element is not the expected one
};

}  // namespace QEL
