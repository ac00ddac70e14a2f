#include "solver/operations/AdaptiveLiftLists.h"

#include <memory>

namespace QEL {

namespace {

std::unique_ptr<std::vector<std::pair<Vec, int>>> s_tippingPoints;
std::unique_ptr<std::vector<std::pair<int, int>>> s_neighbours;

template <typename List>
bool Free(std::unique_ptr<List>& list)
{
    const bool held = list && !list->empty();
    list.reset();
    return held;
}

}  // namespace

std::vector<std::pair<Vec, int>>* s_getAdaptiveLiftTippingPoints() { return s_tippingPoints.get(); }

std::vector<std::pair<int, int>>* s_getAdaptiveLiftNeighbours() { return s_neighbours.get(); }

bool s_clearAdaptiveLiftTippingPoints() { return Free(s_tippingPoints); }

bool s_clearAdaptiveLiftNeighbours() { return Free(s_neighbours); }

}  // namespace QEL
