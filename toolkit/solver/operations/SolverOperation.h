#pragma once
// The edit the interaction runs through its update manager: a drag or a value edit. While one
// is current, options that change the edit are refused. The update asks the operation, slot by
// slot, for its seeds, lets it enter its relations and drag group into the Solver, lets it tell
// the auto-constraint manager how it wants to move, and finally lets it solve.

#include "core/enums/Enums.h"
#include "core/maths/Dir.h"
#include "core/maths/Vec.h"
#include "core/objects/EntityComparison.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

struct g_node;

namespace QEL {

class Bond;
class GeometryBase;
class Geometry;
class GLine;
class Instance;
class Interaction;
class Reference;
class Relation;
class RigidGroup;
class Solver;
class YSKManager;

// What adaptive lift builds for an operation: the faces it lifts, which configure also starts
// from, and the construction it adds. The operation owns the construction geometries and the
// tipping points; the bonds belong to the Solver.
struct AdaptiveLiftData {
    AdaptiveLiftData() = default;
    AdaptiveLiftData(const AdaptiveLiftData&) = delete;
    AdaptiveLiftData& operator=(const AdaptiveLiftData&) = delete;
    ~AdaptiveLiftData();

    std::vector<std::pair<int, Instance*>> m_liftedFaces;
    std::set<GeometryBase*> m_constructionGeometry;
    std::set<Bond*> m_constructionBonds;
    std::set<GeometryBase*> m_tippingPoints;
    std::set<Bond*> m_tippingBonds;
};

class SolverOperation {
public:
    using RelationSet = std::set<Relation*, TaggedEntityPtrLessThan>;
    using DragValues = std::map<Relation*, double, TaggedEntityPtrLessThan>;
    using SeedList = std::vector<std::pair<int, Instance*>>;

    explicit SolverOperation(Interaction* interaction = nullptr);
    SolverOperation(const SolverOperation&) = delete;
    SolverOperation& operator=(const SolverOperation&) = delete;
    virtual ~SolverOperation();

    // The value slots answer ResultTypeOk, or ResultTypeFail (5) when the operation has no
    // such value or step; out-arguments are untouched on 5.
    virtual int AddToSolver(Solver* solver);
    virtual bool AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status);
    virtual void GetChangedFaces(std::set<int>& forcedBlendFaces, std::set<int>& neverBlendFaces);
    virtual int Solve(Solver* solver) = 0;
    virtual int SetDragPosition(const double position[3]);
    virtual int GetDragPosition(double position[3]);
    virtual int SetDragTransform(const double (*transform)[4]);
    virtual int GetDragTransform(double (*transform)[4]);
    virtual int SetDragValue(double value);
    virtual int GetDragValue(double& value);
    virtual int GetDirection(double direction[3]);
    virtual int GetStartPosition(double position[3]);
    // Appends the (entity, instance) pairs the operation moves directly.
    virtual void GetConfigureSeeds(SeedList& seeds);
    virtual void ResetDragValues();
    virtual bool HasAnimationBond() { return false; }
    // Whether the faces the operation moves take the interaction's step-face type while exact
    // dragging is on: the linear, planar and rotate drags and the transform drags that move
    // along or about a line answer true.
    virtual bool MovesWithStepFaces() const { return false; }

    void AddRelation(Relation* relation);
    // Replaces an earlier drag value of the relation.
    void AddRelationWithValue(Relation* relation, double value);
    // False, changing nothing, unless the relation is driven to a value already.
    bool SetRelationDragValue(Relation* relation, double value);
    // Sets each driven relation's value in the Solver and frees it; 5 at the first refusal.
    int PushDragValues(Solver* solver);
    // Each driven relation takes its drag value for good (recorded for rollback).
    void WriteBackDragValues();
    void GetRelationEntities(std::set<std::pair<int, Instance*>>& entities);
    void GetAffectedBodies(std::set<int>& bodies);
    // The group of the selected references, which the drags move as one body; adaptive lift
    // follows when the interaction has it on and steps no faces.
    bool MakeDragGroup(Solver* solver);
    // Hinges the planar neighbours of the selected planar faces on construction lines in the
    // group's Sets and on fixed tipping points; always true.
    bool AddAdaptiveLift(Solver* solver, RigidGroup* group);

