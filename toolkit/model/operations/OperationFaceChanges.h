#pragma once
// What a solver operation itself asks of a body's faces when its solution is applied (a
// blend-radius edit re-blends its faces, an offset edit offsets its faces, any other edit
// takes its seeds' solved changes first). The operations are the solver's, so the solver
// installs this while the library loads; the face-change builder reaches it only through here,
// and without it adds the solved changes alone.

#include "core/support/InstalledSeam.h"
#include "model/operations/FaceChangeBuilder.h"

namespace QEL {

class SolverOperation;

class OperationFaceChanges {
public:
    virtual ~OperationFaceChanges() = default;
    // Adds the operation's own changes on the body's faces to the builder.
    virtual void AddOperationChanges(FaceChangeBuilder& builder, SolverOperation* operation,
                                     int body, const SolvedFaceChangeMap& changes) = 0;
};

// Installed by the solver while the library loads; always true.
inline bool InstallOperationFaceChanges(OperationFaceChanges* changes)
{
    return InstalledSeam<OperationFaceChanges>::Install(changes);
}

}  // namespace QEL
