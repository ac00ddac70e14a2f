// Configure rules and their array: one rule per type and key, converted into the
// auto-constraint manager's autodefine records.
#include "update/configure/ConfigureRule.h"

#include "solver/Solver.h"
#include "solver/SolverNodes.h"

namespace QEL {

ConfigureRule::ConfigureRule(const ConfigureKey& key, RuleType type, const Vec& direction)
    : m_type(type), m_key(key), m_direction(direction)
{
}

bool ConfigureRule::IsToApplyInYSK() const
{
    if (m_fromApplication && !m_found)
        return false;
    return m_type != RuleTypeTreatAsBlend && !m_passed;
}

bool ConfigureRule::ToYSKRule(Solver* solver, YSK_autodefine_rule* record)
{
    if (!solver || !record)
        return false;
    if (!m_geometry)
        m_geometry = solver->GetOrMakeGeometry(GeometryKey(m_key.first, m_key.second));
    if (!m_geometry)
        return false;
    m_geometry->AddToZMR();
    g_node* node = m_geometry->GetGNode();
    if (!node)
        return false;
    // Only the lock, fix and direction rules have a code of the manager's.
    if (m_type < RuleTypeDoNotMove || m_type > RuleTypeKeepHalfAngle)
        return false;
    m_code = static_cast<int>(m_type);
    record->node = node;
    record->node_given = 1;
    record->code = &m_code;
    record->answer = &m_answer;
    for (int i = 0; i < 3; ++i)
        record->direction1[i] = record->direction2[i] = 0.0;
    const double direction[3] = {m_direction.x, m_direction.y, m_direction.z};
    if (m_type == RuleTypeRelativeAngle)
        for (int i = 0; i < 3; ++i)
            record->direction1[i] = direction[i];
    if (m_type == RuleTypeTranslateInDir || m_type == RuleTypeMinimiseTranslation)
        for (int i = 0; i < 3; ++i)
            record->direction2[i] = direction[i];
    return true;
}

bool ConfigureRuleLess::operator()(const ConfigureRule& a, const ConfigureRule& b) const
{
    if (a.GetType() != b.GetType())
        return a.GetType() < b.GetType();
    return GeometryKeyLess()(a.GetKey(), b.GetKey());
}

bool ConfigureRuleArray::AddRule(const ConfigureRule& rule, int& index)
{
    const int next = static_cast<int>(m_rules.size());
    const auto inserted = m_index.emplace(rule, next);
    if (!inserted.second) {
        index = inserted.first->second;
        return false;
    }
    m_rules.push_back(rule);
    index = next;
    return true;
}

int ConfigureRuleArray::GetNumRulesToApplyInYSK() const
{
    int count = 0;
    for (const ConfigureRule& rule : m_rules)
        if (rule.IsToApplyInYSK())
            ++count;
    return count;
}

ConfigureRule* ConfigureRuleArray::GetRule(int index)
{
    if (index < 0 || index >= static_cast<int>(m_rules.size()))
        return nullptr;
    return &m_rules[static_cast<size_t>(index)];
}

bool ConfigureRuleArray::IsToApplyInYSK(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_rules.size()))
        return false;
    return m_rules[static_cast<size_t>(index)].IsToApplyInYSK();
}

void ConfigureRuleArray::MarkAppliedInYSK(int index)
{
    if (ConfigureRule* rule = GetRule(index))
        rule->SetPassedToYSK(true);
}

bool ConfigureRuleArray::ToYSK(int index, Solver* solver, YSK_autodefine_rule& record)
{
    ConfigureRule* rule = GetRule(index);
    return rule && rule->ToYSKRule(solver, &record);
}

}  // namespace QEL
