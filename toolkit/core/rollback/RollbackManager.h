#pragma once
// Undo and redo over an interaction's rollable objects in steps named by marks, moved
// together with the kernel partitions the interaction has touched.

#include "core/rollback/RollbackState.h"

#include <map>
#include <vector>

namespace QEL {

class Interaction;

class QEL_API RollbackManager : public Entity {
public:
    explicit RollbackManager(int interactionTag);
    // Disables itself, deletes the open state, every mark and every first-touch mark.
    ~RollbackManager() override;

    void EnableRollback() { m_enabled = true; }
    void DisableRollback() { m_enabled = false; }
    bool IsRollbackEnabled() const { return m_enabled; }

    void ObjectCreated(RollableEntity* object);
    void ObjectModified(RollableEntity* object);
    void ObjectDeleted(RollableEntity* object);
    // Makes a first-touch partition mark the first time a partition is handed over.
    void MarkPartition(int partition);

    // The new mark's tag; 0 when no state can be made.
    int CreateMark();
    void RollToMark(int markTag);
    void DeleteMark(int markTag);
    int GetMarkCount() const { return static_cast<int>(m_marks.size()); }
    RollbackState* GetMark(int index) const;
    RollbackState* GetMarkByTag(int markTag) const;
    int GetCurrentMark(bool& atMark) const;
    // No change recorded since the current mark and every touched partition at its mark.
    bool IsAtCurrentMark() const;
    void GetChangesAfterMark(int markTag, std::map<RollableEntity*, RollbackAction*>& changes);
    bool IsMarkState(const void* pointer) const;
    const std::map<int, int>& GetFirstTouchMarks() const { return m_firstTouchMarks; }

    static void Destroy(RollbackManager* manager) { delete manager; }

private:
    RollbackState* GetOpenState();
    int FindMarkIndex(int markTag) const;
    void DeleteMarksFrom(int index);

    std::vector<RollbackState*> m_marks;
    RollbackState* m_openState = nullptr;
    bool m_enabled = true;
    int m_currentMark = -1;
    int m_interactionTag;
    std::map<int, int> m_firstTouchMarks;
};

}  // namespace QEL
