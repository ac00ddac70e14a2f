#pragma once
// How adaptive lift chooses where a lifted face turns: the candidate point farthest from the
// face's hinge lines.

#include "core/maths/Dir.h"
#include "core/maths/Vec.h"

#include <utility>
#include <vector>

namespace QEL {

// A hinge line: a point on it and its direction, in the body's own frame.
using HingeLine = std::pair<Vec, Dir>;

// The candidate farthest from any of the lines into tipping; the earlier candidate on a tie.
// False when every candidate lies on a line (or there are none): such a face has nothing to
// turn about.
bool ChooseTippingPoint(const std::vector<Vec>& candidates, const std::vector<HingeLine>& lines,
                        Vec& tipping);

}  // namespace QEL
