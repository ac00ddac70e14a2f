// The model's calls into the solver and the edit configuration, through what they installed.
#include "model/relations/RelationEngine.h"

namespace QEL {

namespace {

// Constant-initialised, so an installation from any other file's static initialisation
// finds them ready.
RelationSolving* s_relationSolving = nullptr;
FoundDataKeeping* s_foundDataKeeping = nullptr;

}  // namespace

bool InstallRelationSolving(RelationSolving* solving)
{
    s_relationSolving = solving;
    return true;
}

bool InstallFoundDataKeeping(FoundDataKeeping* keeping)
{
    s_foundDataKeeping = keeping;
    return true;
}

bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass, int& geometry)
{
    if (!s_relationSolving) {
        geometryClass = 0;
        return false;
    }
    return s_relationSolving->FindConstrainableGeomClassFromEntity(entity, geometryClass, geometry);
}

bool MeasureRelationInTemporarySolver(Relation* relation, double& value, bool& measured)
{
    if (!s_relationSolving) {
        value = 0.0;
        measured = false;
        return false;
    }
    return s_relationSolving->MeasureRelationInTemporarySolver(relation, value, measured);
}

void ClearFoundDataObject(FoundData* foundData)
{
    if (s_foundDataKeeping)
        s_foundDataKeeping->ClearFoundDataObject(foundData);
}

}  // namespace QEL
