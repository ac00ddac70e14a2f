#include "core/support/AlgorithmSwitches.h"

namespace QEL {
namespace {

bool s_newPFAlgorithm = false;
bool s_hxrPFBasedAlgorithm = true;

}  // namespace

bool GetNewPFAlgorithm() { return s_newPFAlgorithm; }
void SetNewPFAlgorithm(bool on) { s_newPFAlgorithm = on; }
bool GetHXRPFBasedAlgorithm() { return s_hxrPFBasedAlgorithm; }
void SetHXRPFBasedAlgorithm(bool on) { s_hxrPFBasedAlgorithm = on; }

}  // namespace QEL
