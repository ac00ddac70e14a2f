#include "solver/operations/OperationControl.h"

#include "core/kernel/AddOnFacade.h"
#include "core/objects/Interaction.h"
#include "model/operations/BlockOptions.h"
#include "model/operations/ModellingOperations.h"
#include "model/patterns/FacePattern.h"
#include "model/relations/Relation.h"
#include "solver/operations/BlendRadiusOp.h"
#include "solver/operations/OffsetFacesOp.h"
#include "solver/operations/OperationUpdating.h"
#include "solver/operations/SolverEditPatternSpacing.h"
#include "solver/operations/SolverOperation.h"

#include <algorithm>

namespace QEL {

namespace {

// Without the update pass installed no edit is ever configured or started.
bool Configured(Interaction* interaction)
{
    OperationUpdating* updating = GetOperationUpdating();
    return updating && updating->IsConfigured(interaction);
}

bool Started(Interaction* interaction)
{
    OperationUpdating* updating = GetOperationUpdating();
    return updating && updating->IsStarted(interaction);
}

void ClearUpdate(Interaction* interaction)
{
    if (OperationUpdating* updating = GetOperationUpdating())
        updating->Clear(interaction);
}

void ClearOrCreateUpdate(Interaction* interaction)
{
    if (OperationUpdating* updating = GetOperationUpdating())
        updating->ClearOrCreate(interaction);
    else
        interaction->CreateUpdateManager();
}

UpdateStatus DoOperation(Interaction* interaction, SolverOperation* operation, ResultType& result)
{
    OperationUpdating* updating = GetOperationUpdating();
    if (!updating) {
        result = ResultTypeFail;
        return UpdateUnknown;
    }
    return updating->DoOperation(interaction, operation, result);
}

ResultType AsResult(int code) { return static_cast<ResultType>(code); }

}  // namespace

SolverOperation* OperationControl::Current() const
{
    return m_interaction->GetCurrentSolverOperation();
}

void OperationControl::DeleteCurrent()
{
    SolverOperation* operation = Current();
    m_interaction->SetCurrentSolverOperation(nullptr);
    delete operation;
}

// --- Drag style ------------------------------------------------------------------------------

ResultType OperationControl::StartDrag(SolverOperation* operation)
{
    ClearOrCreateUpdate(m_interaction);
    m_interaction->SetCurrentSolverOperation(operation);
    return ResultTypeOk;
}

template <typename T>
ResultType OperationControl::EndDrag()
{
    SolverOperation* operation = Current();
    if (!operation)
        return ResultTypeDragInactive;
    if (!dynamic_cast<T*>(operation))
        return ResultTypeFail;
    // The Solver's nodes point into the operation: they go before it does.
    ClearUpdate(m_interaction);
    DeleteCurrent();
    return ResultTypeOk;
}

ResultType OperationControl::DragRelationValueStart(Relation* relation)
{
    if (Current())
        return ResultTypeDragActive;
    SolverEvaluate* operation = new SolverEvaluate(m_interaction);
    operation->AddRelationWithValue(relation, relation->GetValue());
    return StartDrag(operation);
}

ResultType OperationControl::DragRelationValueEnd() { return EndDrag<SolverEvaluate>(); }

ResultType OperationControl::DragLinearStart(const double point[3], const double direction[3],
                                             const double start[3])
{
    if (Current())
        return ResultTypeDragActive;
    return StartDrag(new SolverDragLinear(m_interaction, point, direction, start));
}

ResultType OperationControl::DragLinearEnd() { return EndDrag<SolverDragLinear>(); }

ResultType OperationControl::DragPlanarStart(const double point[3], const double normal[3],
                                             const double start[3])
{
    if (m_interaction->GetSelectionCount() == 0)
        return ResultTypeNoSelection;
    if (Current())
        return ResultTypeDragActive;
    return StartDrag(new SolverDragPlanar(m_interaction, point, normal, start));
}

ResultType OperationControl::DragPlanarEnd() { return EndDrag<SolverDragPlanar>(); }

ResultType OperationControl::DragByGeneralTransformStart()
{
    if (Current())
        return ResultTypeDragActive;
    return StartDrag(new SolverDragByTransform(m_interaction, 0, nullptr));
}

// The translation is dragged by whole transforms too, so it is the general drag.
ResultType OperationControl::DragByTranslateTransformStart()
{
    return DragByGeneralTransformStart();
}

ResultType OperationControl::DragByRotateTransformStart(Reference* axis)
{
    if (Current())
        return ResultTypeDragActive;
    return StartDrag(new SolverDragByTransform(m_interaction, 2, axis));
}

ResultType OperationControl::DragByTransformEnd() { return EndDrag<SolverDragByTransform>(); }

UpdateStatus OperationControl::DragPositionStep(const double position[3], ResultType& result)
{
    result = ResultTypeOk;
    SolverOperation* operation = Current();
    if (!operation || !m_interaction->GetUpdateManager()) {
        result = ResultTypeDragInactive;
        return UpdateUnknown;
    }
    result = AsResult(operation->SetDragPosition(position));
    if (result != ResultTypeOk)
        return UpdateUnknown;
    return DoOperation(m_interaction, operation, result);
}

UpdateStatus OperationControl::DragByTransformStep(const double (*transform)[4], ResultType& result)
{
    result = ResultTypeOk;
    SolverOperation* operation = Current();
    if (!operation || !m_interaction->GetUpdateManager()) {
        result = ResultTypeDragInactive;
        return UpdateUnknown;
    }
    result = AsResult(operation->SetDragTransform(transform));
    if (result != ResultTypeOk)
        return UpdateUnknown;
    return DoOperation(m_interaction, operation, result);
}

UpdateStatus OperationControl::DragRelationValue(double value, ResultType& result)
{
    result = ResultTypeOk;
    SolverOperation* operation = Current();
    if (!operation || !m_interaction->GetUpdateManager()) {
        result = ResultTypeDragInactive;
        return UpdateUnknown;
    }
    if (operation->GetDragValues().size() != 1) {
        result = ResultTypeFail;
        return UpdateUnknown;
    }
    Relation* relation = operation->GetDragValues().begin()->first;
    if (!operation->SetRelationDragValue(relation, value)) {
        result = ResultTypeFail;
        return UpdateUnknown;
    }
    const UpdateStatus status = DoOperation(m_interaction, operation, result);
    relation->SetValue(value);
    return status;
}

// --- Operation style: setting ------------------------------------------------------------------

ResultType OperationControl::SetNew(SolverOperation* operation)
{
    m_interaction->SetCurrentSolverOperation(operation);
    return ResultTypeOk;
}

ResultType OperationControl::OperationSetDragLinear(const double point[3],
                                                    const double direction[3],
                                                    const double start[3])
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    SolverDragLinear* drag = new SolverDragLinear(m_interaction, point, direction, start);
    if (m_interaction->GetDimensionAnimationForDrag() && m_interaction->GetExactDragging())
        drag->EnableDimensionAnimation();
    return SetNew(drag);
}

