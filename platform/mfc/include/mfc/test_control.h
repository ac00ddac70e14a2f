#pragma once
// Test-only controls of the MFC layer. Production code never includes this header.
#include "mfc/CRect.h"

// Sets the rectangle the desktop window reports.
void mfcTestSetDesktopRect(const CRect& rect);
