#pragma once
// A persistent rule on a reference (keep a radius, do not move, keep an angle ...): one the
// auto-constraint manager applied during a configure, or one the application made itself. A
// rule in state Relax tells the next configure to leave it out.

#include "core/maths/Vec.h"
#include "core/objects/Object.h"

namespace QEL {

class ConfigureRule;

class QEL_API Rule : public SavedObject<Rule, SerializableObject> {
public:
    explicit Rule(Interaction* interaction, Reference* reference = nullptr,
                  RuleType type = RuleTypeDoNotMove, RuleState state = RuleStateApply,
                  const Vec& direction = Vec(), bool found = false,
                  bool applicationDefined = false);
    ~Rule() override;

    // The rule the reference already holds with this type and a coinciding direction, unchanged;
    // otherwise a new one, registered and made a dependent of the reference.
    static Rule* Create(Interaction* interaction, Reference* reference, RuleType type,
                        RuleState state, const Vec& direction, bool found, bool applicationDefined);
    // A new rule on the interaction's reference of the configure rule's key, in state Apply when
    // the auto-constraint manager applied it and Relax otherwise; null, making nothing, when no
    // reference can be had on the key.
    static Rule* CreateFromConfigureRule(Interaction* interaction, const ConfigureRule& rule);
    // Only while reading; null when the element cannot be read, and nothing is left behind.
    static Rule* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    static constexpr const char* s_className = "Rule";

    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    // The rule outlives its reference: it keeps its fields with no reference.
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;

    RuleType GetRuleType() const { return m_ruleType; }
    Reference* GetReference() const { return m_reference; }
    const Vec& GetDirection() const { return m_direction; }
    bool GetApplicationDefined() const { return m_applicationDefined; }
    RuleState GetState() const { return m_state; }
    // Recorded for rollback even when the state does not change.
    void SetState(RuleState state);
    bool GetFoundInLastConfigure() const { return m_found; }
    // Recorded for rollback only when the flag changes.
    void SetFoundInLastConfigure(bool found);
    bool GetAppliedInLastConfigure() const { return m_applied; }
    // Not recorded for rollback.
    void SetAppliedInLastConfigure(bool applied) { m_applied = applied; }

private:
    // Every field.
    void CopyState(const Rule& from);
    Rule* NewSnapshot() const
    {
        return new Rule(nullptr, m_reference, m_ruleType, m_state, m_direction, m_found,
                        m_applicationDefined);
    }

    RuleType m_ruleType;
    RuleState m_state;
    Reference* m_reference;
    Vec m_direction;
    bool m_found;
    bool m_applied = false;
    bool m_applicationDefined;

    friend class SavedState<Rule, SerializableObject>;
};

}  // namespace QEL