ResultType OperationControl::OperationSetDragPlanar(const double point[3], const double normal[3],
                                                    const double start[3])
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    SolverDragPlanar* drag = new SolverDragPlanar(m_interaction, point, normal, start);
    if (m_interaction->GetDimensionAnimationForDrag() && m_interaction->GetExactDragging())
        drag->EnableDimensionAnimation();
    return SetNew(drag);
}

ResultType OperationControl::OperationSetDragRotate(const double point[3],
                                                    const double direction[3])
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    SolverDragRotate* drag = new SolverDragRotate(m_interaction, point, direction);
    if (m_interaction->GetDimensionAnimationForDrag() && m_interaction->GetExactDragging())
        drag->EnableDimensionAnimation();
    return SetNew(drag);
}

ResultType OperationControl::OperationSetDragByTransform()
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    return SetNew(new SolverDragByTransform(m_interaction, 0, nullptr));
}

ResultType OperationControl::OperationSetDragRectangularFacePatternXSpacing(
    RectangularFacePattern* pattern)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    if (!pattern->GetXDirectionReference())
        return ResultTypeFail;
    return SetNew(SolverEditPatternSpacing::CreateXSpacingEdit(m_interaction, pattern,
                                                               pattern->GetXSpacing()));
}

ResultType OperationControl::OperationSetDragRectangularFacePatternYSpacing(
    RectangularFacePattern* pattern)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    if (!pattern->GetYDirectionReference())
        return ResultTypeFail;
    return SetNew(SolverEditPatternSpacing::CreateYSpacingEdit(m_interaction, pattern,
                                                               pattern->GetYSpacing()));
}

