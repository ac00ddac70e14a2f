#pragma once
// What the model objects need of the constraint solver and the edit configuration above them,
// without seeing their classes. Each function is defined beside the class it concerns.

namespace QEL {

class Relation;
class FoundData;

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
