// Error codes of the XML document library (parsing, writing files and base64) and the
// position at which a parse stopped.
#pragma once

namespace QEL {

enum XMLParseError {
    XMLParseErrorNone = 0,
    XMLParseErrorUnclosedElements = 1,  // end tags were missing; the tree stays usable
    XMLParseErrorEmptyFile = 2,
    XMLParseErrorMissingTagName = 4,
    XMLParseErrorEndTagNotClosed = 5,
    XMLParseErrorUnmatchedEndTag = 7,
    XMLParseErrorClearNotClosed = 8,
    XMLParseErrorUnexpectedToken = 9,
    XMLParseErrorNoText = 11,
    XMLParseErrorCannotOpenForReading = 12,
    XMLParseErrorRootNotFound = 13,
    XMLParseErrorBadEntity = 14,
    XMLParseErrorNoMemory = 15,
    XMLParseErrorCannotOpenForWriting = 16,
    XMLParseErrorWriteFailed = 17,
    XMLParseErrorBase64Length = 18,     // code characters not a multiple of 4
    XMLParseErrorBase64Character = 19,  // a character outside the alphabet
    XMLParseErrorBase64Truncated = 20,  // the data ends too early
    XMLParseErrorBase64Overflow = 21,   // more data than the output can hold
    XMLParseErrorNestingTooDeep = 22    // elements nested deeper than XMLMaxNestingDepth
};

// Documents nested deeper than this are refused, so that hostile input cannot make trees
// deeper than a caller's own recursive walk over them can take.
constexpr int XMLMaxNestingDepth = 1000;

struct XMLParseResult {
    int m_error = XMLParseErrorNone;
    int m_line = 0;    // counted from 1; 0 when there is no error position
    int m_column = 0;  // counted from 1
};

}  // namespace QEL
