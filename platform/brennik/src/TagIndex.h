// Where each tag was last found in a partition's state, indexed by the tag itself: tags are
// small increasing integers, so an array finds a face, its body and its class in one step
// where the state's maps take several ordered and hashed searches. An entry holds only while
// no partition state has changed since it was made; every change counts itself (see
// NoteStateChange), which makes every older entry stale at once.
#pragma once

#include <cstdint>
#include <vector>

namespace brennik {

struct BodyRecord;
struct GeomData;
struct Located;
struct Partition;
struct SubEntity;
enum class Kind;

// Counts a change to a partition's state (its maps, its whole state or the partitions
// themselves). Called before the change and by every writing access, so that nothing found
// before a change is answered after it.
void NoteStateChange();

class TagIndex {
 public:
  // Fills `where` as the last search of the tag found it; false when that search is stale
  // or was never made.
  bool Find(int tag, Located* where) const;
  // Keeps what a search of the state found for the tag, with its class and record: only what
  // lives in a partition's state (bodies and their entities, free geometry, transforms, groups
  // and attributes), whose place nothing but a counted change can move.
  void Keep(const Located& where);

 private:
  struct Entry {
    const BodyRecord* body = nullptr;
    Partition* partition = nullptr;
    const void* record = nullptr;  // the Located's sub or geom, as its kind says
    std::uint32_t stamp = 0;
    std::int16_t cls = 0;
    std::uint8_t kind = 0;  // Kind::None: nothing kept
  };
  std::vector<Entry> m_entries;
  // The high half of the change count that the entries' stamps are the low half of.
  std::uint32_t m_epoch = 0;
};

}  // namespace brennik
