// Feeds arbitrary documents to XMLIO's reading side: the cursor, every value form, kernel
// parts in base64, kernel entity references and instance elements. Any input must end in a
// result or an error code, never in a crash, a hang or a sanitizer report.
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"

#include <brennik_test.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace QEL;

namespace {

Interaction* SharedInteraction()
{
    static Interaction* s_interaction = [] {
        brennik::test::RestartSession();
        return new Interaction(CreateTypeLive);
    }();
    return s_interaction;
}

void ReadValues(XMLIO& reader)
{
    std::string text;
    bool flag = false;
    int number = 0;
    double value = 0;
    Position point;
    Xform xform;
    std::vector<int> ids;
    reader.DoIOID(number, true);
    reader.DoIO("name", text);
    reader.DoIO(text);
    reader.DoIO("flag", flag, true);
    reader.DoIO("n", number);
    reader.DoIO("v", value);
    reader.DoIO("p", point);
    reader.DoIOIDReference("ref", number);
    reader.DoIO(xform, true);
    reader.DoIOObjectReferences("Ref", "to", ids);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Interaction* interaction = SharedInteraction();
    const std::string document(reinterpret_cast<const char*>(data), size);
    XMLIO reader("QELXML", false);
    if (!reader.LoadText(document.c_str()))
        return 0;
    int body = 0;
    int id = 0;
    while (reader.DoIOBody(body, id, false))
        id = 0;
    std::vector<int> entities;
    DoIOKernelEntities(reader, "Entity", entities);
    while (reader.BeginElement("Item", -1)) {
        ReadValues(reader);
        reader.EndElement(true);
    }
    const int instances = reader.GetChildElementCount("Instance");
    for (int i = 0; i < instances; ++i)
        if (Instance* instance = Instance::CreateFromXML(interaction, reader))
            instance->Destroy();
    return 0;
}
