#pragma once
// Test-only controls of the wire-model layer. Production code never includes this header.

// Number of attribute objects alive in the process.
long zynTestLiveAttributeCount();
