#pragma once
// The process-wide switches that choose between the two ways procedural features are
// handled. The application sets them through the exported calls; the feature, solver and
// update code read them (the update may set one for the span of a step and put it back).

namespace QEL {

// The new procedural-feature algorithm: off when the toolkit is loaded.
bool GetNewPFAlgorithm();
void SetNewPFAlgorithm(bool on);

// The algorithm built on the kernel add-on's procedural features: on when the toolkit is
// loaded.
bool GetHXRPFBasedAlgorithm();
void SetHXRPFBasedAlgorithm(bool on);

}  // namespace QEL