    Interaction* GetInteraction() const { return m_interaction; }
    RelationSet& GetRelations() { return m_relations; }
    DragValues& GetDragValues() { return m_dragValues; }
    RigidGroup* GetDragGroup() const { return m_dragGroup; }
    bool GetBlendRadiusFlag() const { return m_blendRadius; }
    AdaptiveLiftData& GetAdaptiveLiftData() { return m_adaptiveLift; }

protected:
    // Opened first in every AddToSolver: the outermost one drops what an earlier Solver owned
    // before anything is entered into the new one, so that an operation configured again never
    // keeps pointers into a Solver that has gone.
    class SolverEntry {
    public:
        explicit SolverEntry(SolverOperation& operation) : m_operation(operation)
        {
            if (m_operation.m_solverEntries++ == 0)
                m_operation.DropSolverPointers();
        }
        SolverEntry(const SolverEntry&) = delete;
        SolverEntry& operator=(const SolverEntry&) = delete;
        ~SolverEntry() { --m_operation.m_solverEntries; }

    private:
        SolverOperation& m_operation;
    };
    // Forgets every pointer to an object the Solver owns; each class adds its own.
    virtual void DropSolverPointers();

    // Adaptive lift applies while the interaction has it on and steps no faces.
    bool IsAdaptiveLiftActive() const;
    // Each relation's references, then the lifted faces while adaptive lift applies.
    void AppendRelationSeeds(SeedList& seeds);
    // The drag set's node, null without a drag group.
    g_node* GetDragNode() const;
    // Frees the adaptive-lift nodes an earlier Solver was given; the given Solver's stay.
    void ReleaseAdaptiveLift(Solver* solver);

    Interaction* m_interaction;
    RelationSet m_relations;
    DragValues m_dragValues;
    RigidGroup* m_dragGroup = nullptr;
    bool m_blendRadius = false;
    AdaptiveLiftData m_adaptiveLift;

private:
    int m_solverEntries = 0;
};

// A relation-value edit: the relations entered with values are driven to them in one solve.
class SolverEvaluate : public SolverOperation {
public:
    explicit SolverEvaluate(Interaction* interaction) : SolverOperation(interaction) {}
    int AddToSolver(Solver* solver) override;
    int Solve(Solver* solver) override;
    void GetConfigureSeeds(SeedList& seeds) override;
};

// Where a linear or planar drag is: start and current position kept on its line (direction)
// or plane (normal).
struct ProjectedDragPosition {
    ProjectedDragPosition(const double point[3], const double direction[3], const double start[3],
                          bool onPlane);
    // Each answers ResultTypeOk.
    int Set(const double position[3]);
    int GetCurrent(double position[3]) const;
    int GetStart(double position[3]) const;
    int GetDirection(double direction[3]) const;
    Vec GetDelta() const { return m_current - m_start; }

    Vec m_point;
    Dir m_direction;
    Vec m_start;
    Vec m_current;
    bool m_onPlane;
};

// A drag of the selected references as one body.
class SolverDragOperation : public SolverOperation {
public:
    int AddToSolver(Solver* solver) override;
    void GetConfigureSeeds(SeedList& seeds) override;
    void ResetDragValues() override;
    // Drives the dimensions the auto-constraint manager made instead of the drag group.
    virtual bool EnableDimensionAnimation() { return false; }
    bool GetDimensionAnimation() const { return m_dimensionAnimation; }

protected:
    explicit SolverDragOperation(Interaction* interaction) : SolverOperation(interaction) {}
    // The drag set moved by the position's delta; ResultTypeFail without a drag group.
    // animate: with dimension animation on, drives the manager's dimensions instead.
    template <typename Animate>
    int SolveTranslation(Solver* solver, const ProjectedDragPosition& position, Animate animate);
    // The animation bond that the manager made last in this configure, null when it made none.
    static Bond* LastManagerBond(Solver* solver);

    bool m_dimensionAnimation = false;
};

