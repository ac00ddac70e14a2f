#include "zyn/dovColor.h"

#include <cstdlib>

int dovStringToRgba(const char* text, int& r, int& g, int& b, int& a)
{
  int* components[] = {&r, &g, &b, &a};
  int read = 0;
  const char* at = text ? text : "";
  for (int* component : components)
  {
    char* end = nullptr;
    const long value = std::strtol(at, &end, 10);
    if (end == at)
      break;
    *component = static_cast<int>(value);
    at = end;
    ++read;
  }
  return read;
}

void dovColorrefToRgb(COLORREF colour, int& r, int& g, int& b)
{
  r = GetRValue(colour);
  g = GetGValue(colour);
  b = GetBValue(colour);
}
