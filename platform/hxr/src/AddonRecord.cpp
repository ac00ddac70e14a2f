// Reading and writing the add-on's per-body data.
#include "AddonRecord.h"

#include "BodyStore.h"

#include <iomanip>
#include <sstream>

namespace hxr::wired {

namespace {

void WriteList(std::ostream& out, const std::vector<int>& list) {
  out << ' ' << list.size();
  for (int value : list) out << ' ' << value;
}

bool ReadList(std::istream& in, std::vector<int>& list) {
  size_t n = 0;
  if (!(in >> n) || n > 1000000) return false;
  list.resize(n);
  for (int& value : list)
    if (!(in >> value)) return false;
  return true;
}

}  // namespace

std::string FormatAddonRecord(const AddonRecord& record) {
  std::ostringstream out;
  out << std::setprecision(17);
  out << "hxr 1\nrelations " << (record.relationsStored ? 1 : 0) << '\n';
  for (const ShellPairRecord& pair : record.shellPairs)
    out << "shell " << pair.side << ' ' << pair.partner << ' ' << pair.thickness << '\n';
  for (int face : record.shellRemoved) out << "noshell " << face << '\n';
  for (const FeatureRecord& feature : record.features) {
    out << "feature " << feature.key << ' ' << feature.identifier << ' ' << (feature.dormant ? 1 : 0)
        << ' ' << feature.canonical << ' ' << feature.canonicalUnders;
    WriteList(out, feature.topols);
    WriteList(out, feature.labels);
    WriteList(out, feature.unders);
    WriteList(out, feature.underLabels);
    out << '\n';
  }
  return out.str();
}

bool ParseAddonRecord(const std::string& text, AddonRecord& record) {
  record = AddonRecord{};
  if (text.empty()) return true;
  std::istringstream in(text);
  std::string word;
  int version = 0;
  if (!(in >> word >> version) || word != "hxr" || version != 1) return false;
  while (in >> word) {
    if (word == "relations") {
      int stored = 0;
      if (!(in >> stored)) return false;
      record.relationsStored = stored != 0;
    } else if (word == "shell") {
      ShellPairRecord pair;
      if (!(in >> pair.side >> pair.partner >> pair.thickness)) return false;
      record.shellPairs.push_back(pair);
    } else if (word == "noshell") {
      int face = 0;
      if (!(in >> face)) return false;
      record.shellRemoved.push_back(face);
    } else if (word == "feature") {
      FeatureRecord feature;
      int dormant = 0;
      if (!(in >> feature.key >> feature.identifier >> dormant >> feature.canonical >>
            feature.canonicalUnders))
        return false;
      feature.dormant = dormant != 0;
      if (!ReadList(in, feature.topols) || !ReadList(in, feature.labels) ||
          !ReadList(in, feature.unders) || !ReadList(in, feature.underLabels))
        return false;
      record.features.push_back(std::move(feature));
    } else {
      return false;
    }
  }
  return true;
}

AddonRecord LoadAddonRecord(int body) {
  AddonRecord record;
  const std::string* text = brennik::store::AddonData(body);
  // Data this layer cannot read is treated as none rather than half-read.
  if (text != nullptr && !ParseAddonRecord(*text, record)) record = AddonRecord{};
  return record;
}

bool SaveAddonRecord(int body, const AddonRecord& record) {
  return brennik::store::SetAddonData(body, FormatAddonRecord(record)) == 0;
}

int IdentifierOfEntity(int body, int tag) {
  const brennik::BodyRecord* record = brennik::store::FindBody(body);
  if (record == nullptr) return 0;
  auto it = record->subs.find(tag);
  return it == record->subs.end() ? 0 : it->second.identifier;
}

int EntityOfIdentifier(int body, int identifier) {
  const brennik::BodyRecord* record = brennik::store::FindBody(body);
  if (record == nullptr || identifier == 0) return 0;
  for (const std::vector<int>* list : {&record->faces, &record->edges, &record->vertices})
    for (int tag : *list)
      if (record->subs.at(tag).identifier == identifier) return tag;
  return 0;
}

}  // namespace hxr::wired
