#include "update/pass/UpdateTimes.h"

#include "model/operations/FaceChangeBuilder.h"
#include "update/pass/UpdateManager.h"

namespace QEL {

namespace {

double s_buildTime = -1.0;
double s_solveTime = -1.0;
double s_applyTime = -1.0;
double s_yskTime = 0.0;
void (*s_statusCallback)() = nullptr;
void (*s_debugPostUpdateCallback)(void*) = nullptr;

}  // namespace

double GetYSKTime() { return s_yskTime; }

double IncrementYSKTime(double seconds) { return s_yskTime += seconds; }

double UpdateTimes::GetBuild() { return s_buildTime; }
double UpdateTimes::GetSolve() { return s_solveTime; }
double UpdateTimes::GetApply() { return s_applyTime; }
void UpdateTimes::SetBuild(double seconds) { s_buildTime = seconds; }
void UpdateTimes::SetSolve(double seconds) { s_solveTime = seconds; }
void UpdateTimes::SetApply(double seconds) { s_applyTime = seconds; }

void UpdateTimes::Reset()
{
    s_solveTime = -1.0;
    s_applyTime = -1.0;
    ResetFaceChangeTime();
}

void UpdateTimes::SetStatusCallback(void (*callback)()) { s_statusCallback = callback; }
void (*UpdateTimes::GetStatusCallback())() { return s_statusCallback; }

void UpdateTimes::NotifyStatus()
{
    if (s_statusCallback)
        s_statusCallback();
}

void UpdateTimes::SetDebugPostUpdateCallback(void (*callback)(void*))
{
    s_debugPostUpdateCallback = callback;
}
void (*UpdateTimes::GetDebugPostUpdateCallback())(void*) { return s_debugPostUpdateCallback; }

void UpdateTimes::StartYSKTime() { s_yskTime = 0.0; }

}  // namespace QEL