ResultType OperationControl::OperationSetDragCircularFacePatternSpacing(
    CircularFacePattern* pattern)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    if (!pattern->GetAxisReference())
        return ResultTypeFail;
    return SetNew(SolverEditPatternSpacing::CreateAxisSpacingEdit(m_interaction, pattern,
                                                                  pattern->GetSpacing()));
}

ResultType OperationControl::OperationSetDragBlendRadius(const std::vector<int>& faces)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    const ResultType checked = CheckBlendRadiusFaces(m_interaction, faces);
    if (checked != ResultTypeOk)
        return checked;
    m_interaction->PrepareEntitiesForChange(faces);
    return SetNew(new BlendRadiusOp(m_interaction, faces, nullptr));
}

ResultType OperationControl::OperationSetDragShellThickness(const std::vector<int>& faces,
                                                            bool bothSides)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    const ResultType checked = CheckFacesToOffset(m_interaction, faces);
    if (checked != ResultTypeOk)
        return checked;
    for (int face : faces) {
        std::vector<int> partners;
        if (!FindShellCluster(face, nullptr, &partners, nullptr) || partners.empty())
            return ResultTypeBadArgument;
    }
    m_interaction->PrepareEntitiesForChange(faces);
    return SetNew(new OffsetFacesOp(m_interaction, faces, bothSides ? 3 : 2));
}

ResultType OperationControl::OperationSetDragOffsetValues(const std::vector<int>& faces,
                                                          const OffsetFacesOptions& options)
{
    if (Current())
        return ResultTypeOperationCombinationNotSupported;
    const ResultType checked = CheckFacesToOffset(m_interaction, faces);
    if (checked != ResultTypeOk)
        return checked;
    m_interaction->PrepareEntitiesForChange(faces);
    OffsetFacesOp* operation = new OffsetFacesOp(m_interaction, faces, 1);
    operation->SetOptionBlock(options.GetOptionBlock());
    return SetNew(operation);
}

ResultType OperationControl::AddRelation(Relation* relation, bool withValue)
{
    if (!Current())
        m_interaction->SetCurrentSolverOperation(new SolverEvaluate(m_interaction));
    if (Started(m_interaction))
        return ResultTypeOperationStarted;
    if (Configured(m_interaction))
        ClearUpdate(m_interaction);
    if (withValue)
        Current()->AddRelationWithValue(relation, relation->GetValue());
    else
        Current()->AddRelation(relation);
    return ResultTypeOk;
}

ResultType OperationControl::OperationSetNewRelation(Relation* relation)
{
    return AddRelation(relation, false);
}

ResultType OperationControl::OperationSetDragRelationValue(Relation* relation)
{
    return AddRelation(relation, true);
}

// --- Operation style: life cycle -----------------------------------------------------------------

ResultType OperationControl::OperationConfigure(bool& solvable)
{
    solvable = false;
    SolverOperation* operation = Current();
    if (!operation)
        return ResultTypeOperationNotSet;
    if (Started(m_interaction))
        return ResultTypeOperationStarted;
    OperationUpdating* updating = GetOperationUpdating();
    if (!updating)
        return ResultTypeFail;
    updating->ClearOrCreate(m_interaction);
    if (updating->Initialise(m_interaction, operation, solvable))
        return ResultTypeOk;
    updating->Clear(m_interaction);
    return ResultTypeFail;
}

