#include "zyn/dovPath.h"

#include <filesystem>
#include <system_error>

bool dovCPath::Exists() const
{
  if (m_path.IsEmpty())
    return false;
  std::error_code error;
  return std::filesystem::exists(m_path.GetString(), error);
}