// A drag that translates the selection, along a line or in a plane: its position is kept on
// that line or plane, and a reset puts it back at its start.
class SolverDragTranslation : public SolverDragOperation {
public:
    int SetDragPosition(const double position[3]) override { return m_position.Set(position); }
    int GetDragPosition(double position[3]) override { return m_position.GetCurrent(position); }
    int GetDirection(double direction[3]) override { return m_position.GetDirection(direction); }
    int GetStartPosition(double position[3]) override { return m_position.GetStart(position); }
    void ResetDragValues() override;
    bool MovesWithStepFaces() const override { return true; }
    bool EnableDimensionAnimation() override { return m_dimensionAnimation = true; }

protected:
    SolverDragTranslation(Interaction* interaction, const double point[3],
                          const double direction[3], const double start[3], bool onPlane)
        : SolverDragOperation(interaction), m_position(point, direction, start, onPlane)
    {
    }

    ProjectedDragPosition m_position;
};

class SolverDragLinear : public SolverDragTranslation {
public:
    SolverDragLinear(Interaction* interaction, const double point[3], const double direction[3],
                     const double start[3]);
    bool AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status) override;
    int Solve(Solver* solver) override;
    void ResetDragValues() override;
    bool HasAnimationBond() override { return m_animationBond != nullptr; }

protected:
    void DropSolverPointers() override;

private:
    Bond* m_animationBond = nullptr;
};

class SolverDragPlanar : public SolverDragTranslation {
public:
    SolverDragPlanar(Interaction* interaction, const double point[3], const double normal[3],
                     const double start[3]);
    bool AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status) override;
    int Solve(Solver* solver) override;
    void ResetDragValues() override;
    bool HasAnimationBond() override { return m_animationBonds[0] && m_animationBonds[1]; }

protected:
    void DropSolverPointers() override;

private:
    // Two bonds of the manager, each with a plane among its geometries, or none at all.
    void TakeAnimationBonds(Solver* solver);
    void DropAnimationBonds();

    Bond* m_animationBonds[2] = {nullptr, nullptr};
    GeometryBase* m_animationPlanes[2] = {nullptr, nullptr};
};

class SolverDragRotate : public SolverDragOperation {
public:
    SolverDragRotate(Interaction* interaction, const double axisPoint[3],
                     const double axisDirection[3]);
    ~SolverDragRotate() override;
    int AddToSolver(Solver* solver) override;
    bool AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status) override;
    int Solve(Solver* solver) override;
    // The angle in radians, kept as given.
    int SetDragValue(double value) override;
    int GetDragValue(double& value) override;
    int GetDirection(double direction[3]) override;
    void ResetDragValues() override;
    bool HasAnimationBond() override { return m_animationBond != nullptr; }
    bool MovesWithStepFaces() const override { return true; }
    bool EnableDimensionAnimation() override { return m_dimensionAnimation = true; }
    GLine* GetAxisLine() const { return m_axisLine; }

protected:
    void DropSolverPointers() override;

private:
    // Erases the line from its Solver's system when that Solver is the given one; a line of an
    // earlier Solver is only deleted, its system having gone with it.
    void DeleteAxisLine(Solver* current);

    Vec m_axisPoint;
    Dir m_axisDirection;
    GLine* m_axisLine = nullptr;
    double m_angle = 0.0;
    Bond* m_animationBond = nullptr;
};

class SolverDragByTransform : public SolverDragOperation {
public:
    // kind: 0 general transform, 1 translation, 2 rotation about the axis reference.
    SolverDragByTransform(Interaction* interaction, int kind, Reference* axis);
    int AddToSolver(Solver* solver) override;
    bool AddDesiredChange(Solver* solver, YSKManager* manager, UpdateStatus& status) override;
    int Solve(Solver* solver) override;
    int SetDragTransform(const double (*transform)[4]) override;
    int GetDragTransform(double (*transform)[4]) override;
    void ResetDragValues() override;
    bool MovesWithStepFaces() const override { return m_kind == 1 || m_kind == 2; }
    int GetKind() const { return m_kind; }

protected:
    void DropSolverPointers() override;

private:
    double m_transform[4][4];
    int m_kind;
    Reference* m_axis;
    Geometry* m_axisGeometry = nullptr;
};

}  // namespace QEL
