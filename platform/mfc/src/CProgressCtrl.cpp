#include "mfc/CProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

LRESULT CProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  m_messages.push_back({message, wParam, lParam});
  const int previous = m_pos;
  switch (message)
  {
  case PBM_SETRANGE32:
  {
    const LRESULT old = (m_lower & 0xFFFF) | ((m_upper & 0xFFFF) << 16);
    m_lower = static_cast<int>(wParam);
    m_upper = static_cast<int>(lParam);
    return old;
  }
  case PBM_SETRANGE:
  {
    const LRESULT old = (m_lower & 0xFFFF) | ((m_upper & 0xFFFF) << 16);
    m_lower = static_cast<int>(lParam & 0xFFFF);
    m_upper = static_cast<int>((lParam >> 16) & 0xFFFF);
    return old;
  }
  case PBM_SETPOS:
    m_pos = static_cast<int>(wParam);
    return previous;
  case PBM_DELTAPOS:
    m_pos += static_cast<int>(wParam);
    return previous;
  case PBM_SETSTEP:
  {
    const int old = m_step;
    m_step = static_cast<int>(wParam);
    return old;
  }
  case PBM_STEPIT:
    m_pos += m_step;
    if (m_pos > m_upper)
      m_pos = m_lower + (m_pos - m_upper);
    return previous;
  default:
    return 0;
  }
}
