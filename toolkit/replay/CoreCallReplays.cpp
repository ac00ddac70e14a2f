// The core's exported calls that journal replay can make again. Their rows in the core only
// mark them replayable, since the core sees nothing above it; their adapters are registered
// here, one row each, while the library loads.
#include "core/calls/QelInteractionApi.h"
#include "core/calls/QelSystemApi.h"
#include "replay/ReplayUnpackers.h"

namespace QEL {

// The interaction's calls.
QEL_REGISTER_REPLAY_FUNCTION(CreateInteraction);
QEL_REGISTER_REPLAY_FUNCTION(DestroyInteraction);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetModellingTolerance);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetModellingTolerance);
QEL_REGISTER_REPLAY_FUNCTION(Update);
QEL_REGISTER_REPLAY_FUNCTION(DebugCompareInteractions);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetDelayAddDCalls);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetAdaptiveLiftMode);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetAdaptiveLiftMode);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetIncludeMutuallyDependentBlends);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetIncludeMutuallyDependentBlends);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetDimensionAnimationForDrag);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetDimensionAnimationForDrag);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetCheckArguments);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetCheckArguments);

// The journalling calls.
QEL_REGISTER_REPLAY_FUNCTION(SetMinimiseJournal);
QEL_REGISTER_REPLAY_FUNCTION(GetMinimiseJournal);

// The system's process-wide calls.
QEL_REGISTER_REPLAY_FUNCTION(OptionSetAllowMultipleInteractions);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetAllowMultipleInteractions);
QEL_REGISTER_REPLAY_FUNCTION(SetNewPFAlgorithmStatus);
QEL_REGISTER_REPLAY_FUNCTION(GetNewPFAlgorithmStatus);
QEL_REGISTER_REPLAY_FUNCTION(SetHXRPFBasedAlgorithmStatus);
QEL_REGISTER_REPLAY_FUNCTION(GetHXRPFBasedAlgorithmStatus);
QEL_REGISTER_REPLAY_FUNCTION(OptionSetCheckArgumentsDefault);
QEL_REGISTER_REPLAY_FUNCTION(OptionGetCheckArgumentsDefault);
QEL_REGISTER_REPLAY_FUNCTION(Reset);
QEL_REGISTER_REPLAY_FUNCTION(SystemReset);

}  // namespace QEL
