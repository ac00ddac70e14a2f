#pragma once
// What the last solve changes per kernel entity, cached in the interaction and restored by
// rollback.

#include "core/maths/Xform.h"
#include "core/objects/Entity.h"
#include "core/rollback/SavedState.h"

#include <map>

namespace QEL {

class Interaction;

class QEL_API EntitySolutionChange {
public:
    // Every flag false, identity transform, the numbers 0.
    EntitySolutionChange() = default;

    bool HasTransform() const { return m_hasTransform; }
    bool HasRadius() const { return m_hasRadius; }
    bool HasMinorRadius() const { return m_hasMinorRadius; }
    bool HasReblend() const { return m_hasReblend; }
    bool HasHalfAngle() const { return m_hasHalfAngle; }
    Xform GetTransform() const { return m_transform; }
    double GetRadius() const { return m_radius; }
    double GetMinorRadius() const { return m_minorRadius; }
    double GetReblend() const { return m_reblend; }
    double GetHalfAngle() const { return m_halfAngle; }

private:
    friend class SolutionChangeData;
    bool m_hasTransform = false;
    bool m_hasRadius = false;
    bool m_hasMinorRadius = false;
    bool m_hasReblend = false;
    bool m_hasHalfAngle = false;
    Xform m_transform;
    double m_radius = 0.0;
    double m_minorRadius = 0.0;
    double m_reblend = 0.0;
    double m_halfAngle = 0.0;
};

bool operator==(const EntitySolutionChange& a, const EntitySolutionChange& b);

class QEL_API SolutionChangeData {
public:
    using ChangeMap = std::map<int, EntitySolutionChange>;

    // Each finds or makes the entity's record, stores the value and sets its flag.
    void SetEntityTransform(int entity, const Xform& transform);
    void SetEntityRadius(int entity, double radius);
    void SetEntityMinorRadius(int entity, double radius);
    void SetEntityReblend(int entity, double reblend);
    void SetEntityHalfAngle(int entity, double halfAngle);

    // The entity's record, or null when it has none.
    const EntitySolutionChange* FindEntityChange(int entity) const;
    const ChangeMap& GetChanges() const { return m_changes; }
    bool IsEmpty() const { return m_changes.empty(); }

private:
    ChangeMap m_changes;
};

bool operator==(const SolutionChangeData& a, const SolutionChangeData& b);

// The rollable holder an interaction keeps its cached data in.
class QEL_API SolutionChangeDataRollable
    : public SavedObject<SolutionChangeDataRollable, RollableEntity> {
public:
    explicit SolutionChangeDataRollable(Interaction* interaction);
    ~SolutionChangeDataRollable() override;

    // Records the holder as modified, then replaces the data as a whole.
    void Set(const SolutionChangeData& data);
    const SolutionChangeData& Get() const { return m_data; }

private:
    // The data; the owning interaction is not part of a snapshot.
    void CopyState(const SolutionChangeDataRollable& from) { m_data = from.m_data; }

    SolutionChangeData m_data;
    Interaction* m_interaction;

    friend class SavedState<SolutionChangeDataRollable, RollableEntity>;
};

}  // namespace QEL
