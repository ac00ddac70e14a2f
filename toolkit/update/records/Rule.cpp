#include "update/records/Rule.h"

#include "core/enums/EnumNames.h"
#include "core/maths/Tolerance.h"
#include "core/objects/EntityCasts.h"
#include "core/persist/ObjectReaders.h"
#include "core/persist/XMLIO.h"
#include "model/references/Reference.h"
#include "update/configure/ConfigureRule.h"
#include "update/records/ReferenceRules.h"

#include <cmath>

namespace QEL {

Rule::Rule(Interaction* interaction, Reference* reference, RuleType type, RuleState state,
           const Vec& direction, bool found, bool applicationDefined)
    : SavedObject(interaction),
      m_ruleType(type),
      m_state(state),
      m_reference(reference),
      m_direction(direction),
      m_found(found),
      m_applicationDefined(applicationDefined)
{
    SetType(ObjectTypeRule);
    if (interaction)
        RecordCreated();
}

Rule::~Rule() = default;

QEL_INSTALL_ENTITY_CASTS(Rule)
QEL_INSTALL_OBJECT_READER(Rule)

Rule* Rule::Create(Interaction* interaction, Reference* reference, RuleType type, RuleState state,
                   const Vec& direction, bool found, bool applicationDefined)
{
    if (reference) {
        std::vector<Rule*> held;
        GetReferenceRules(reference, held);
        for (Rule* rule : held)
            if (rule->m_ruleType == type && ArePointsCoincident(rule->m_direction, direction))
                return rule;
    }
    Rule* rule =
        new Rule(interaction, reference, type, state, direction, found, applicationDefined);
    rule->AddToInteraction();
    if (reference)
        reference->AddDependent(rule);
    return rule;
}

Rule* Rule::CreateFromConfigureRule(Interaction* interaction, const ConfigureRule& rule)
{
    Reference* reference =
        Reference::Create(interaction, rule.GetKey().first, rule.GetKey().second);
    // A rule on no reference could never be matched back to its key by a later configure.
    if (!reference)
        return nullptr;
    const bool applied = rule.IsApplied();
    Rule* made =
        new Rule(interaction, reference, rule.GetType(), applied ? RuleStateApply : RuleStateRelax,
                 rule.GetDirection(), true, false);
    made->AddToInteraction();
    reference->AddDependent(made);
    made->m_applied = applied;
    return made;
}

Rule* Rule::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    Rule* rule =
        Create(interaction, nullptr, RuleTypeDoNotMove, RuleStateApply, Vec(), false, false);
    if (!rule->DoIO(xmlio)) {
        rule->Destroy();
        return nullptr;
    }
    if (rule->m_reference)
        rule->m_reference->AddDependent(rule);
    return rule;
}

void Rule::SetState(RuleState state)
{
    RecordModified();
    m_state = state;
}

void Rule::SetFoundInLastConfigure(bool found)
{
    if (found == m_found)
        return;
    RecordModified();
    m_found = found;
}

void Rule::CopyState(const Rule& from)
{
    m_reference = from.m_reference;
    m_ruleType = from.m_ruleType;
    m_state = from.m_state;
    m_direction = from.m_direction;
    m_found = from.m_found;
    m_applied = from.m_applied;
    m_applicationDefined = from.m_applicationDefined;
}

void Rule::Destroy()
{
    if (m_reference)
        m_reference->RemoveDependent(this);
    TaggedEntity::Destroy();
}

void Rule::RemoveReference(Reference* reference)
{
    if (!reference || reference != m_reference)
        return;
    reference->RemoveDependent(this);
    RecordModified();
    m_reference = nullptr;
}

bool Rule::Compare(TaggedEntity* other)
{
    Rule* rule = dynamic_cast<Rule*>(other);
    if (!TaggedEntity::Compare(other) || !rule || m_state != rule->m_state ||
        m_ruleType != rule->m_ruleType || m_found != rule->m_found ||
        m_applied != rule->m_applied || m_applicationDefined != rule->m_applicationDefined)
        return false;
    const Vec difference = m_direction - rule->m_direction;
    for (double component : {difference.x, difference.y, difference.z})
        if (std::fabs(component) > s_linearTolerance)
            return false;
    if (!m_reference || !rule->m_reference)
        return m_reference == rule->m_reference;
    return m_reference->Compare(rule->m_reference);
}

bool Rule::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement(s_className))
        return false;
    const bool reading = xmlio.IsReading();
    bool done =
        DoIOID(xmlio) &&
        xmlio.DoIOEnum<RuleType>("type", m_ruleType, RuleTypeToString, RuleTypeFromString) &&
        xmlio.DoIOEnum<RuleState>("state", m_state, RuleStateToString, RuleStateFromString) &&
        DoIOReferencePtr(xmlio, "referenceRef", m_reference, GetInteraction());
    // A rule without a direction writes none; an absent component reads as 0.
    const bool zero = std::fabs(m_direction.x) <= s_linearTolerance &&
                      std::fabs(m_direction.y) <= s_linearTolerance &&
                      std::fabs(m_direction.z) <= s_linearTolerance;
    if (done && (reading || !zero))
        done = xmlio.DoIO("xDir", m_direction.x, 16) && xmlio.DoIO("yDir", m_direction.y, 16) &&
               xmlio.DoIO("zDir", m_direction.z, 16);
    done = done && xmlio.DoIO("wasFound", m_found, false) &&
           xmlio.DoIO("wasApplied", m_applied, false) &&
           xmlio.DoIO("appDefined", m_applicationDefined, false);
    xmlio.EndElement(true);
    return done;
}

}  // namespace QEL
