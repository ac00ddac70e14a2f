#pragma once
// Colour texts and COLORREF values.
#include <mfc/Types.h>

// Parses "r g b a" (blank-separated integers). Components that are missing stay as they
// were; returns the number of components read (0 to 4).
int dovStringToRgba(const char* text, int& r, int& g, int& b, int& a);
// Splits 0x00BBGGRR.
void dovColorrefToRgb(COLORREF colour, int& r, int& g, int& b);
