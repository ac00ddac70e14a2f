#include "zyn/dovString.h"

#include <cstring>
#include <string>

int dovParseString(const char* text, const char* separators, dovCStringArray& tokens)
{
  tokens.RemoveAll();
  const std::string s = text ? text : "";
  const char* seps = separators ? separators : "";
  size_t at = 0;
  while (at < s.size())
  {
    const size_t start = s.find_first_not_of(seps, at);
    if (start == std::string::npos)
      break;
    size_t end = s.find_first_of(seps, start);
    if (end == std::string::npos)
      end = s.size();
    tokens.Add(CString(s.substr(start, end - start)));
    at = end;
  }
  return tokens.GetSize();
}
