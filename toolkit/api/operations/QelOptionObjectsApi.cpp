#include "api/operations/QelOptionObjectsApi.h"

#include "api/features/QelFeatureApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ModellingOptionClasses.h"
#include "core/objects/Interaction.h"
#include "model/features/MakeFeatureOptions.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ReplaceOptions.h"
#include "model/operations/ShellOptions.h"
#include "model/operations/TaperOptions.h"

namespace QEL {
namespace {

// The one creation call: a new object of the class, its tag journalled as the class's tag.
// An object that could not be given a tag is no object: it goes again and the call fails.
template <typename Options>
int CreateOptions(const ApiCallProperties& call, int interaction, ResultType* result)
{
    return Call<int>(call, interaction, result)
        .ReturnsTag(TagKindOf<Options>::s_kind)
        .Run([](Interaction* target, ResultType& status) {
            Options* options = new Options(target);
            if (options->GetTag() == 0) {
                options->Destroy();
                status = ResultTypeFail;
                return 0;
            }
            return options->GetTag();
        });
}

}  // namespace

#define QEL_DEFINE_CREATE_OPTIONS_CALL(Class)                              \
    QEL_API_REPLAYABLE_CALL(Create##Class, 0);                             \
    int Create##Class(int interaction, ResultType* result)                 \
    {                                                                      \
        return CreateOptions<Class>(s_Create##Class, interaction, result); \
    }
QEL_MODELLING_OPTION_CLASSES(QEL_DEFINE_CREATE_OPTIONS_CALL)
QEL_DEFINE_CREATE_OPTIONS_CALL(MakeFeatureOptions)
#undef QEL_DEFINE_CREATE_OPTIONS_CALL

}  // namespace QEL
