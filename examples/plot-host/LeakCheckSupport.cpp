#include "LeakCheckSupport.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>
#include <vector>

void KeepGraphicsDriversMapped()
{
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "/dri/"))
                static_cast<std::vector<std::string>*>(data)->push_back(info->dlpi_name);
            return 0;
        },
        &drivers);
    // A second reference that is never dropped, marked never to be unloaded.
    for (const std::string& driver : drivers)
        dlopen(driver.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}
