// The auto-constraint manager behind YSK_autoconstrain_manager: the nodes it makes in the
// dimension system and answers for, the desired change, the rules and the finder's options.
#pragma once

#include "Engine.h"
#include "RelationshipFinder.h"
#include "ysk.h"

#include <deque>
#include <vector>

namespace tessik {

// A node the manager made. Its application pointer points here while the manager answers
// for it; once the application adopts it, the application's pointer replaces it.
struct OwnedNode {
    NodeRecord* node = nullptr;
    bool geometry = false;      // construction geometry; else a d- or r-node
    Geom geom;                  // construction geometry, in world coordinates
    int shape = YSK_SHAPE_PLANE;
    int type = ZMR3_DISTANCE;   // bonds
    double value = 0.0;
    bool rigid = true;
    int halfSpace[3] = {0, 0, 0};
    int radiusKind[2] = {ZMR3_MAJOR_RADIUS, ZMR3_MAJOR_RADIUS};
    NodeRecord* ends[3] = {nullptr, nullptr, nullptr};
    void* endInstance[3] = {nullptr, nullptr, nullptr};
    int endEntity[3] = {0, 0, 0};
    int endCount = 0;
    NodeRecord* anglePlane = nullptr;  // an angle measured about this plane's normal
    bool rule = false;                 // a rule's constraint: never handed over
    bool reported = false;
};

class AutoConstrainer {
public:
    AutoConstrainer(ZMR3_dimension_system* system);
    ~AutoConstrainer();

    Journal& GetJournal() { return m_journal; }
    void AttachJournal(YSK_file* file, int options, int digits);
    YSK_frustum_functions& Table() { return m_table; }
    bool HasSystem() const { return m_engine != nullptr; }

    void Initialise();
    void Reset();

    YSK_autocon_result AddBonds(const YSK_dnode_data_s* relationships, int relationshipCount,
                                const YSK_dnode_data_s* bonds, int bondCount);
    YSK_autocon_result GetBonds(void* client);
    void ResetChanges() { m_changes.clear(); }

    enum class Change { None, Translate, PlanarTranslate, Rotate, General };
    YSK_autocon_result AddDesired(Change kind, g_node* node, const Vec3& point, const Vec3& direction);
    YSK_autocon_result Autodefine(YSK_autodefine_rule* rules, int count);

    int SetOption(int relation, int from, int to, int offered);
    YSK_autocon_result Find(double linear, double angular, const YSK_fr_option_s* options, const YSK_pointer_s* from,
                            int fromCount, const YSK_pointer_s* to, int toCount, const YSK_pointer_s* third,
                            int thirdCount, FindCounts& counts);

private:
    struct End {
        NodeRecord* node = nullptr;
        void* instance = nullptr;
        int entity = 0;
    };

    template <class F>
    F Entry(int index) const { return reinterpret_cast<F>(m_table.entries[index]); }

    // Nodes
    OwnedNode* NewOwned();
    NodeRecord* Construction(int type, const Vec3& p, const Vec3& d, bool fixed, NodeRecord* set, double radius = 0.0);
    NodeRecord* CopyOf(const Geom& g);
    OwnedNode* Bond(int type, const End* ends, int count, double value, bool rigid);
    bool Supported(int type, const End* ends, int count, const NodeRecord* anglePlane = nullptr) const;
    Geom Read(const NodeRecord* node) const;
    double Measure(int type, const End* ends, int count) const;
    void Erase(OwnedNode* owned);
    void TakeBack(size_t before);
    static bool HandedOver(const OwnedNode& bond);
    void ReportBond(OwnedNode& bond, void* client);
    void Describe(NodeRecord* node, void* instance, int entity, YSK_dimension_end_s& end) const;
    void Adopt(NodeRecord* node, void* application);

    // Relationships and bonds
    YSK_autocon_result AddRelationship(const YSK_dnode_data_s& record);
    YSK_autocon_result AddBond(const YSK_dnode_data_s& record);
    bool Tie(int type, const End& a, const End& b, int radiusKind = ZMR3_MAJOR_RADIUS);
    bool OnPlane(const End& x, const End& plane);
    bool IsSet(const NodeRecord* node) const;
    bool EndsOf(const YSK_dnode_data_s& record, int count, End* ends) const;

    // Desired change and rules
    Vec3 ReferencePoint(NodeRecord* node) const;
    bool AnimationDistance(NodeRecord* moved, const Vec3& point, const Vec3& normal);
    bool Trial(const std::vector<OwnedNode*>& made);
    YSK_autodefine_rule_return ApplyRule(NodeRecord* node, int code, const Vec3& direction1, const Vec3& direction2);
    bool Held(const NodeRecord* node) const;

    ZMR3_dimension_system* m_system;
    Engine* m_engine;
    tessik::Journal m_journal;
    YSK_frustum_functions m_table{};
    std::deque<OwnedNode> m_owned;
    std::vector<OwnedNode*> m_changes;  // made since the last reset of changes, in order

    Change m_change = Change::None;
    NodeRecord* m_moved = nullptr;
    Vec3 m_point = Vec3::Zero();
    Vec3 m_direction = Vec3::Zero();

    bool m_offered[YSK_OPTION_RELATION_COUNT][YSK_OPTION_GEOM_COUNT][YSK_OPTION_GEOM_COUNT];
};

}  // namespace tessik
