// An application of the toolkit: it starts the kernel session, makes a block, creates an
// interaction, places the block as an instance, and destroys it all. Every step is checked;
// the first that fails is printed and ends the program with status 1.

#include "core/enums/EnumNames.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/calls/QelInteractionApi.h"
#include "core/objects/TagManager.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>

namespace {

int Fail(const char* step)
{
    std::fprintf(stderr, "failed: %s\n", step);
    return 1;
}

int ClassOf(int tag)
{
    int cls = BQ_CLASS_null;
    BQ_ENTITY_ask_class(tag, &cls);
    return cls;
}

}  // namespace

int main()
{
    using namespace QEL;
    const BQ_SESSION_start_o_t options{1, true, true};
    if (BQ_SESSION_start(&options) != BQ_ERROR_no_errors)
        return Fail("start the kernel session");
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    if (block == 0 || ClassOf(block) != BQ_CLASS_body)
        return Fail("make a block");

    ResultType result = ResultTypeFail;
    const int interactionTag = CreateInteraction(&result);
    if (result != ResultTypeOk) {
        std::fprintf(stderr, "CreateInteraction: %s\n", ResultTypeToString(result));
        return Fail("create an interaction");
    }
    Interaction* interaction = TagManager::FindInteractionFromTag(interactionTag);
    if (!interaction)
        return Fail("find the interaction by its tag");
    const int partition = interaction->GetQELPartition();
    if (ClassOf(partition) != BQ_CLASS_partition)
        return Fail("the interaction's own partition");

    const double placement[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Instance* instance = Instance::Create(interaction, block, placement);
    if (!instance || interaction->GetTagManager()->FindInstanceFromTag(instance->GetTag()) != instance)
        return Fail("place the block as an instance");
    if (OptionGetModellingTolerance(interactionTag, &result) <= 0.0 || result != ResultTypeOk)
        return Fail("ask the interaction an option");

    DestroyInteraction(interactionTag, &result);
    if (result != ResultTypeOk || TagManager::GetInteractionCount() != 0)
        return Fail("destroy the interaction");
    if (ClassOf(partition) != BQ_CLASS_null)
        return Fail("the interaction's partition goes with it");
    if (ClassOf(block) == BQ_CLASS_body && BQ_ENTITY_delete(1, &block) != BQ_ERROR_no_errors)
        return Fail("delete the block");
    if (BQ_SESSION_stop() != BQ_ERROR_no_errors)
        return Fail("stop the kernel session");
    std::printf("session, block, interaction and instance made and destroyed\n");
    return 0;
}
