// The dense tag index and the process's count of partition-state changes.
#include "TagIndex.h"

#include "Session.h"

#include <algorithm>
#include <limits>

namespace brennik {

namespace {

// Starts at one: a zeroed entry never matches a count that has been made.
std::uint64_t s_stateChanges = 1;

bool Kept(Kind kind) {
  switch (kind) {
    case Kind::Body:
    case Kind::Sub:
    case Kind::Fin:
    case Kind::BodyGeom:
    case Kind::FreeGeom:
    case Kind::Transf:
    case Kind::Group:
    case Kind::Attrib:
      return true;
    default:
      return false;
  }
}

}  // namespace

void NoteStateChange() { ++s_stateChanges; }

bool TagIndex::Find(int tag, Located* where) const {
  if (tag <= 0 || static_cast<std::size_t>(tag) >= m_entries.size()) return false;
  if (static_cast<std::uint32_t>(s_stateChanges >> 32) != m_epoch) return false;
  const Entry& entry = m_entries[static_cast<std::size_t>(tag)];
  if (entry.kind == static_cast<std::uint8_t>(Kind::None) ||
      entry.stamp != static_cast<std::uint32_t>(s_stateChanges))
    return false;
  where->kind = static_cast<Kind>(entry.kind);
  where->partition = entry.partition;
  where->body = entry.body;
  where->tag = tag;
  where->cls = entry.cls;
  if (where->kind == Kind::Sub)
    where->sub = static_cast<const SubEntity*>(entry.record);
  else if (where->kind == Kind::BodyGeom || where->kind == Kind::FreeGeom)
    where->geom = static_cast<const GeomData*>(entry.record);
  return true;
}

void TagIndex::Keep(const Located& where) {
  const int cls = where.cls;
  if (where.tag <= 0 || !Kept(where.kind) || cls <= 0 ||
      cls > std::numeric_limits<std::int16_t>::max())
    return;
  const auto epoch = static_cast<std::uint32_t>(s_stateChanges >> 32);
  if (epoch != m_epoch) {
    // Stamps of another epoch could match by their low half alone.
    m_entries.clear();
    m_epoch = epoch;
  }
  const auto at = static_cast<std::size_t>(where.tag);
  if (at >= m_entries.size()) m_entries.resize(std::max(at + 1, m_entries.size() * 2));
  Entry& entry = m_entries[at];
  entry.body = where.body;
  entry.partition = where.partition;
  entry.record =
      where.sub ? static_cast<const void*>(where.sub) : static_cast<const void*>(where.geom);
  entry.stamp = static_cast<std::uint32_t>(s_stateChanges);
  entry.cls = static_cast<std::int16_t>(cls);
  entry.kind = static_cast<std::uint8_t>(where.kind);
}

}  // namespace brennik
