#include "core/xml/XMLCutOffDocument.h"

#include <cstring>

namespace QEL {

namespace {

// Where the markup that starts at `at` ends (just past it), or npos when the text ends first.
size_t MarkupEnd(const std::string& text, size_t at, const char* closing)
{
    const size_t found = text.find(closing, at);
    return found == std::string::npos ? found : found + std::strlen(closing);
}

// Just past the '>' of the tag starting at `at`, quoted attribute values skipped; npos when
// the text ends inside the tag.
size_t TagEnd(const std::string& text, size_t at)
{
    char quote = 0;
    for (size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i + 1;
    }
    return std::string::npos;
}

}  // namespace

bool CloseCutOffDocument(std::string& bytes, const char* rootName)
{
    if (rootName == nullptr || bytes.empty() || bytes.back() != '\0')
        return false;
    const size_t written = bytes.find_last_not_of('\0') + 1;  // 0 when all are zero
    const std::string text = bytes.substr(0, written);
    if (written == 0 || text.find('\0') != std::string::npos)
        return false;

    // Walk the markup keeping the depth of elements: the end of the last child of the root
    // that closed is where the complete records end.
    std::string root;
    size_t complete = std::string::npos;
    int depth = 0;
    size_t at = text.find('<');
    while (at != std::string::npos && at < text.size()) {
        size_t end = std::string::npos;
        if (text.compare(at, 4, "<!--") == 0)
            end = MarkupEnd(text, at + 4, "-->");
        else if (text.compare(at, 9, "<![CDATA[") == 0)
            end = MarkupEnd(text, at + 9, "]]>");
        else if (text.compare(at, 2, "<?") == 0)
            end = MarkupEnd(text, at + 2, "?>");
        else if (text.compare(at, 2, "<!") == 0)
            end = TagEnd(text, at);
        else if (text.compare(at, 2, "</") == 0) {
            end = TagEnd(text, at);
            if (end == std::string::npos)
                break;
            if (--depth <= 0)
                return false;  // the root closed: not cut off
            if (depth == 1)
                complete = end;
        } else {
            end = TagEnd(text, at);
            if (end == std::string::npos)
                break;
            const bool empty = text[end - 2] == '/';
            if (depth == 0) {
                const size_t nameEnd = text.find_first_of(" \t\r\n/>", at + 1);
                root = text.substr(at + 1, nameEnd - at - 1);
                if (empty || root != rootName)
                    return false;
                complete = end;
            } else if (depth == 1 && empty) {
                complete = end;
            }
            if (!empty)
                ++depth;
        }
        if (end == std::string::npos)
            break;
        at = text.find('<', end);
    }
    if (root.empty())
        return false;
    bytes = text.substr(0, complete) + "\n</" + root + ">\n";
    return true;
}

}  // namespace QEL