ResultType OperationControl::OperationStart()
{
    if (!Current())
        return ResultTypeOperationNotSet;
    if (!Configured(m_interaction))
        return ResultTypeOperationNotConfigured;
    if (Started(m_interaction))
        return ResultTypeOperationStarted;
    GetOperationUpdating()->CreateStartMark(m_interaction);
    return ResultTypeOk;
}

ResultType OperationControl::StateOf() const
{
    if (!Configured(m_interaction))
        return ResultTypeOperationNotConfigured;
    if (!Started(m_interaction))
        return ResultTypeOperationNotStarted;
    return ResultTypeOk;
}

UpdateStatus OperationControl::OperationUpdate(ResultType& result)
{
    result = ResultTypeOk;
    SolverOperation* operation = Current();
    if (!operation) {
        result = ResultTypeOperationNotSet;
        return UpdateUnknown;
    }
    result = StateOf();
    if (result != ResultTypeOk)
        return UpdateUnknown;
    const UpdateStatus status =
        GetOperationUpdating()->DoSolverOperationAndUpdateModel(m_interaction, operation, result);
    operation->WriteBackDragValues();
    return status;
}

ResultType OperationControl::OperationEnd()
{
    if (m_interaction->GetUpdateManager())
        ClearUpdate(m_interaction);
    if (SolverOperation* operation = Current())
        operation->ResetDragValues();
    return ResultTypeOk;
}

ResultType OperationControl::OperationAbort()
{
    SolverOperation* operation = Current();
    if (!operation)
        return ResultTypeOperationNotSet;
    const ResultType state = StateOf();
    if (state != ResultTypeOk)
        return state;
    if (m_interaction->GetRollbackManager())
        m_interaction->RollToMark(GetOperationUpdating()->GetStartMark(m_interaction));
    ClearUpdate(m_interaction);
    operation->ResetDragValues();
    return ResultTypeOk;
}

ResultType OperationControl::OperationClear()
{
    if (!Current())
        return ResultTypeOk;
    if (Started(m_interaction))
        return ResultTypeOperationStarted;
    // A configured operation's Solver points into it: it goes first, so that no later start
    // or update runs on what the deleted operation left.
    ClearUpdate(m_interaction);
    DeleteCurrent();
    if (OperationUpdating* updating = GetOperationUpdating())
        updating->DestroyConfigureResults(m_interaction);
    return ResultTypeOk;
}

// --- Operation style: steps ----------------------------------------------------------------------

template <typename T>
ResultType OperationControl::CheckStarted() const
{
    if (!dynamic_cast<T*>(Current()))
        return ResultTypeOperationNotSet;
    return StateOf();
}

ResultType OperationControl::OperationStepDragLinear(const double position[3])
{
    const ResultType checked = CheckStarted<SolverDragLinear>();
    return checked != ResultTypeOk ? checked : AsResult(Current()->SetDragPosition(position));
}

ResultType OperationControl::OperationStepDragPlanar(const double position[3])
{
    const ResultType checked = CheckStarted<SolverDragPlanar>();
    return checked != ResultTypeOk ? checked : AsResult(Current()->SetDragPosition(position));
}

ResultType OperationControl::OperationStepDragByTransform(const double (*transform)[4])
{
    const ResultType checked = CheckStarted<SolverDragByTransform>();
    return checked != ResultTypeOk ? checked : AsResult(Current()->SetDragTransform(transform));
}

ResultType OperationControl::OperationStepDragRotate(double angle)
{
    const ResultType checked = CheckStarted<SolverDragRotate>();
    return checked != ResultTypeOk ? checked : AsResult(Current()->SetDragValue(angle));
}

ResultType OperationControl::StepSpacing(FacePattern* pattern, int kind, double spacing)
{
    const ResultType checked = CheckStarted<SolverEditPatternSpacing>();
    if (checked != ResultTypeOk)
        return checked;
    SolverEditPatternSpacing* operation = static_cast<SolverEditPatternSpacing*>(Current());
    if (operation->GetPattern() != pattern || operation->GetKind() != kind)
        return ResultTypeOperationNotSet;
    return AsResult(operation->SetDragValue(spacing));
}

