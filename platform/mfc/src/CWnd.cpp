#include "mfc/CWnd.h"

#include "mfc/test_control.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM)
{
  return 0;
}

void CWnd::GetWindowRect(CRect* rect) const
{
  if (rect)
    *rect = m_rect;
}

CWnd* CWnd::GetDesktopWindow()
{
  static CWnd window;
  static const bool sized = (window.m_rect = CRect(0, 0, 1920, 1080), true);
  (void)sized;
  return &window;
}

void mfcTestSetDesktopRect(const CRect& rect)
{
  CWnd::GetDesktopWindow()->m_rect = rect;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return window ? window->WindowProc(message, wParam, lParam) : 0;
}
