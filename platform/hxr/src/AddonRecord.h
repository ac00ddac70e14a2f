// The add-on's own data on one body: whether its relations are stored, the shell partner
// pairs, and the add-on features. It lives as text in the kernel layer's per-body data so
// that it rolls back with partition marks and travels with a transmitted body. Entities are
// held by their identifiers, which (unlike tags) survive transmit and receive.
#pragma once

#include <string>
#include <vector>

namespace hxr::wired {

struct ShellPairRecord {
  int side = 0;      // identifier of a face on one side of a wall
  int partner = 0;   // identifier of the face across the wall
  double thickness = 0.0;
};

struct FeatureRecord {
  int key = 0;          // the key its kernel group carries (see FeatureGroups)
  int identifier = 0;   // the caller's identifier for it
  bool dormant = false;
  int canonical = 0;    // how many of the leading topologies are canonical
  int canonicalUnders = 0;
  std::vector<int> topols;  // entity identifiers
  std::vector<int> labels;
  std::vector<int> unders;  // entity identifiers
  std::vector<int> underLabels;
};

struct AddonRecord {
  bool relationsStored = false;
  std::vector<ShellPairRecord> shellPairs;
  std::vector<int> shellRemoved;  // faces whose partners were forgotten: no finding them again
  std::vector<FeatureRecord> features;
};

// Reads the body's record (empty when it has none or the body is no body).
AddonRecord LoadAddonRecord(int body);
// Writes it back; false when the body is no body.
bool SaveAddonRecord(int body, const AddonRecord& record);

// Identifiers and tags of a body's faces, edges and vertices (0 when there is none).
int IdentifierOfEntity(int body, int tag);
int EntityOfIdentifier(int body, int identifier);

std::string FormatAddonRecord(const AddonRecord& record);
bool ParseAddonRecord(const std::string& text, AddonRecord& record);

}  // namespace hxr::wired
