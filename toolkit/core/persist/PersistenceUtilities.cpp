// Stripping the toolkit's kernel attributes, bare-body export and the save file's paths.
#include "core/persist/PersistenceUtilities.h"

#include "core/kernel/KernelFacade.h"

#include <brennik.h>

#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

namespace QEL {

namespace {

const char* const s_qelAttributeDefinitions[] = {"ORV/QEL_REF_DEV", "ORV/QEL_INST_DEV",
                                                 "ORV/QEL_REL_DEV"};

}  // namespace

bool StripAttributeDefinition(int part, const char* definitionName)
{
    int definition = 0;
    if (!definitionName || BQ_ATTDEF_find(definitionName, &definition) != BQ_ERROR_no_errors ||
        definition == 0)
        return true;
    std::vector<int> attributes;
    GetPartAttributes(part, definition, &attributes);
    for (int attribute : attributes) {
        // An owner carrying two such attributes is gone by the second: it then has none.
        const int owner = GetAttributeOwner(attribute);
        if (owner != 0)
            DeleteEntity(owner);
    }
    return true;
}

bool StripQELAttributeDefinitions(int part)
{
    for (const char* name : s_qelAttributeDefinitions)
        StripAttributeDefinition(part, name);
    return true;
}

bool TransmitPartWithoutQELAttributes(int part, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    // The kernel leaves the toolkit's attributes, and the groups carrying them, out of the data
    // it writes: the model is not touched, and the cost follows the part alone.
    std::vector<int> definitions;
    for (const char* name : s_qelAttributeDefinitions) {
        int definition = 0;
        if (BQ_ATTDEF_find(name, &definition) == BQ_ERROR_no_errors && definition != 0)
            definitions.push_back(definition);
    }
    BQ_PART_transmit_o_t options{3, BQ_PART_format_binary, true, 0, nullptr};
    options.n_left_out_attdefs = static_cast<int>(definitions.size());
    options.left_out_attdefs = definitions.data();
    BQ_MEMORY_block_t* blocks = nullptr;
    const bool sent = BQ_PART_transmit_b(1, &part, &options, &blocks) == BQ_ERROR_no_errors;
    for (const BQ_MEMORY_block_t* block = blocks; sent && block; block = block->next)
        bytes.insert(bytes.end(), block->bytes, block->bytes + block->n_bytes);
    BQ_MEMORY_block_f(blocks);
    return sent && !bytes.empty();
}

bool SaveBodiesWithoutQELAttributes(const Array<int>& bodies, const char* path)
{
    std::set<int> partitions;
    std::vector<int> parts;
    for (int i = 0; i < bodies.GetSize(); ++i) {
        partitions.insert(GetEntityPartition(bodies[i]));
        parts.push_back(bodies[i]);
    }
    std::vector<int> marks;
    for (int partition : partitions) {
        const int mark =
            partition ? MakePartitionMarkWithChanges(partition, nullptr, nullptr, nullptr) : 0;
        if (mark == 0) {
            for (int made : marks)
                DeletePartitionMark(made);
            return false;
        }
        marks.push_back(mark);
    }
    for (int part : parts)
        StripQELAttributeDefinitions(part);
    const bool sent = TransmitParts(parts, path);
    for (int mark : marks) {
        GoToPartitionMark(mark);
        DeletePartitionMark(mark);
    }
    return sent;
}

void SplitPath(const char* path, std::string* directory, std::string* base, std::string* extension)
{
    std::string dir, name, ext;
    const std::string text = path ? path : "";
    size_t separator = text.rfind('/');
    if (separator == std::string::npos)
        separator = text.rfind('\\');
    if (separator != std::string::npos) {
        dir = text.substr(0, separator + 1);
        name = text.substr(separator + 1);
        const size_t point = name.rfind('.');
        if (point != std::string::npos) {
            ext = name.substr(point);
            name.erase(point);
        }
    }
    if (directory)
        *directory = dir;
    if (base)
        *base = name;
    if (extension)
        *extension = ext;
}

bool MakeAbsolutePath(const char* path, std::string& absolute, const char* baseDirectory)
{
    absolute.clear();
    if (!path || !*path)
        return false;
    std::error_code error;
    std::filesystem::path full(path);
    if (full.is_relative()) {
        std::filesystem::path base;
        if (baseDirectory && *baseDirectory)
            base = baseDirectory;
        else
            base = std::filesystem::current_path(error);
        if (error)
            return false;
        full = base / full;
    }
    absolute = full.lexically_normal().string();
    return true;
}

bool GetWorkingDirectory(std::string& directory)
{
    std::error_code error;
    directory = std::filesystem::current_path(error).string();
    return !error;
}

bool ChangeDirectory(const char* directory)
{
    if (!directory)
        return false;
    std::error_code error;
    std::filesystem::current_path(directory, error);
    return !error;
}

}  // namespace QEL
