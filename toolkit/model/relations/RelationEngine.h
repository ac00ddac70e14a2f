#pragma once
// What relations and references need of the layers above the model, as interfaces those layers
// install while the library loads: the solver classifies constrainable geometry and measures a
// relation, the edit configuration keeps the found data a relation records. While one is not
// installed (the model alone) its calls give the answer for "cannot".

#include "core/support/InstalledSeam.h"

namespace QEL {

class FoundData;
class Relation;

class RelationSolving {
public:
    virtual ~RelationSolving() = default;
    virtual bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass,
                                                      int& geometry) = 0;
    virtual bool MeasureRelationInTemporarySolver(Relation* relation, double& value,
                                                  bool& measured) = 0;
};

class FoundDataKeeping {
public:
    virtual ~FoundDataKeeping() = default;
    virtual void ClearFoundDataObject(FoundData* foundData) = 0;
};

// Each is installed once by its layer; always true, so that the installation can initialise a
// static flag. The installed object lives as long as the process.
inline bool InstallRelationSolving(RelationSolving* solving)
{
    return InstalledSeam<RelationSolving>::Install(solving);
}
inline bool InstallFoundDataKeeping(FoundDataKeeping* keeping)
{
    return InstalledSeam<FoundDataKeeping>::Install(keeping);
}

// The constrainable geometry of a kernel entity: a vertex's point, an edge's line or circle, a
// face's plane, cylinder, cone, sphere or torus, or a bare point, line or plane; false with
// class 0 when there is none.
bool FindConstrainableGeomClassFromEntity(int entity, int& geometryClass, int& geometry);
// Measures the relation's present value in a temporary solver made for this one measurement:
// false, 0.0 and not measured when it cannot be measured.
bool MeasureRelationInTemporarySolver(Relation* relation, double& value, bool& measured);
// Drops the object a found data records, recorded for rollback; nothing for null or when it
// records none.
void ClearFoundDataObject(FoundData* foundData);

}  // namespace QEL
