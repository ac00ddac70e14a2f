#pragma once
// The process-wide record of the last update's steps: how long the configure (build), the
// solve and the apply took, and the application's status callback, called after each step's
// time is stored. Times are seconds and read -1.0 until their step has run.

namespace QEL {

class UpdateTimes {
public:
    static double GetBuild();
    static double GetSolve();
    static double GetApply();
    static void SetBuild(double seconds);
    static void SetSolve(double seconds);
    static void SetApply(double seconds);
    // The solve, apply and face-change times go back to -1.0; the build and auto-constraint
    // times stay.
    static void Reset();
    // Null switches the callback off.
    static void SetStatusCallback(void (*callback)());
    static void (*GetStatusCallback())();
    // Calls the status callback when one is set.
    static void NotifyStatus();
    // Called with the update manager after each update when set.
    static void SetDebugPostUpdateCallback(void (*callback)(void*));
    static void (*GetDebugPostUpdateCallback())(void*);
    // Starts the auto-constraint time of a configure step at 0.0.
    static void StartYSKTime();
};

}  // namespace QEL
