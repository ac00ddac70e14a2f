#pragma once
// Paths and files.
#include <mfc/CString.h>

class dovCPath
{
public:
  dovCPath() = default;
  explicit dovCPath(const char* path) : m_path(path) {}
  virtual ~dovCPath() = default;

  void SetPath(const char* path) { m_path = path; }
  const char* GetPath() const { return m_path; }
  // True when something exists at the path; false for an empty path.
  bool Exists() const;

private:
  CString m_path;
};

class dovCFile : public dovCPath
{
public:
  using dovCPath::dovCPath;
};
