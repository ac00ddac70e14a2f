// The interaction's options and the process-wide defaults that new interactions copy.
#include "core/objects/Interaction.h"

#include "core/tracking/TrackingManager.h"

namespace QEL {

namespace {

bool s_checkArgumentsDefault = true;
bool s_allowMultipleInteractions = false;
FeatureProcedureCallback s_defaultFeatureProcedureCallback = nullptr;
FeatureTransformCallback s_defaultFeatureTransformCallback = nullptr;
FeatureRemakeCallback s_defaultFeatureRemakeCallback = nullptr;

}  // namespace

// One rule for every option setter: refuse while a solver operation runs when the option may
// not change then, record nothing for an unchanged value, else record and store.
template <typename T>
static ResultType SetOption(Interaction& interaction, T& field, T value, bool refuseWhileDragging)
{
    if (refuseWhileDragging && interaction.GetCurrentSolverOperation())
        return ResultTypeDragActive;
    if (field == value)
        return ResultTypeOk;
    interaction.ObjectModified(&interaction);
    field = value;
    return ResultTypeOk;
}

ResultType Interaction::SetExactDragging(bool on)
{
    return SetOption(*this, m_exactDragging, on, true);
}

ResultType Interaction::SetModellingTolerance(double tolerance)
{
    return SetOption(*this, m_modellingTolerance, tolerance, true);
}

ResultType Interaction::SetStepFaceType(StepFaceType type)
{
    return SetOption(*this, m_stepFaceType, type, true);
}

ResultType Interaction::SetDelayAddDCalls(bool on)
{
    return SetOption(*this, m_delayAddDCalls, on, false);
}

ResultType Interaction::SetAdaptiveLiftMode(bool on)
{
    return SetOption(*this, m_adaptiveLiftMode, on, false);
}

ResultType Interaction::SetIncludeMutuallyDependentBlends(bool on)
{
    return SetOption(*this, m_includeMutuallyDependentBlends, on, false);
}

void Interaction::SetPreviewMode(PreviewMode mode) { SetOption(*this, m_previewMode, mode, false); }

void Interaction::SetSolutionDataMode(SolutionDataMode mode)
{
    SetOption(*this, m_solutionDataMode, mode, false);
}

void Interaction::SetCheckArguments(bool on) { SetOption(*this, m_checkArguments, on, false); }

void Interaction::SetDimensionAnimationForDrag(bool on)
{
    SetOption(*this, m_dimensionAnimationForDrag, on, false);
}

void Interaction::SetFeatureProcedureCallback(FeatureProcedureCallback callback)
{
    ObjectModified(this);
    m_featureProcedureCallback = callback;
}

void Interaction::SetFeatureTransformCallback(FeatureTransformCallback callback)
{
    ObjectModified(this);
    m_featureTransformCallback = callback;
}

void Interaction::SetFeatureRemakeCallback(FeatureRemakeCallback callback)
{
    ObjectModified(this);
    m_featureRemakeCallback = callback;
}

void Interaction::SetTrackChanges(bool on)
{
    if (m_trackingManager)
        m_trackingManager->SetTrackChanges(on);
}

bool Interaction::GetTrackChanges() const
{
    return m_trackingManager && m_trackingManager->GetTrackChanges();
}

void Interaction::SetTrackingMergeCallbackData(bool on)
{
    if (m_trackingManager)
        m_trackingManager->SetMergeCallbackData(on);
}

bool Interaction::GetTrackingMergeCallbackData() const
{
    return m_trackingManager && m_trackingManager->GetMergeCallbackData();
}

void Interaction::SetTrackingReportUpdateData(bool on)
{
    if (m_trackingManager)
        m_trackingManager->SetReportUpdateData(on);
}

bool Interaction::GetTrackingReportUpdateData() const
{
    return m_trackingManager && m_trackingManager->GetReportUpdateData();
}

void Interaction::SetCheckArgumentsDefault(bool on) { s_checkArgumentsDefault = on; }
bool Interaction::GetCheckArgumentsDefault() { return s_checkArgumentsDefault; }
void Interaction::SetAllowMultipleInteractions(bool on) { s_allowMultipleInteractions = on; }
bool Interaction::GetAllowMultipleInteractions() { return s_allowMultipleInteractions; }

void Interaction::SetDefaultFeatureProcedureCallback(FeatureProcedureCallback callback)
{
    s_defaultFeatureProcedureCallback = callback;
}

void Interaction::SetDefaultFeatureTransformCallback(FeatureTransformCallback callback)
{
    s_defaultFeatureTransformCallback = callback;
}

void Interaction::SetDefaultFeatureRemakeCallback(FeatureRemakeCallback callback)
{
    s_defaultFeatureRemakeCallback = callback;
}

FeatureProcedureCallback Interaction::GetDefaultFeatureProcedureCallback()
{
    return s_defaultFeatureProcedureCallback;
}

FeatureTransformCallback Interaction::GetDefaultFeatureTransformCallback()
{
    return s_defaultFeatureTransformCallback;
}

FeatureRemakeCallback Interaction::GetDefaultFeatureRemakeCallback()
{
    return s_defaultFeatureRemakeCallback;
}

}  // namespace QEL
