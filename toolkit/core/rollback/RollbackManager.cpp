#include "core/rollback/RollbackManager.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/ReferenceQueries.h"
#include "core/objects/TagManager.h"

namespace QEL {

namespace {

// The kernel body whose partition a new object's creation touches: an instance's body, or the
// owning body of a reference's entity (the entity itself when it has none).
int BodyOfNewObject(RollableEntity* object)
{
    TaggedEntity* tagged = dynamic_cast<TaggedEntity*>(object);
    if (!tagged)
        return 0;
    if (Instance* instance = dynamic_cast<Instance*>(tagged))
        return instance->GetBodyTag();
    if (Reference* reference = DowncastEntity<Reference>(tagged)) {
        const int entity = GetReferenceEntityTag(reference);
        if (entity == 0)
            return 0;
        const int body = GetOwningBody(entity);
        return body != 0 ? body : entity;
    }
    return 0;
}

}  // namespace

RollbackManager::RollbackManager(int interactionTag) : m_interactionTag(interactionTag) {}

RollbackManager::~RollbackManager()
{
    m_enabled = false;
    delete m_openState;
    m_openState = nullptr;
    DeleteMarksFrom(0);
    for (const auto& entry : m_firstTouchMarks)
        if (entry.second != 0)
            DeletePartitionMark(entry.second);
}

RollbackState* RollbackManager::GetOpenState()
{
    if (!m_openState)
        m_openState = new RollbackState();
    return m_openState;
}

void RollbackManager::ObjectCreated(RollableEntity* object)
{
    if (!m_enabled)
        return;
    GetOpenState()->RecordAction(ActionTypeCreated, object);
    const int body = BodyOfNewObject(object);
    if (body != 0)
        MarkPartition(GetEntityPartition(body));
}

void RollbackManager::ObjectModified(RollableEntity* object)
{
    if (m_enabled)
        GetOpenState()->RecordAction(ActionTypeModified, object);
}

void RollbackManager::ObjectDeleted(RollableEntity* object)
{
    if (m_enabled)
        GetOpenState()->RecordAction(ActionTypeDeleted, object);
}

void RollbackManager::MarkPartition(int partition)
{
    if (!m_enabled || partition == 0 || m_firstTouchMarks.count(partition) != 0)
        return;
    int mark = 0;
    if (BQ_PARTITION_make_pmark(partition, &mark) == BQ_ERROR_no_errors)
        m_firstTouchMarks[partition] = mark;
}

int RollbackManager::CreateMark()
{
    RollbackState* state = GetOpenState();
    if (!state)
        return 0;
    if (!m_marks.empty() && m_currentMark != GetMarkCount() - 1)
        DeleteMarksFrom(m_currentMark + 1);
    Interaction* interaction = TagManager::FindInteractionFromTag(m_interactionTag);
    state->SetMarkTag(interaction ? interaction->CreateTag(state) : 0);
    m_marks.push_back(state);
    state->SetPartitionMarks(m_firstTouchMarks);
    m_openState = nullptr;
    m_currentMark = GetMarkCount() - 1;
    return state->GetMarkTag();
}

int RollbackManager::FindMarkIndex(int markTag) const
{
    for (int i = 0; i < GetMarkCount(); ++i)
        if (m_marks[i]->GetMarkTag() == markTag)
            return i;
    return -1;
}

void RollbackManager::DeleteMarksFrom(int index)
{
    while (GetMarkCount() > index && index >= 0) {
        RollbackState* last = m_marks.back();
        m_marks.pop_back();
        delete last;
    }
}

void RollbackManager::RollToMark(int markTag)
{
    m_enabled = false;
    const int target = FindMarkIndex(markTag);
    if (target < 0) {
        m_enabled = true;
        return;
    }
    if (m_openState) {
        m_openState->Rollback();
        RollbackState* open = m_openState;
        m_openState = nullptr;
        delete open;
    }
    if (m_currentMark < target) {
        for (int i = m_currentMark + 1; i <= target; ++i)
            m_marks[i]->Rollforward();
    } else {
        for (int i = m_currentMark; i > target; --i)
            m_marks[i]->Rollback();
    }
    m_currentMark = target;
    m_marks[target]->GotoPartitionMarks(m_firstTouchMarks);
    m_enabled = true;
}

void RollbackManager::DeleteMark(int markTag)
{
    const int index = FindMarkIndex(markTag);
    if (index < 0)
        return;
    RollbackState* mark = m_marks[index];
    if (index != m_currentMark) {
        if (index + 1 < GetMarkCount())
            m_marks[index + 1]->MergePreviousState(mark);
        m_marks.erase(m_marks.begin() + index);
        delete mark;
        if (index < m_currentMark)
            --m_currentMark;
        return;
    }
    // The current mark: its changes stay undoable through the open state.
    GetOpenState()->MergePreviousState(mark);
    DeleteMarksFrom(index);
    m_currentMark = GetMarkCount() - 1;
}

RollbackState* RollbackManager::GetMark(int index) const
{
    if (index < 0 || index >= GetMarkCount())
        return nullptr;
    return m_marks[index];
}

RollbackState* RollbackManager::GetMarkByTag(int markTag) const
{
    const int index = FindMarkIndex(markTag);
    return index < 0 ? nullptr : m_marks[index];
}

int RollbackManager::GetCurrentMark(bool& atMark) const
{
    atMark = false;
    if (m_marks.empty() || m_currentMark < 0)
        return 0;
    atMark = IsAtCurrentMark();
    return m_marks[m_currentMark]->GetMarkTag();
}

bool RollbackManager::IsAtCurrentMark() const
{
    if ((m_openState && !m_openState->GetActions().empty()) || m_currentMark < 0)
        return false;
    const std::map<int, int>& markMarks = m_marks[m_currentMark]->GetPartitionMarks();
    for (const auto& entry : m_firstTouchMarks) {
        int pmark = 0;
        bool atPmark = false;
        if (BQ_PARTITION_ask_pmark(entry.first, &pmark, &atPmark) != BQ_ERROR_no_errors || !atPmark)
            return false;
        auto own = markMarks.find(entry.first);
        const int expected =
            (own != markMarks.end() && own->second != 0) ? own->second : entry.second;
        if (pmark != expected)
            return false;
    }
    return true;
}

void RollbackManager::GetChangesAfterMark(int markTag,
                                          std::map<RollableEntity*, RollbackAction*>& changes)
{
    std::vector<RollbackState*> states;
    for (int i = FindMarkIndex(markTag) + 1; i > 0 && i < GetMarkCount(); ++i)
        states.push_back(m_marks[i]);
    states.push_back(GetOpenState());
    for (RollbackState* state : states) {
        for (const auto& entry : state->GetActions()) {
            RollbackAction* next = entry.second;
            auto found = changes.find(entry.first);
            if (found == changes.end()) {
                changes[entry.first] = next;
                continue;
            }
            const ActionType before = found->second->GetActionType();
            const ActionType now = next->GetActionType();
            if (now == ActionTypeModified && before != ActionTypeDeleted)
                continue;  // created or modified stays as it was
            if (now == ActionTypeDeleted && before == ActionTypeModified)
                found->second = next;
            else
                changes.erase(found);
        }
    }
}

bool RollbackManager::IsMarkState(const void* pointer) const
{
    for (const RollbackState* state : m_marks)
        if (state == pointer)
            return pointer != nullptr;
    return false;
}

}  // namespace QEL
