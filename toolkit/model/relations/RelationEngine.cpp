// The model's calls into the solver and the edit configuration, through what they installed.
#include "model/relations/RelationEngine.h"

namespace QEL {

namespace {

RelationSolving* GetRelationSolving() { return InstalledSeam<RelationSolving>::Get(); }
FoundDataKeeping* GetFoundDataKeeping() { return InstalledSeam<FoundDataKeeping>::Get(); }

}  // namespace

bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass, int& geometry)
{
    if (!GetRelationSolving()) {
        geometryClass = 0;
        return false;
    }
    return GetRelationSolving()->FindConstrainableGeomClassFromEntity(entity, geometryClass,
                                                                      geometry);
}

bool MeasureRelationInTemporarySolver(Relation* relation, double& value, bool& measured)
{
    if (!GetRelationSolving()) {
        value = 0.0;
        measured = false;
        return false;
    }
    return GetRelationSolving()->MeasureRelationInTemporarySolver(relation, value, measured);
}

void ClearFoundDataObject(FoundData* foundData)
{
    if (FoundDataKeeping* keeping = GetFoundDataKeeping())
        keeping->ClearFoundDataObject(foundData);
}

}  // namespace QEL
