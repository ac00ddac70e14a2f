// Shell partners of faces: recorded by hollowing, found by geometry for walls made otherwise,
// and forgotten on request.
#include "AddonRecord.h"
#include "BodyStore.h"
#include "BodyWiring.h"
#include "ShellData.h"
#include "engine/ShellPartners.h"
#include "hxr.h"

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>

#include <algorithm>

using hxr::wired::AddonRecord;
using hxr::wired::RunCall;

namespace {

// The kind a partner query answers for a face with partners across a wall.
constexpr int kShellKindWall = 50220;

// A wall is thin when it is at most this share of the body's smallest extent.
constexpr double kThinWallShare = 0.25;

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// The face's body, or 0 when the tag is no face of a body.
int BodyOfFace(int face) {
  const brennik::BodyRecord* body = brennik::BodyOf(face);
  if (body == nullptr) return 0;
  auto it = body->subs.find(face);
  if (it == body->subs.end() || it->second.shape.ShapeType() != TopAbs_FACE) return 0;
  return body->tag;
}

double ThinWallLimit(const TopoDS_Shape& body) {
  Bnd_Box box;
  BRepBndLib::Add(body, box);
  if (box.IsVoid()) return 0.0;
  double x0, y0, z0, x1, y1, z1;
  box.Get(x0, y0, z0, x1, y1, z1);
  return kThinWallShare * std::min({x1 - x0, y1 - y0, z1 - z0});
}

// The recorded partners of a face (identifiers), with the wall's thickness.
std::vector<int> RecordedPartners(const AddonRecord& record, int faceId, double& thickness) {
  std::vector<int> partners;
  for (const auto& pair : record.shellPairs) {
    int other = pair.side == faceId ? pair.partner : pair.partner == faceId ? pair.side : 0;
    if (other != 0 && !Contains(partners, other)) {
      partners.push_back(other);
      thickness = pair.thickness;
    }
  }
  return partners;
}

// The partners of a face as tags; false when it has none.
bool PartnersOf(int body, int face, std::vector<int>& partners, double& thickness) {
  partners.clear();
  thickness = 0.0;
  const AddonRecord record = hxr::wired::LoadAddonRecord(body);
  const int faceId = hxr::wired::IdentifierOfEntity(body, face);
  if (Contains(record.shellRemoved, faceId)) return false;
  for (int id : RecordedPartners(record, faceId, thickness))
    if (int tag = hxr::wired::EntityOfIdentifier(body, id)) partners.push_back(tag);
  if (!partners.empty()) return true;
  thickness = 0.0;
  const TopoDS_Shape shape = brennik::store::ShapeOf(body);
  std::vector<TopoDS_Shape> found;
  if (!hxr::engine::FindShellPartners(shape, brennik::store::ShapeOf(face), ThinWallLimit(shape),
                                      found, thickness))
    return false;
  for (const TopoDS_Shape& partner : found)
    if (int tag = brennik::store::TagOf(body, partner)) partners.push_back(tag);
  return !partners.empty();
}

}  // namespace

namespace hxr::wired {

void RecordShellPairs(int body, const std::vector<ShellPair>& pairs) {
  AddonRecord record = LoadAddonRecord(body);
  for (const ShellPair& pair : pairs) {
    ShellPairRecord stored{IdentifierOfEntity(body, pair.side), IdentifierOfEntity(body, pair.partner),
                           pair.thickness};
    if (stored.side == 0 || stored.partner == 0) continue;
    const bool known = std::any_of(record.shellPairs.begin(), record.shellPairs.end(), [&](const auto& p) {
      return p.side == stored.side && p.partner == stored.partner;
    });
    if (!known) record.shellPairs.push_back(stored);
    record.shellRemoved.erase(std::remove(record.shellRemoved.begin(), record.shellRemoved.end(), stored.side),
                              record.shellRemoved.end());
    record.shellRemoved.erase(std::remove(record.shellRemoved.begin(), record.shellRemoved.end(), stored.partner),
                              record.shellRemoved.end());
  }
  SaveAddonRecord(body, record);
}

}  // namespace hxr::wired

int HXR_FACE_remove_shell_relns(int face, const HXR_FACE_remove_shell_relns_o_s* options) {
  return RunCall(__func__, [&]() -> int {
    if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
    const int body = BodyOfFace(face);
    if (body == 0) return HXR_ERROR_bad_argument;
    AddonRecord record = hxr::wired::LoadAddonRecord(body);
    const int faceId = hxr::wired::IdentifierOfEntity(body, face);
    auto& pairs = record.shellPairs;
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [&](const auto& p) { return p.side == faceId || p.partner == faceId; }),
                pairs.end());
    if (!Contains(record.shellRemoved, faceId)) record.shellRemoved.push_back(faceId);
    return hxr::wired::SaveAddonRecord(body, record) ? HXR_ERROR_none : HXR_ERROR_bad_argument;
  });
}

int HXR_FACE_find_shell_partners(int face, int* kind, int* n_partners, int** partners,
                                 double* thickness) {
  // The kind keeps the caller's preset unless partners are found.
  if (n_partners != nullptr) *n_partners = 0;
  if (partners != nullptr) *partners = nullptr;
  if (thickness != nullptr) *thickness = 0.0;
  return RunCall(__func__, [&]() -> int {
    if (kind == nullptr || n_partners == nullptr || partners == nullptr || thickness == nullptr)
      return HXR_ERROR_bad_argument;
    const int body = BodyOfFace(face);
    if (body == 0) return HXR_ERROR_bad_argument;
    std::vector<int> found;
    double wall = 0.0;
    if (!PartnersOf(body, face, found, wall)) {
      *kind = HXR_SHELL_KIND_none;
      return HXR_ERROR_none;
    }
    *kind = kShellKindWall;
    *n_partners = static_cast<int>(found.size());
    *partners = hxr::wired::HandOut(found);
    *thickness = wall;
    return HXR_ERROR_none;
  });
}

int HXR_FACE_find_shell_sides(int face, int* n_same_side, int** same_side, int* n_opposite_side,
                              int** opposite_side, double* thickness) {
  if (n_same_side != nullptr) *n_same_side = 0;
  if (same_side != nullptr) *same_side = nullptr;
  if (n_opposite_side != nullptr) *n_opposite_side = 0;
  if (opposite_side != nullptr) *opposite_side = nullptr;
  if (thickness != nullptr) *thickness = 0.0;
  return RunCall(__func__, [&]() -> int {
    if (n_same_side == nullptr || same_side == nullptr || n_opposite_side == nullptr ||
        opposite_side == nullptr || thickness == nullptr)
      return HXR_ERROR_bad_argument;
    const int body = BodyOfFace(face);
    if (body == 0) return HXR_ERROR_bad_argument;
    std::vector<int> opposite;
    double wall = 0.0;
    if (!PartnersOf(body, face, opposite, wall)) return HXR_ERROR_none;
    // The own side: every face that one of the partners faces, the face itself among them.
    std::vector<int> same{face};
    for (int partner : opposite) {
      std::vector<int> across;
      double ignored = 0.0;
      if (!PartnersOf(body, partner, across, ignored)) continue;
      for (int tag : across)
        if (!Contains(same, tag)) same.push_back(tag);
    }
    *n_same_side = static_cast<int>(same.size());
    *same_side = hxr::wired::HandOut(same);
    *n_opposite_side = static_cast<int>(opposite.size());
    *opposite_side = hxr::wired::HandOut(opposite);
    *thickness = wall;
    return HXR_ERROR_none;
  });
}
