#pragma once
// The names a shared library exports: the defined global and weak symbols of its dynamic
// symbol table, read straight from the ELF file.

#include <string>
#include <vector>

std::vector<std::string> ElfExportedNames(const std::string& path);
