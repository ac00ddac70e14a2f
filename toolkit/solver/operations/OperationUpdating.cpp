#include "solver/operations/OperationUpdating.h"

namespace QEL {

namespace {

OperationUpdating* s_operationUpdating = nullptr;

}  // namespace

bool InstallOperationUpdating(OperationUpdating* updating)
{
    s_operationUpdating = updating;
    return true;
}

OperationUpdating* GetOperationUpdating() { return s_operationUpdating; }

}  // namespace QEL
