#pragma once
// The edit the interaction runs through its update manager: a drag or a value edit. While one
// is current, options that change the edit are refused.

#include "core/Enums.h"

#include <utility>
#include <vector>

namespace QEL {

class Instance;
class Interaction;

class SolverOperation {
public:
    SolverOperation() = default;
    SolverOperation(const SolverOperation&) = delete;
    SolverOperation& operator=(const SolverOperation&) = delete;
    virtual ~SolverOperation();

    // Appends the (entity, instance) pairs the operation moves directly.
    virtual void GetConfigureSeeds(std::vector<std::pair<int, Instance*>>& seeds);
    // Sets the operation's driving value; Ok unless the operation refuses it.
    virtual ResultType SetDragValue(double value);
    // Whether the faces the operation moves take the interaction's step-face type while exact
    // dragging is on: the linear, planar and rotate drags and the transform drags that move
    // along or about a line answer true.
    virtual bool MovesWithStepFaces() const { return false; }
};

// Solves the model as it stands.
class SolverEvaluate : public SolverOperation {
public:
    explicit SolverEvaluate(Interaction* interaction) : m_interaction(interaction) {}
    Interaction* GetInteraction() const { return m_interaction; }

private:
    Interaction* m_interaction;
};

// Changes the radius of blend faces.
class BlendRadiusOp : public SolverEvaluate {
public:
    // Without a radius the faces keep theirs.
    BlendRadiusOp(Interaction* interaction, const std::vector<int>& faces, const double* radius);

    const std::vector<int>& GetFaces() const { return m_faces; }
    bool HasRadius() const { return m_hasRadius; }
    double GetRadius() const { return m_radius; }

private:
    std::vector<int> m_faces;
    bool m_hasRadius;
    double m_radius;
};

}  // namespace QEL
