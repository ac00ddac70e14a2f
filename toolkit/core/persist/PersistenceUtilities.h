#pragma once
// What storing bodies and interactions needs besides XML: removing the toolkit's own kernel
// attributes from parts before they leave the process, writing bare bodies for diagnosis, and
// the path functions of the save file.

#include "core/frame/Array.h"

#include <string>
#include <vector>

namespace QEL {

// Deletes the owners of every attribute of that definition in the part (for the reference
// definition, the groups that carry references). True also when the definition does not exist.
bool StripAttributeDefinition(int part, const char* definitionName);
// The three definitions of the toolkit: references, instances, relations.
bool StripQELAttributeDefinitions(int part);
// The part's binary transmit data without the toolkit's attributes and the groups carrying
// them, the model left as it was and no partition mark needed: the kernel leaves them out as
// it writes, so the cost follows the part and not the partition it lives in.
bool TransmitPartWithoutQELAttributes(int part, std::vector<unsigned char>& bytes);
// Writes the bodies to a kernel transmit file with the toolkit's attributes stripped. Every
// partition concerned is marked first and rolled back after, so the model is unchanged.
bool SaveBodiesWithoutQELAttributes(const Array<int>& bodies, const char* path);

// Splits at the last "/" (or, without one, the last backslash) and at the last "." after it:
// the directory keeps its separator, the extension its point. A path without a separator
// leaves all three empty. Each output may be null.
void SplitPath(const char* path, std::string* directory, std::string* base, std::string* extension);
// The absolute, normalised form of a path; a relative one is taken against baseDirectory, or
// against the working directory when that is null or empty. Empty for a null or empty path.
bool MakeAbsolutePath(const char* path, std::string& absolute, const char* baseDirectory = nullptr);
bool GetWorkingDirectory(std::string& directory);
// Changes the working directory when the argument is not null.
bool ChangeDirectory(const char* directory);

}  // namespace QEL
