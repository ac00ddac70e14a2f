// Reading a journal back with the toolkit's own parser: its records, their values and the
// attributes of each.
#pragma once

#include "core/xml/XMLParseResult.h"
#include "core/xml/XMLTreeNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QEL {
namespace testing {

inline std::string Attribute(const XMLTreeNode& node, const char* name)
{
    const char* value = node.GetAttribute(name);
    return value ? value : "<absent>";
}

// The children of an element named name, in document order.
inline std::vector<XMLTreeNode> Children(const XMLTreeNode& node, const char* name)
{
    std::vector<XMLTreeNode> children;
    int position = 0;
    for (XMLTreeNode child = node.GetChild(name, &position); !child.IsEmpty();
         child = node.GetChild(name, &position))
        children.push_back(child);
    return children;
}

// The "Argument" of a record with the given name, or the empty node.
inline XMLTreeNode Argument(const XMLTreeNode& record, const std::string& name)
{
    for (const XMLTreeNode& child : Children(record, "Argument"))
        if (Attribute(child, "name") == name)
            return child;
    return XMLTreeNode();
}

// The arguments of a record written in one direction ("input", "output" or "<absent>").
inline int CountArguments(const XMLTreeNode& record, const std::string& direction)
{
    int count = 0;
    for (const XMLTreeNode& child : Children(record, "Argument"))
        count += Attribute(child, "argType") == direction;
    return count;
}

// The first text of an element, "<absent>" when it has none.
inline std::string TextOf(const XMLTreeNode& node)
{
    const char* text = node.IsEmpty() ? nullptr : node.GetText(0);
    return text ? text : "<absent>";
}

// The journal's root, failing on a file that does not parse.
inline XMLTreeNode ParseJournalFile(const std::string& path)
{
    XMLParseResult parse{};
    XMLTreeNode root = XMLTreeNode::ParseFile(path.c_str(), "QELJournal", &parse);
    EXPECT_FALSE(root.IsEmpty()) << "journal " << path << " does not parse";
    return root;
}

}  // namespace testing
}  // namespace QEL