ResultType OperationControl::OperationStepDragRectangularFacePatternXSpacing(
    RectangularFacePattern* pattern, double spacing)
{
    return StepSpacing(pattern, 0, spacing);
}

ResultType OperationControl::OperationStepDragRectangularFacePatternYSpacing(
    RectangularFacePattern* pattern, double spacing)
{
    return StepSpacing(pattern, 1, spacing);
}

ResultType OperationControl::OperationStepDragCircularFacePatternSpacing(
    CircularFacePattern* pattern, double spacing)
{
    return StepSpacing(pattern, 2, spacing);
}

ResultType OperationControl::OperationStepDragBlendRadius(double radius)
{
    const ResultType checked = CheckStarted<BlendRadiusOp>();
    return checked != ResultTypeOk ? checked : AsResult(Current()->SetDragValue(radius));
}

ResultType OperationControl::OperationStepDragShellThickness(double thickness)
{
    const ResultType checked = CheckStarted<OffsetFacesOp>();
    if (checked != ResultTypeOk)
        return checked;
    OffsetFacesOp* operation = static_cast<OffsetFacesOp*>(Current());
    if (operation->GetKind() != 2 && operation->GetKind() != 3)
        return ResultTypeOperationNotSet;
    return AsResult(operation->SetDragValue(thickness));
}

ResultType OperationControl::OperationStepDragOffsetValues(const std::vector<double>& values)
{
    const ResultType checked = CheckStarted<OffsetFacesOp>();
    if (checked != ResultTypeOk)
        return checked;
    OffsetFacesOp* operation = static_cast<OffsetFacesOp*>(Current());
    if (operation->GetKind() != 1)
        return ResultTypeOperationNotSet;
    if (values.size() == 1) {
        operation->SetDragValue(values[0]);
        return ResultTypeOk;
    }
    if (values.size() != operation->GetFaces().size())
        return ResultTypeBadArgument;
    operation->SetOffsetValues(values);
    return ResultTypeOk;
}

ResultType OperationControl::OperationStepDragRelationValue(Relation* relation, double value)
{
    SolverOperation* operation = Current();
    if (!operation || !operation->SetRelationDragValue(relation, value))
        return ResultTypeOperationNotSet;
    return StateOf();
}

// --- Queries -------------------------------------------------------------------------------------

bool OperationControl::OperationConfigured() const { return Configured(m_interaction); }

bool OperationControl::OperationStarted() const { return Started(m_interaction); }

OperationType OperationControl::OperationGetType() const
{
    SolverOperation* operation = Current();
    if (!operation)
        return OperationTypeNone;
    // The spacing edit is a relations-only operation too: it is told apart first.
    if (SolverEditPatternSpacing* spacing = dynamic_cast<SolverEditPatternSpacing*>(operation)) {
        static const OperationType s_kinds[3] = {OperationTypeDragRectangularFacePatternXSpacing,
                                                 OperationTypeDragRectangularFacePatternYSpacing,
                                                 OperationTypeDragCircularFacePatternSpacing};
        const int kind = spacing->GetKind();
        return kind >= 0 && kind <= 2 ? s_kinds[kind] : OperationTypeNone;
    }
    if (dynamic_cast<SolverDragLinear*>(operation))
        return OperationTypeDragLinear;
    if (dynamic_cast<SolverDragPlanar*>(operation))
        return OperationTypeDragPlanar;
    if (dynamic_cast<SolverDragByTransform*>(operation))
        return OperationTypeDragByTransform;
    if (dynamic_cast<SolverDragRotate*>(operation))
        return OperationTypeDragRotate;
    if (dynamic_cast<BlendRadiusOp*>(operation))
        return OperationTypeDragBlendRadius;
    if (OffsetFacesOp* offsets = dynamic_cast<OffsetFacesOp*>(operation))
        return offsets->GetKind() == 1 ? OperationTypeDragOffsetFaces
                                       : OperationTypeDragShellThickness;
    if (dynamic_cast<SolverEvaluate*>(operation))
        return OperationTypeEvaluate;
    return OperationTypeNone;
}

