#pragma once
// The interaction's one current operation: how it is made, configured, started, stepped,
// updated, ended, aborted and cleared, and what it answers. The interaction holds the
// operation and its update manager; this class is the whole of what may be done with them, in
// the two styles that share the slot: the drag calls (a start, steps that each run a whole
// update, an end) and the operation calls (a set call, configure, start, steps that only store
// values, updates, then end, abort or clear).

#include "core/enums/Enums.h"

#include <vector>

namespace QEL {

class CircularFacePattern;
class FacePattern;
class Interaction;
class Object;
class OffsetFacesOptions;
class Reference;
class RectangularFacePattern;
class Relation;
class SolverOperation;

class OperationControl {
public:
    explicit OperationControl(Interaction* interaction) : m_interaction(interaction) {}

    // Drag style. A start refuses with ResultTypeDragActive while any operation is set; an end
    // refuses with ResultTypeDragInactive without one and ResultTypeFail for another class.
    ResultType DragRelationValueStart(Relation* relation);
    ResultType DragRelationValueEnd();
    ResultType DragLinearStart(const double point[3], const double direction[3],
                               const double start[3]);
    ResultType DragLinearEnd();
    // ResultTypeNoSelection first when nothing is selected.
    ResultType DragPlanarStart(const double point[3], const double normal[3],
                               const double start[3]);
    ResultType DragPlanarEnd();
    ResultType DragByGeneralTransformStart();
    ResultType DragByTranslateTransformStart();
    ResultType DragByRotateTransformStart(Reference* axis);
    ResultType DragByTransformEnd();
    // Each step runs one whole update; ResultTypeDragInactive and UpdateUnknown without an
    // operation or update manager.
    UpdateStatus DragPositionStep(const double position[3], ResultType& result);
    UpdateStatus DragByTransformStep(const double (*transform)[4], ResultType& result);
    // The one relation of the drag takes the value, whatever the update gives.
    UpdateStatus DragRelationValue(double value, ResultType& result);

    // Operation style: setting. A set call that makes a new operation refuses with
    // ResultTypeOperationCombinationNotSupported while any operation is set.
    ResultType OperationSetDragLinear(const double point[3], const double direction[3],
                                      const double start[3]);
    ResultType OperationSetDragPlanar(const double point[3], const double normal[3],
                                      const double start[3]);
    ResultType OperationSetDragRotate(const double point[3], const double direction[3]);
    ResultType OperationSetDragByTransform();
    // ResultTypeFail when the pattern lacks the reference of the spacing's direction or axis.
    ResultType OperationSetDragRectangularFacePatternXSpacing(RectangularFacePattern* pattern);
    ResultType OperationSetDragRectangularFacePatternYSpacing(RectangularFacePattern* pattern);
    ResultType OperationSetDragCircularFacePatternSpacing(CircularFacePattern* pattern);
    ResultType OperationSetDragBlendRadius(const std::vector<int>& faces);
    ResultType OperationSetDragShellThickness(const std::vector<int>& faces, bool bothSides);
    ResultType OperationSetDragOffsetValues(const std::vector<int>& faces,
                                            const OffsetFacesOptions& options);
    // Into the current operation, or a new relations-only one made first (even when the call
    // then refuses); a configured operation must be configured again.
    ResultType OperationSetNewRelation(Relation* relation);
    ResultType OperationSetDragRelationValue(Relation* relation);

    // Operation style: life cycle.
    ResultType OperationConfigure(bool& solvable);
    ResultType OperationStart();
    UpdateStatus OperationUpdate(ResultType& result);
    ResultType OperationEnd();
    ResultType OperationAbort();
    ResultType OperationClear();

    // Operation style: steps. Each stores its value in a started operation of its class:
    // ResultTypeOperationNotSet without one (or for another class or kind),
    // ResultTypeOperationNotConfigured, ResultTypeOperationNotStarted.
    ResultType OperationStepDragLinear(const double position[3]);
    ResultType OperationStepDragPlanar(const double position[3]);
    ResultType OperationStepDragByTransform(const double (*transform)[4]);
    ResultType OperationStepDragRotate(double angle);
    // ResultTypeOperationNotSet too for a spacing edit of another pattern or kind.
    ResultType OperationStepDragRectangularFacePatternXSpacing(RectangularFacePattern* pattern,
                                                               double spacing);
    ResultType OperationStepDragRectangularFacePatternYSpacing(RectangularFacePattern* pattern,
                                                               double spacing);
    ResultType OperationStepDragCircularFacePatternSpacing(CircularFacePattern* pattern,
                                                           double spacing);
    ResultType OperationStepDragBlendRadius(double radius);
    ResultType OperationStepDragShellThickness(double thickness);
    ResultType OperationStepDragOffsetValues(const std::vector<double>& values);
    // Stores the value before it tests the state, so a value stepped before the start is kept.
    ResultType OperationStepDragRelationValue(Relation* relation, double value);

    // Queries.
    bool OperationConfigured() const;
    bool OperationStarted() const;
    OperationType OperationGetType() const;
    ResultType OperationGetDragPosition(double position[3]) const;
    ResultType OperationGetDragTransform(double (*transform)[4]) const;
    ResultType OperationGetDirection(double direction[3]) const;
    ResultType OperationGetStartPosition(double position[3]) const;
    // A relation of the drag-value map answers its value; null asks the operation's own value.
    double OperationGetDragValue(Object* object, ResultType& result) const;
    double OperationGetOffsetFaceDragValue(int face, ResultType& result) const;
    // The relations' tags in tag order, then a spacing edit's pattern.
    ResultType OperationGetObjects(std::vector<int>& tags) const;
    ResultType OperationGetOffsetFaces(std::vector<int>& faces) const;

private:
    SolverOperation* Current() const;
    // Makes the operation current after clearing (or making) the update manager.
    ResultType StartDrag(SolverOperation* operation);
    // Deletes the current operation when it is a T; the update manager is cleared first, so
    // nothing it holds outlives the operation it points into.
    template <typename T>
    ResultType EndDrag();
    template <typename T>
    ResultType CheckStarted() const;
    // 0, or the code of the first state the current operation lacks.
    ResultType StateOf() const;
    ResultType SetNew(SolverOperation* operation);
    ResultType StepSpacing(FacePattern* pattern, int kind, double spacing);
    ResultType AddRelation(Relation* relation, bool withValue);
    void DeleteCurrent();

    Interaction* m_interaction;
};

}  // namespace QEL
