// Rules and found data: a rule a reference already holds is found again, both save and load
// as their own elements and compare by their own fields, and rollback restores them with the
// found flag of the latest configure left alone.
#include "SaveFileFixture.h"

#include "core/rollback/RollbackAction.h"
#include "core/xml/XMLTreeNode.h"
#include "model/relations/Relation.h"
#include "update/records/FoundData.h"
#include "update/records/ReferenceRules.h"
#include "update/records/Rule.h"
#include "solver/ConfigureFoundData.h"
#include "update/configure/ConfigureRule.h"

#include <functional>

namespace QEL {
namespace testing {
namespace {

class RuleAndFoundDataTest : public SaveFileTest {
protected:
    void SetUp() override
    {
        SaveFileTest::SetUp();
        for (int face : Faces(m_block))
            m_faces.push_back(Reference::Create(m_interaction, face, nullptr));
        m_relation = Relation::CreateUnary(m_interaction, RelationTypeFixed, m_faces[0]);
        ASSERT_NE(m_relation, nullptr);
    }

    // The interaction's saved text.
    std::string SavedText()
    {
        const std::string path = PathOf("text.xml");
        EXPECT_TRUE(m_interaction->SaveToFile(path.c_str()));
        return ReadFile(path);
    }

    // The attribute of the element of that name and id in the saved text; null when absent.
    static std::string AttributeOf(const std::string& text, const char* element, int id, const char* attribute)
    {
        const size_t at = text.find("<" + std::string(element) + " id=\"id" + std::to_string(id) + "\"");
        if (at == std::string::npos)
            return "<no element>";
        const std::string head = text.substr(at, text.find('>', at) - at);
        const std::string key = std::string(" ") + attribute + "=\"";
        const size_t value = head.find(key);
        if (value == std::string::npos)
            return "<absent>";
        const size_t start = value + key.size();
        return head.substr(start, head.find('"', start) - start);
    }

    std::vector<Reference*> m_faces;
    Relation* m_relation = nullptr;
};

TEST_F(RuleAndFoundDataTest, CreateFindsTheRuleTheReferenceHoldsWithTheSameTypeAndDirection)
{
    Rule* rule = Rule::Create(m_interaction, m_faces[1], RuleTypeTranslateInDir, RuleStateApply, Vec(0, 0, 1),
                              false, true);
    rule->SetState(RuleStateRelax);
    EXPECT_EQ(Rule::Create(m_interaction, m_faces[1], RuleTypeTranslateInDir, RuleStateApply, Vec(0, 0, 1 + 1e-9),
                           true, false),
              rule);
    EXPECT_EQ(rule->GetState(), RuleStateRelax);
    EXPECT_FALSE(rule->GetFoundInLastConfigure());
    EXPECT_TRUE(rule->GetApplicationDefined());
    Rule* turned =
        Rule::Create(m_interaction, m_faces[1], RuleTypeTranslateInDir, RuleStateApply, Vec(0, 1, 0), false, false);
    Rule* otherType =
        Rule::Create(m_interaction, m_faces[1], RuleTypeDoNotMove, RuleStateApply, Vec(0, 0, 1), false, false);
    EXPECT_NE(turned, rule);
    EXPECT_NE(otherType, rule);
    EXPECT_EQ(GetReferenceRuleCount(m_faces[1]), 3);
    EXPECT_EQ(m_interaction->GetRules().size(), 3u);

    // The rule outlives its reference, with its fields and no reference.
    m_faces[1]->Destroy();
    EXPECT_EQ(rule->GetReference(), nullptr);
    EXPECT_EQ(rule->GetRuleType(), RuleTypeTranslateInDir);
    EXPECT_EQ(m_interaction->GetRules().size(), 3u);
}

TEST_F(RuleAndFoundDataTest, RelationAndItsFoundDataPointAtEachOtherUntilEitherGoes)
{
    FoundData* found = FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, m_relation, 2, true);
    EXPECT_EQ(m_relation->GetFoundData(), found);
    EXPECT_EQ(found->GetQELObject(), m_relation);
    // A second record of the same relation takes the link; the first one lets go of it.
    FoundData* again = FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, m_relation, 3, true);
    EXPECT_EQ(m_relation->GetFoundData(), again);
    EXPECT_EQ(found->GetQELObject(), nullptr);
    found->Destroy();
    EXPECT_EQ(m_relation->GetFoundData(), again);
    again->Destroy();
    EXPECT_EQ(m_relation->GetFoundData(), nullptr);

