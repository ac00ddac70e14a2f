// An application built against the installed package: it starts the kernel session, makes a
// block, creates an interaction, places the block as an instance through the exported calls,
// and destroys it all; and it links every call the installed headers declare. The first step
// that fails is printed and ends it with status 1.

#include "api/model/QelInstanceApi.h"
#include "core/enums/EnumNames.h"
#include "core/calls/QelInteractionApi.h"

#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>

int CountDeclaredCalls();

namespace {

int Fail(const char* step, QEL::ResultType result)
{
    std::fprintf(stderr, "failed: %s (%s)\n", step, QEL::ResultTypeToString(result));
    return 1;
}

}  // namespace

int main()
{
    using namespace QEL;
    const BQ_SESSION_start_o_t options{1, true, true};
    if (BQ_SESSION_start(&options) != BQ_ERROR_no_errors)
        return Fail("start the kernel session", ResultTypeFail);
    const int block = brennik::build::Block(10.0, 20.0, 30.0);
    if (block == 0)
        return Fail("make a block", ResultTypeFail);

    ResultType result = ResultTypeFail;
    const int interaction = CreateInteraction(&result);
    if (result != ResultTypeOk)
        return Fail("create an interaction", result);
    const double placement[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const int instance = CreateInstance(interaction, block, placement, &result);
    if (result != ResultTypeOk || instance == 0)
        return Fail("place the block as an instance", result);
    DestroyInteraction(interaction, &result);
    if (result != ResultTypeOk)
        return Fail("destroy the interaction", result);
    BQ_SESSION_stop();
    if (CountDeclaredCalls() != QEL_DECLARED_CALLS)
        return Fail("link every call the public headers declare", ResultTypeFail);
    std::printf("interaction created and a block placed in it through the installed package; "
                "%d declared calls linked\n", QEL_DECLARED_CALLS);
    return 0;
}
