// Test control of the solver layer. Tests only; production code never includes it.
// The controls are process-wide so that a test can reach a system that a class under
// test owns: nodes are named by their application pointers.
#pragma once

#include <string>
#include <vector>

namespace tessik_test {

// Call log: one entry per call of the public interface ("ZMR3::add_g", "JUN::add_pattern",
// "KEV::add_procedural_feature", ...), in call order, while enabled.
void EnableCallLog(bool on);
void ClearCallLog();
std::vector<std::string> CallLog();
// Number of entries equal to name.
int CallCount(const std::string& name);

// The next evaluation of any system gives the node with this application pointer the
// status, whatever it computes; the forcing is used up by that evaluation.
void ForceGNodeStatus(const void* app, int status);
void ForceDNodeStatus(const void* app, int status);  // d-nodes and r-nodes
// Until the controls are reset, the transform query of the node with this application pointer
// answers this rigid change (a 4x4 matrix: rotation, translation column) whatever the last
// evaluation made, so a test can move one node of a rigid set alone.
void ForceGNodeChange(const void* app, const double matrix[4][4]);
// The next dynamic_evaluate of any system reports this drag result and moves nothing.
void ForceDragResult(int result);

// The next allocation of an auto-constraint manager fails, as on an exhausted heap.
void FailNextManagerAllocation();

// Drops every forcing and empties the log (the log stays as enabled).
void ResetControls();

}  // namespace tessik_test
