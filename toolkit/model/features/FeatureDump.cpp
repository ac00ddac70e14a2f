#include "model/features/FeatureDump.h"

namespace QEL {

bool s_featureDumpOn = false;

FILE* OpenFeatureDump()
{
    return s_featureDumpOn ? std::fopen("c:\\temp\\FeatureDump.txt", "a") : nullptr;
}

}  // namespace QEL