    // A record outlives its relation, with no object.
    FoundData* last = FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateRelax, m_relation, 1, false);
    m_relation->Destroy();
    EXPECT_EQ(last->GetQELObject(), nullptr);
    EXPECT_EQ(last->GetState(), FoundDataStateRelax);
}

// Every field that is saved comes back, absent values are left out of the file, and the loaded
// links are made again.
TEST_F(RuleAndFoundDataTest, SaveAndLoadBackEqual)
{
    Rule* directed = Rule::Create(m_interaction, m_faces[1], RuleTypeTranslateInDir, RuleStateRelax,
                                  Vec(0, 0.6, 0.8), true, false);
    directed->SetAppliedInLastConfigure(true);
    Rule* plain = Rule::Create(m_interaction, m_faces[2], RuleTypeKeepRadius, RuleStateApply, Vec(), false, true);
    Rule* orphan = Rule::Create(m_interaction, m_faces[3], RuleTypeDoNotRotate, RuleStateApply, Vec(), false, false);
    m_faces[3]->Destroy();
    FoundData* relation =
        FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateRelax, m_relation, 2, true);
    const ShellClusterData cluster({Faces(m_block)[0], Faces(m_block)[1]}, {Faces(m_block)[2]}, 10.0);
    FoundData* shell = FoundData::Create(m_interaction, FoundDataTypeShell, FoundDataStateApply, cluster, 4, false);
    Relation* gone = Relation::CreateUnary(m_interaction, RelationTypeFixed, m_faces[4]);
    FoundData* withoutRelation =
        FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, gone, 1, false);
    gone->Destroy();

    const std::string text = SavedText();
    const struct {
        const char* element;
        int id;
        const char* attribute;
        std::string expected;
    } attributes[] = {
        {"Rule", directed->GetEntityId(), "type", "RuleTypeTranslateInDir"},
        {"Rule", directed->GetEntityId(), "state", "RuleStateRelax"},
        {"Rule", directed->GetEntityId(), "referenceRef", "id" + std::to_string(m_faces[1]->GetEntityId())},
        {"Rule", directed->GetEntityId(), "yDir", "0.6"},
        {"Rule", directed->GetEntityId(), "wasApplied", "true"},
        {"Rule", plain->GetEntityId(), "xDir", "<absent>"},
        {"Rule", plain->GetEntityId(), "appDefined", "true"},
        {"Rule", orphan->GetEntityId(), "referenceRef", "null"},
        {"FoundData", relation->GetEntityId(), "objectRef", "id" + std::to_string(m_relation->GetEntityId())},
        {"FoundData", relation->GetEntityId(), "foundLevel", "2"},
        {"FoundData", shell->GetEntityId(), "type", "FoundDataTypeShell"},
        {"FoundData", withoutRelation->GetEntityId(), "objectRef", "<absent>"},
    };
    for (const auto& a : attributes)
        EXPECT_EQ(AttributeOf(text, a.element, a.id, a.attribute), a.expected) << a.element << " " << a.attribute;

    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
    ASSERT_NE(m_loaded, nullptr);
    ASSERT_EQ(m_loaded->GetRules().size(), 3u);
    ASSERT_EQ(m_loaded->GetFoundData().size(), 3u);
    auto loaded = [&](TaggedEntity* original) { return m_loaded->FindTaggedEntityById(original->GetEntityId()); };
    auto* loadedDirected = dynamic_cast<Rule*>(loaded(directed));
    ASSERT_NE(loadedDirected, nullptr);
    EXPECT_DOUBLE_EQ(loadedDirected->GetDirection().z, 0.8);
    EXPECT_EQ(GetReferenceRuleCount(loadedDirected->GetReference()), 1);
    EXPECT_EQ(dynamic_cast<Rule*>(loaded(orphan))->GetReference(), nullptr);
    auto* loadedRelation = dynamic_cast<Relation*>(loaded(m_relation));
    ASSERT_NE(loadedRelation, nullptr);
    EXPECT_EQ(loadedRelation->GetFoundData(), loaded(relation));
    EXPECT_EQ(dynamic_cast<FoundData*>(loaded(withoutRelation))->GetQELObject(), nullptr);
    Array<int> side1, side2;
    double thickness = 0.0;
    dynamic_cast<FoundData*>(loaded(shell))->GetShellData(side1, side2, thickness);
    EXPECT_EQ(side1.GetSize(), 2);
    EXPECT_EQ(side2.GetSize(), 1);
    EXPECT_DOUBLE_EQ(thickness, 10.0);
}

