#pragma once
// Debug descriptions of kernel entities, as the solver's debug output prints them.

#include <string>

namespace QEL {

// The topology letter ("F", "E", "V", "C" for free points, lines and planes, "?" otherwise),
// the kernel identifier, the geometry's name and tag of a kernel entity. A tag that is no live
// entity gives the geometry name "entity failed EntityIs test" and nothing else.
void GetEntityTypeNames(int tag, std::string& topologyLetter, int& identifier,
                        std::string& geometryName, int& geometry);

// "Null" for 0, else letter(tag)[identifier]geometry(geometryTag), e.g. F(1234)[56]plane(1240).
std::string FormatEntityDescription(int tag);

}  // namespace QEL
