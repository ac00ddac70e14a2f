#pragma once
// Windows as message receivers. There is no window system behind them: a window is an
// object whose WindowProc answers the messages sent to its handle, and the desktop window
// reports the screen rectangle (settable by tests through mfc/test_control.h).
#include "mfc/CObject.h"
#include "mfc/CRect.h"
#include "mfc/Types.h"

class CWnd;
using HWND = CWnd*;

constexpr UINT WM_USER = 0x0400;

class CWnd : public CObject
{
  DECLARE_DYNAMIC(CWnd)

public:
  CWnd() : m_hWnd(this) {}
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  // Answers one message; the plain window ignores every message and answers 0.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's rectangle in screen coordinates.
  void GetWindowRect(CRect* rect) const;

  // The desktop window; its rectangle is the screen (1920 x 1080 unless a test sets it).
  static CWnd* GetDesktopWindow();

  HWND m_hWnd;

protected:
  CRect m_rect;

  friend void mfcTestSetDesktopRect(const CRect& rect);
};

// Delivers a message to the window behind the handle; 0 for a null handle.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
