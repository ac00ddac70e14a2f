#include "ElfExports.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>

std::vector<std::string> ElfExportedNames(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0 ||
        file[EI_CLASS] != ELFCLASS64)
        return names;
    const auto at = [&file](std::size_t offset, auto* record) {
        std::memcpy(record, file.data() + offset, sizeof *record);
    };
    Elf64_Ehdr header;
    at(0, &header);
    for (unsigned i = 0; i < header.e_shnum; ++i)
    {
        Elf64_Shdr section;
        at(header.e_shoff + i * sizeof(Elf64_Shdr), &section);
        if (section.sh_type != SHT_DYNSYM)
            continue;
        Elf64_Shdr strings;
        at(header.e_shoff + section.sh_link * sizeof(Elf64_Shdr), &strings);
        for (std::size_t s = 0; s < section.sh_size / sizeof(Elf64_Sym); ++s)
        {
            Elf64_Sym symbol;
            at(section.sh_offset + s * sizeof(Elf64_Sym), &symbol);
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK) ||
                ELF64_ST_VISIBILITY(symbol.st_other) != STV_DEFAULT)
                continue;
            names.emplace_back(file.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}
