#pragma once
// Checks of a whole list of references given to a feature at once: every element is judged as
// it would be when its turn came, with the elements before it already added, so a list can be
// refused before any of it joins the feature.

#include "core/enums/Enums.h"

#include <vector>

namespace QEL {

class Interaction;

ResultType CheckArgFeatureReferenceList(Interaction* interaction, int featureTag,
                                        const std::vector<int>& referenceTags);
// Each element also needs an instance.
ResultType CheckArgFeatureProfileReferenceList(Interaction* interaction, int featureTag,
                                               const std::vector<int>& referenceTags);

}  // namespace QEL
