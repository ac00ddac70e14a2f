// Operations on the entity records shared by the kernel calls: argument resolution, deleting
// owners with their attributes and group memberships, attribute callbacks, geometry access.
#pragma once

#include "KernelCall.h"

#include <vector>

namespace brennik {

// Resolves a tag that must be live; BQ_ERROR_bad_tag otherwise.
int Resolve(int tag, Located* where);
// Resolves a tag that must be of the class (or a subclass of it).
int ResolveClass(int tag, int cls, Located* where);
bool IsSubclass(int cls, int super);

// The geometry record behind a geometry tag (body or free), null otherwise.
const GeomData* GeomOf(const Located& where);
// The record of a located face, edge or vertex (Kind::Sub).
const SubEntity& SubEntityOf(const Located& where);

// The part (body) an entity belongs to: a body is its own part; topology, body geometry,
// groups and attributes through their owners; attached free geometry through its part.
int PartOf(const Located& where);

// The groups of a part in tag order. One pass over the partition's groups serves every part
// until the state changes (the list travels with the state and is dropped by each change), so
// asking part after part does not walk every group of the partition each time.
std::vector<int> GroupsOfPartInState(const PartitionState& st, int part);

// Fires the callback of the attribute's definition when its flag is on.
enum class AttribEvent { Split, Merge, Delete, Copy };
void FireAttribCallback(AttribEvent event, int attrib, int entity, int otherAttrib, int otherEntity);

// Deletes the attributes of an owner (firing delete callbacks when asked).
void DeleteAttributesOf(Partition& partition, int owner, bool fireCallbacks);
// Takes an entity out of every group of its partition.
void RemoveFromGroups(PartitionState& state, int entity);
// Deletes a group with its attributes.
void DeleteGroup(Partition& partition, int group);
// Deletes a body with its attributes, groups and attached geometry.
void DeleteBody(Partition& partition, int body);
// What belongs to a body in its partition and goes wherever the body goes: its attached
// geometry, its groups, and the owners whose attributes travel (the body, its faces, edges and
// vertices, its attached geometry and its groups).
struct BodyHoldings {
  std::vector<int> geoms, groups, owners;
};
BodyHoldings HoldingsOf(const PartitionState& state, const BodyRecord& body);
// Moves a body with its holdings from one partition state to another (nothing is created or
// deleted, so no callback fires); with no target, the body simply leaves the state.
void MoveBody(PartitionState& from, PartitionState* to, int body);
// Copies the attributes of one owner onto another in the same partition, firing copy (or
// split) callbacks; pointer fields are copied too.
void CopyAttributes(Partition& partition, int from, int to, AttribEvent event);

// Standard geometry tests.
bool Coincident(const GeomData& a, const GeomData& b, double tolerance);

}  // namespace brennik
