#pragma once
// A byte string that converts to `const char*` and formats printf-style.
#include <string>

class CString
{
public:
  CString() = default;
  CString(const char* text) : m_text(text ? text : "") {}
  CString(const std::string& text) : m_text(text) {}

  operator const char*() const { return m_text.c_str(); }
  const char* GetString() const { return m_text.c_str(); }
  const std::string& str() const { return m_text; }

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }

  // Replaces the content by the formatted text (any length).
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Exact byte comparison: <0, 0, >0.
  int Compare(const char* other) const;
  // ASCII case-insensitive comparison: <0, 0, >0.
  int CompareNoCase(const char* other) const;

  // First `count` characters (all when shorter).
  CString Left(int count) const;
  // Index of the first occurrence of `sub`, or -1.
  int Find(const char* sub) const;

  CString& operator+=(const char* text)
  {
    m_text += text ? text : "";
    return *this;
  }

  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

private:
  std::string m_text;
};
