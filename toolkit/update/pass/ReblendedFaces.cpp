#include "update/pass/ReblendedFaces.h"

namespace QEL {

namespace {

std::vector<int>* s_reblendedFaces = nullptr;

}  // namespace

std::vector<int>* ReblendedFaceList()
{
    if (!s_reblendedFaces)
        s_reblendedFaces = new std::vector<int>();
    return s_reblendedFaces;
}

std::vector<int>* PeekReblendedFaces() { return s_reblendedFaces; }

void FreeReblendedFaces()
{
    delete s_reblendedFaces;
    s_reblendedFaces = nullptr;
}

}  // namespace QEL