ResultType OperationControl::OperationGetDragPosition(double position[3]) const
{
    return Current() ? AsResult(Current()->GetDragPosition(position)) : ResultTypeOperationNotSet;
}

ResultType OperationControl::OperationGetDragTransform(double (*transform)[4]) const
{
    return Current() ? AsResult(Current()->GetDragTransform(transform)) : ResultTypeOperationNotSet;
}

ResultType OperationControl::OperationGetDirection(double direction[3]) const
{
    return Current() ? AsResult(Current()->GetDirection(direction)) : ResultTypeOperationNotSet;
}

ResultType OperationControl::OperationGetStartPosition(double position[3]) const
{
    return Current() ? AsResult(Current()->GetStartPosition(position)) : ResultTypeOperationNotSet;
}

double OperationControl::OperationGetDragValue(Object* object, ResultType& result) const
{
    result = ResultTypeOk;
    SolverOperation* operation = Current();
    if (!operation) {
        result = ResultTypeOperationNotSet;
        return 0.0;
    }
    if (Relation* relation = dynamic_cast<Relation*>(object)) {
        auto found = operation->GetDragValues().find(relation);
        if (found != operation->GetDragValues().end())
            return found->second;
    }
    double value = 0.0;
    // A spacing edit answers its spacing for its own pattern, and 0.0 for anything else.
    if (SolverEditPatternSpacing* spacing = dynamic_cast<SolverEditPatternSpacing*>(operation)) {
        if (object && object == static_cast<Object*>(spacing->GetPattern()))
            result = AsResult(spacing->GetDragValue(value));
        return value;
    }
    if (object) {
        result = ResultTypeBadArgument;
        return 0.0;
    }
    result = AsResult(operation->GetDragValue(value));
    return value;
}

double OperationControl::OperationGetOffsetFaceDragValue(int face, ResultType& result) const
{
    result = ResultTypeOk;
    SolverOperation* current = Current();
    if (!current) {
        result = ResultTypeOperationNotSet;
        return 0.0;
    }
    OffsetFacesOp* operation = dynamic_cast<OffsetFacesOp*>(current);
    const std::vector<int>* faces = operation ? &operation->GetFaces() : nullptr;
    const auto at =
        faces ? std::find(faces->begin(), faces->end(), face) : std::vector<int>::const_iterator();
    if (!faces || at == faces->end()) {
        result = ResultTypeBadArgument;
        return 0.0;
    }
    const double offset = operation->GetOffsets()[at - faces->begin()];
    switch (operation->GetKind()) {
        case 1:
            return offset;
        case 2:
            return operation->GetShellThickness(face) + offset;
        default:
            return operation->GetShellThickness(face) + 2.0 * offset;
    }
}

ResultType OperationControl::OperationGetObjects(std::vector<int>& tags) const
{
    tags.clear();
    SolverOperation* operation = Current();
    if (!operation)
        return ResultTypeOperationNotSet;
    for (Relation* relation : operation->GetRelations())
        if (relation)
            tags.push_back(relation->GetTag());
    if (SolverEditPatternSpacing* spacing = dynamic_cast<SolverEditPatternSpacing*>(operation))
        if (spacing->GetPattern())
            tags.push_back(spacing->GetPattern()->GetTag());
    return ResultTypeOk;
}

ResultType OperationControl::OperationGetOffsetFaces(std::vector<int>& faces) const
{
    faces.clear();
    SolverOperation* operation = Current();
    if (!operation)
        return ResultTypeOperationNotSet;
    if (OffsetFacesOp* offsets = dynamic_cast<OffsetFacesOp*>(operation))
        faces = offsets->GetFaces();
    return ResultTypeOk;
}

}  // namespace QEL
