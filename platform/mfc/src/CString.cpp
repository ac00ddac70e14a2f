#include "mfc/CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

void CString::Format(const char* format, ...)
{
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0)
  {
    va_end(args);
    m_text.clear();
    return;
  }
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  m_text.assign(buffer.data(), static_cast<size_t>(length));
}

int CString::Compare(const char* other) const
{
  return std::strcmp(m_text.c_str(), other ? other : "");
}

int CString::CompareNoCase(const char* other) const
{
  return ::strcasecmp(m_text.c_str(), other ? other : "");
}

CString CString::Left(int count) const
{
  if (count <= 0)
    return CString();
  return CString(m_text.substr(0, static_cast<size_t>(count)));
}

int CString::Find(const char* sub) const
{
  const size_t at = m_text.find(sub ? sub : "");
  return at == std::string::npos ? -1 : static_cast<int>(at);
}
