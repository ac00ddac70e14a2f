#pragma once

// The GL driver that Mesa loads for the first context is unloaded again when the X display
// closes, before the leak check at exit. Its own caches would then be reported from an
// unknown module, which no suppression can name. Pinning every loaded driver keeps those
// reports attributable (and suppressed as the driver's). Call it once a context has existed.
void KeepGraphicsDriversMapped();