// Each compared field of a loaded rule or found data, changed and put back, is an object
// difference from either side; the level and the thickness are not compared.
TEST_F(RuleAndFoundDataTest, AChangedRuleOrFoundDataDiffers)
{
    Rule::Create(m_interaction, m_faces[1], RuleTypeTranslateInDir, RuleStateApply, Vec(1, 0, 0), false, false);
    FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, m_relation, 2, false);
    const ShellClusterData cluster({Faces(m_block)[0]}, {Faces(m_block)[1]}, 10.0);
    FoundData::Create(m_interaction, FoundDataTypeShell, FoundDataStateApply, cluster, 1, false);
    ASSERT_EQ(SaveLoadCompare(), ResultTypeOk);
    Rule* rule = m_loaded->GetRules()[0];
    FoundData* relation = m_loaded->GetFoundData()[0];
    FoundData* shell = m_loaded->GetFoundData()[1];
    ASSERT_EQ(shell->GetFoundDataType(), FoundDataTypeShell);

    const struct {
        const char* what;
        std::function<void()> change;
        std::function<void()> undo;
        bool differs;
    } cases[] = {
        {"rule state", [&] { rule->SetState(RuleStateRelax); }, [&] { rule->SetState(RuleStateApply); }, true},
        {"rule found", [&] { rule->SetFoundInLastConfigure(true); }, [&] { rule->SetFoundInLastConfigure(false); },
         true},
        {"rule applied", [&] { rule->SetAppliedInLastConfigure(true); },
         [&] { rule->SetAppliedInLastConfigure(false); }, true},
        {"found data state", [&] { relation->SetState(FoundDataStateRelax); },
         [&] { relation->SetState(FoundDataStateApply); }, true},
        {"found data flag", [&] { relation->SetFoundInLastConfigure(true); },
         [&] { relation->SetFoundInLastConfigure(false); }, true},
        {"found data level", [&] { relation->SetFoundLevel(7); }, [&] { relation->SetFoundLevel(2); }, false},
    };
    for (const auto& c : cases) {
        c.change();
        for (auto sides : {std::make_pair(m_interaction, m_loaded), std::make_pair(m_loaded, m_interaction)}) {
            ResultType result = ResultTypeUnknown;
            EXPECT_EQ(sides.first->Compare(sides.second, false, &result), !c.differs) << c.what;
            EXPECT_EQ(result, c.differs ? ResultTypeObjectDiffers : ResultTypeOk) << c.what;
        }
        c.undo();
        EXPECT_TRUE(m_interaction->Compare(m_loaded, false, nullptr)) << c.what << " undone";
    }
    relation->ClearQELObject();
    ResultType result = ResultTypeUnknown;
    EXPECT_FALSE(m_interaction->Compare(m_loaded, false, &result));
    EXPECT_EQ(result, ResultTypeObjectDiffers) << "found data without its relation";
}

TEST_F(RuleAndFoundDataTest, RollbackRestoresAllButTheLatestFoundFlag)
{
    FoundData* found = FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, m_relation, 2, false);
    Rule* rule = Rule::Create(m_interaction, m_faces[1], RuleTypeKeepRadius, RuleStateApply, Vec(), false, false);
    const int mark = m_interaction->CreateMark();
    std::map<RollableEntity*, RollbackAction*> changes;
    found->SetState(FoundDataStateApply);
    rule->SetFoundInLastConfigure(false);
    m_interaction->GetChangesAfterMark(mark, changes);
    EXPECT_TRUE(changes.empty()) << "unchanged values record nothing";
    rule->SetState(RuleStateApply);
    m_interaction->GetChangesAfterMark(mark, changes);
    EXPECT_EQ(changes.count(rule), 1u) << "a rule's state is recorded even when unchanged";

    found->SetState(FoundDataStateRelax);
    found->SetFoundLevel(5);
    found->SetFoundInLastConfigure(true);
    found->ClearQELObject();
    rule->SetState(RuleStateRelax);
    rule->SetFoundInLastConfigure(true);
    m_interaction->RollToMark(mark);
    EXPECT_EQ(found->GetState(), FoundDataStateApply);
    EXPECT_EQ(found->GetFoundLevel(), 2);
    EXPECT_EQ(found->GetQELObject(), m_relation);
    EXPECT_TRUE(found->GetFoundInLastConfigure());
    EXPECT_EQ(rule->GetState(), RuleStateApply);
    EXPECT_FALSE(rule->GetFoundInLastConfigure());
}

