#pragma once
// The feature dump: a text file that features and mapping data append to while its
// process-wide switch is on. The switch starts off and no call of the toolkit turns it on.

#include "core/frame/QelExport.h"

#include <cstdio>

namespace QEL {

QEL_API extern bool s_featureDumpOn;

// The dump file opened for appending; null while the switch is off or when it cannot be
// opened. The caller closes it.
FILE* OpenFeatureDump();

}  // namespace QEL
