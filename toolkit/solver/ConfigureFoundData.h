#pragma once
// What a configure found around the moved faces, as the Solver takes it: one record per
// relation, shell cluster, face pattern, section cluster, virtual vertex, reblend, topological
// set, tipping point or feature. The configure fills the array; Solver::AddConfigureFoundData
// turns each record into solver objects once. Records are plain values, copied deeply.

#include "model/operations/ReblendChain.h"
#include "model/operations/ShellClusterData.h"
#include "solver/TippingPointData.h"

#include <map>
#include <set>
#include <vector>

namespace QEL {

class Instance;
class Interaction;
class Object;
class Reference;
class Section;

// A section entity as the configure met it: the Section, the Instance it cuts and the
// Reference on the section entity. Three pointers, so that none is narrowed on a 64-bit build.
struct SectionClusterData {
    Section* m_section = nullptr;
    Instance* m_cutInstance = nullptr;
    Reference* m_reference = nullptr;
};

enum ConfigureFoundDataKind {
    ConfigureFoundDataFeature = 0,
    ConfigureFoundDataRelation = 1,
    ConfigureFoundDataShellCluster = 2,
    ConfigureFoundDataFacePattern = 3,
    ConfigureFoundDataSectionCluster = 4,
    ConfigureFoundDataVirtualVertex = 5,
    ConfigureFoundDataReblend = 6,
    ConfigureFoundDataTopological = 7,
    ConfigureFoundDataTippingPoint = 8
};

class ConfigureFoundData {
public:
    // Kinds 0 (a Feature), 1, 3 and 5: the object; kind 0 with the add-on switch on carries the
    // add-on feature's tag instead (see MakeAddOnFeature).
    ConfigureFoundData(int kind, Object* object, bool applied, int level);
    ConfigureFoundData(int kind, const ShellClusterData& cluster, bool relaxed, bool applied,
                       int level);
    ConfigureFoundData(int kind, const SectionClusterData& section, bool applied, int level);
    ConfigureFoundData(int kind, const std::vector<int>& faces, bool applied, int level);
    ConfigureFoundData(int kind, const ReblendData& reblend, bool applied, int level);
    ConfigureFoundData(int kind, const TippingPointData& tippingPoint, bool applied, int level);
    static ConfigureFoundData MakeAddOnFeature(int featureTag, bool applied, int level);

    int GetKind() const { return m_kind; }
    Object* GetObject() const { return m_object; }
    const ShellClusterData& GetCluster() const { return m_cluster; }
    ShellClusterData& GetCluster() { return m_cluster; }
    const SectionClusterData& GetSectionKey() const { return m_section; }
    const std::vector<int>& GetFaces() const { return m_faces; }
    std::vector<int>& GetFaces() { return m_faces; }
    int GetFeatureTag() const { return m_featureTag; }
    // By reference: the Solver keeps the bond and geometry it makes in the record.
    ReblendData& GetReblendData() { return m_reblend; }
    TippingPointData& GetTippingPointData() { return m_tippingPoint; }
    void SetApplied(bool applied) { m_applied = applied; }
    bool GetApplied() const { return m_applied; }
    int GetLevel() const { return m_level; }
    void SetRelaxed(bool relaxed) { m_relaxed = relaxed; }
    bool IsRelaxed() const { return m_relaxed; }

private:
    ConfigureFoundData(int kind, bool applied, int level)
        : m_kind(kind), m_applied(applied), m_level(level)
    {
    }

    int m_kind;
    Object* m_object = nullptr;
    ShellClusterData m_cluster;
    SectionClusterData m_section;
    std::vector<int> m_faces;
    ReblendData m_reblend;
    TippingPointData m_tippingPoint;
    bool m_applied;
    int m_level;
    bool m_relaxed = false;
    int m_featureTag = 0;
};

class ConfigureFoundDataArray {
public:
    explicit ConfigureFoundDataArray(Interaction* interaction) : m_interaction(interaction) {}

    // The record's index, or -1 for a face pattern already recorded (at any level).
    int Add(const ConfigureFoundData& record);
    // The shell record that maps the face, null when none does; only relaxed shell records
    // map their faces.
    ConfigureFoundData* FindShellRecordOfFace(int face);

    std::vector<ConfigureFoundData>& GetRecords() { return m_records; }
    const std::vector<ConfigureFoundData>& GetRecords() const { return m_records; }
    int GetCount() const { return static_cast<int>(m_records.size()); }
    Interaction* GetInteraction() const { return m_interaction; }

private:
    std::vector<ConfigureFoundData> m_records;
    Interaction* m_interaction;
    std::map<int, int> m_shellFaces;
    std::set<Object*> m_patterns;
};

}  // namespace QEL