// A rule or found data naming what the interaction does not hold fails the load, which
// leaves nothing behind.
TEST_F(RuleAndFoundDataTest, UnresolvedLinksFailTheLoad)
{
    Rule::Create(m_interaction, m_faces[1], RuleTypeKeepRadius, RuleStateApply, Vec(), false, false);
    FoundData::Create(m_interaction, FoundDataTypeRelation, FoundDataStateApply, m_relation, 2, false);
    const std::string saved = SavedText();
    const std::string relationId = "id" + std::to_string(m_relation->GetEntityId());
    const struct {
        const char* what;
        std::string from, to;
    } cases[] = {
        {"rule on a relation", "referenceRef=\"id" + std::to_string(m_faces[1]->GetEntityId()) + "\"",
         "referenceRef=\"" + relationId + "\""},
        {"found data on nothing", "objectRef=\"" + relationId + "\"", "objectRef=\"id99999\""},
    };
    const int before = CountKernelEntities();
    for (const auto& c : cases) {
        std::string text = saved;
        ASSERT_NE(text.find(c.from), std::string::npos) << c.what << "\n" << text;
        ReplaceAll(text, c.from, c.to);
        XMLData data;
        EXPECT_EQ(LoadText(text, data), nullptr) << c.what;
        EXPECT_EQ(CountKernelEntities(), before) << c.what;
        EXPECT_EQ(TagManager::GetInteractionCount(), 1) << c.what;
    }
}

// What a configure leaves behind: a rule on its key's reference, a found relation and a found
// shell cluster, each saved, loaded and compared equal; nothing for a record of another kind
// or a key no reference can be had on.
TEST_F(RuleAndFoundDataTest, RulesAndFoundDataOfAConfigureSaveAndLoadBackEqual)
{
    const std::vector<int> faces = Faces(m_block);
    Rule* rule = Rule::CreateFromConfigureRule(m_interaction, ConfigureRule({faces[2], nullptr}, RuleTypeRelativeAngle,
                                                                             Vec(0, 0, 1)));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->GetReference()->GetEntityTag(), faces[2]);
    EXPECT_EQ(rule->GetState(), RuleStateRelax);  // the manager did not apply it
    EXPECT_FALSE(rule->GetAppliedInLastConfigure());
    EXPECT_TRUE(rule->GetFoundInLastConfigure());

    FoundData* relation = FoundData::CreateFromConfigureFoundData(
        m_interaction, ConfigureFoundData(ConfigureFoundDataRelation, m_relation, false, 2));
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(relation->GetFoundLevel(), 2);
    EXPECT_EQ(m_relation->GetFoundData(), relation);
    FoundData* shell = FoundData::CreateFromConfigureFoundData(
        m_interaction, ConfigureFoundData(ConfigureFoundDataShellCluster, ShellClusterData({faces[0]}, {faces[1]}, 2.0),
                                          false, false, 1));
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->GetFoundDataType(), FoundDataTypeShell);

    const size_t rules = m_interaction->GetRules().size();
    const size_t found = m_interaction->GetFoundData().size();
    EXPECT_EQ(FoundData::CreateFromConfigureFoundData(
                  m_interaction, ConfigureFoundData(ConfigureFoundDataTippingPoint, TippingPointData(1, 2, false), false, 0)),
              nullptr);
    EXPECT_EQ(Rule::CreateFromConfigureRule(m_interaction, ConfigureRule({0, nullptr}, RuleTypeDoNotMove, Vec())),
              nullptr);
    EXPECT_EQ(m_interaction->GetRules().size(), rules);
    EXPECT_EQ(m_interaction->GetFoundData().size(), found);

    EXPECT_EQ(SaveLoadCompare(), ResultTypeOk);
}

}  // namespace
}  // namespace testing
}  // namespace QEL
