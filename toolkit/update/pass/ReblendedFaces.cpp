#include "update/pass/ReblendedFaces.h"

namespace QEL {

namespace {

std::vector<int>* s_reblendedFaces = nullptr;

}  // namespace

std::vector<int>* GetReblendedFaces()
{
    if (!s_reblendedFaces)
        s_reblendedFaces = new std::vector<int>();
    return s_reblendedFaces;
}

void ClearReblendedFaces()
{
    delete s_reblendedFaces;
    s_reblendedFaces = nullptr;
}

}  // namespace QEL
