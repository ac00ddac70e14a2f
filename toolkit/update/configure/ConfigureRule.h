#pragma once
// The rules of one configure (keep a radius, do not move, keep an angle ...), each on an
// (entity, Instance) key, and what the configure knows of each entity the relation finder
// reached. The rule array is what the auto-constraint wrapper's autodefine reads: each rule
// becomes one autodefine record whose answer the manager writes straight into the rule.

#include "core/enums/Enums.h"
#include "core/maths/Vec.h"
#include "update/autoconstraint/YSKManager.h"

#include <map>
#include <utility>
#include <vector>

namespace QEL {

class Geometry;
class Instance;
class Solver;
class VirtualVertex;

using ConfigureKey = std::pair<int, Instance*>;

class ConfigureRule {
public:
    ConfigureRule(const ConfigureKey& key, RuleType type, const Vec& direction);

    RuleType GetType() const { return m_type; }
    const ConfigureKey& GetKey() const { return m_key; }
    const Vec& GetDirection() const { return m_direction; }
    YSK_autodefine_rule_return GetRuleReturnValue() const { return m_answer; }
    // The manager applied the rule, or found it held already.
    bool IsApplied() const
    {
        return m_answer == YSK_RULE_APPLIED || m_answer == YSK_RULE_ALREADY_HELD;
    }
    // A rule the application made counts only once the walk reached its key; a blend marker
    // is never the manager's, and a rule goes to the manager once per configure.
    bool IsToApplyInYSK() const;
    void SetPassedToYSK(bool passed) { m_passed = passed; }
    bool GetPassedToYSK() const { return m_passed; }
    void SetFromApplication(bool fromApplication) { m_fromApplication = fromApplication; }
    bool IsFromApplication() const { return m_fromApplication; }
    void SetFound(bool found) { m_found = found; }
    bool GetFound() const { return m_found; }
    // Fills the manager's record; false when the key has no geometry in the dimension system
    // or the type has no rule code.
    bool ToYSKRule(Solver* solver, YSK_autodefine_rule* record);

private:
    RuleType m_type;
    ConfigureKey m_key;
    Geometry* m_geometry = nullptr;
    Vec m_direction;
    bool m_passed = false;
    bool m_fromApplication = false;
    bool m_found = true;
    int m_code = 0;
    YSK_autodefine_rule_return m_answer = YSK_RULE_NO_ANSWER;
};

// By type, then entity, then Instance (null first, then by tag); the direction is no part of
// the order, so one key holds at most one rule of each type.
struct ConfigureRuleLess {
    bool operator()(const ConfigureRule& a, const ConfigureRule& b) const;
};

class ConfigureRuleArray : public YSKRuleSource {
public:
    // True with the new rule's index; false with the index of the rule of that type and key
    // already there, which keeps all its fields.
    bool AddRule(const ConfigureRule& rule, int& index);
    int GetNumRulesToApplyInYSK() const;
    std::vector<ConfigureRule>& GetRuleVector() { return m_rules; }
    // Null for an index out of range.
    ConfigureRule* GetRule(int index);

    int GetRuleCount() const override { return static_cast<int>(m_rules.size()); }
    bool IsToApplyInYSK(int index) const override;
    void MarkAppliedInYSK(int index) override;
    bool ToYSK(int index, Solver* solver, YSK_autodefine_rule& record) override;

private:
    std::vector<ConfigureRule> m_rules;
    std::map<ConfigureRule, int, ConfigureRuleLess> m_index;
};

// One entity the relation finder reached at a configure level, with its lock state.
struct FoundEntityData {
    enum Kind { Other = 0, Face = 1, Vertex = 2, VirtualPoint = 3 };

    int m_kind = Other;
    int m_entity = 0;
    VirtualVertex* m_virtualVertex = nullptr;
    bool m_lockable = false;
    std::vector<int> m_tippingIndices;
    int m_ruleIndex = -1;
    bool m_ruleApplied = false;
    bool m_removable = false;

    bool IsRemovableUnlocked() const { return !m_ruleApplied && m_removable; }
};

}  // namespace QEL
