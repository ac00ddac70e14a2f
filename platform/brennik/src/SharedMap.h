// A map shared between copies until one of them is changed (copy on write). Partition marks and
// body records copy their states whole; with their maps held this way a copy costs one pointer
// per map, and a change copies only the maps it touches, once, however many copies were made.
//
// Reading through a const object never copies. Every non-const member first makes the map its
// own, so an iterator or reference obtained through a non-const object always points into a map
// that no other copy sees. An iterator handed back to erase after the map was copied for another
// owner is found again by its key. Every non-const member also counts as a change of state
// (NoteStateChange), so that the tag index answers nothing it found before a write.
#pragma once

#include "TagIndex.h"

#include <memory>
#include <utility>

namespace brennik {

template <class Map>
class SharedMap {
 public:
  using key_type = typename Map::key_type;
  using mapped_type = typename Map::mapped_type;
  using value_type = typename Map::value_type;
  using iterator = typename Map::iterator;
  using const_iterator = typename Map::const_iterator;

  SharedMap() : m_map(std::make_shared<Map>()) {}
  // A moved-from map stays a valid, shared one: copies never leave a null behind.
  SharedMap(const SharedMap&) = default;
  SharedMap(SharedMap&& other) noexcept : m_map(other.m_map) {}
  SharedMap& operator=(const SharedMap& other) {
    NoteStateChange();
    m_map = other.m_map;
    return *this;
  }
  SharedMap& operator=(SharedMap&& other) noexcept {
    NoteStateChange();
    m_map = other.m_map;
    return *this;
  }

  // Reading.
  const Map& View() const { return *m_map; }
  operator const Map&() const { return *m_map; }
  const mapped_type& at(const key_type& key) const { return m_map->at(key); }
  const_iterator find(const key_type& key) const { return m_map->find(key); }
  const_iterator lower_bound(const key_type& key) const { return m_map->lower_bound(key); }
  const_iterator begin() const { return m_map->begin(); }
  const_iterator end() const { return m_map->end(); }
  std::size_t count(const key_type& key) const { return m_map->count(key); }
  std::size_t size() const { return m_map->size(); }
  bool empty() const { return m_map->empty(); }

  // Writing: the map becomes this object's own first.
  Map& Own() {
    NoteStateChange();
    if (m_map.use_count() > 1) m_map = std::make_shared<Map>(*m_map);
    return *m_map;
  }
  mapped_type& operator[](const key_type& key) { return Own()[key]; }
  mapped_type& at(const key_type& key) { return Own().at(key); }
  iterator find(const key_type& key) { return Own().find(key); }
  iterator lower_bound(const key_type& key) { return Own().lower_bound(key); }
  iterator begin() { return Own().begin(); }
  iterator end() { return Own().end(); }
  template <class... Args>
  auto emplace(Args&&... args) {
    return Own().emplace(std::forward<Args>(args)...);
  }
  template <class Value>
  auto insert(Value&& value) {
    return Own().insert(std::forward<Value>(value));
  }
  std::size_t erase(const key_type& key) { return Own().erase(key); }
  iterator erase(const_iterator at) {
    NoteStateChange();
    if (m_map.use_count() == 1) return m_map->erase(at);
    const key_type key = at->first;
    Map& own = Own();
    return own.erase(own.find(key));
  }
  iterator erase(const_iterator first, const_iterator last) {
    NoteStateChange();
    if (m_map.use_count() == 1) return m_map->erase(first, last);
    // Ranges are erased from ordered maps only: found again by their keys in the copy.
    const bool toEnd = last == m_map->end();
    const key_type from = first == m_map->end() ? key_type() : first->first;
    const key_type to = toEnd ? key_type() : last->first;
    const bool none = first == m_map->end();
    Map& own = Own();
    if (none) return own.end();
    return own.erase(own.lower_bound(from), toEnd ? own.end() : own.lower_bound(to));
  }
  void clear() {
    NoteStateChange();
    m_map = std::make_shared<Map>();
  }

 private:
  std::shared_ptr<Map> m_map;
};

}  // namespace brennik
