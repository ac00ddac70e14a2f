#pragma once
// The changes recorded between two marks, and the kernel partition marks that describe the
// bodies as they were when the state became a mark.

#include "core/rollback/RollbackAction.h"

#include <map>

namespace QEL {

class QEL_API RollbackState : public Entity {
public:
    RollbackState() = default;
    // Destroys the actions, deletes the partition marks and the mark tag's application item.
    ~RollbackState() override;

    using ActionMap = std::map<RollableEntity*, RollbackAction*>;
    ActionMap& GetActions() { return m_actions; }
    const std::map<int, int>& GetPartitionMarks() const { return m_partitionMarks; }
    int GetMarkTag() const { return m_markTag; }
    void SetMarkTag(int tag) { m_markTag = tag; }

    // A creation and a deletion of one object inside one state cancel out; a second
    // modification keeps the first snapshot.
    void RecordAction(ActionType type, RollableEntity* object);
    void Rollback();
    void Rollforward();
    // Takes over the earlier state's actions; the caller deletes the earlier state.
    void MergePreviousState(RollbackState* earlier);
    // A fresh partition mark of every partition of the map.
    void SetPartitionMarks(const std::map<int, int>& partitions);
    // Rolls each partition of firstTouch to this state's mark for it, else to the first-touch
    // mark.
    void GotoPartitionMarks(const std::map<int, int>& firstTouch) const;

private:
    ActionMap m_actions;
    std::map<int, int> m_partitionMarks;
    int m_markTag = 0;
};

}  // namespace QEL
