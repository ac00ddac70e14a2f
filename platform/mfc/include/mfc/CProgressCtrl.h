#pragma once
// Progress bar control. It keeps range, position and step as the real control does, and
// records every message it receives, in order, so that callers can be checked.
#include <vector>

#include "mfc/CWnd.h"

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;

class CProgressCtrl : public CWnd
{
  DECLARE_DYNAMIC(CProgressCtrl)

public:
  struct Message
  {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    friend bool operator==(const Message& a, const Message& b)
    {
      return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
    }
  };

  // PBM_SETRANGE32 (low, high), PBM_SETRANGE (0, MAKELPARAM(low, high)), PBM_SETPOS,
  // PBM_DELTAPOS, PBM_SETSTEP (each answering the previous value) and PBM_STEPIT, which
  // wraps to the lower bound when it passes the upper one. Other messages answer 0.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  void GetRange(int& lower, int& upper) const
  {
    lower = m_lower;
    upper = m_upper;
  }
  int GetPos() const { return m_pos; }
  int GetStep() const { return m_step; }

  const std::vector<Message>& GetMessages() const { return m_messages; }
  void ClearMessages() { m_messages.clear(); }

private:
  int m_lower = 0;
  int m_upper = 100;
  int m_pos = 0;
  int m_step = 10;
  std::vector<Message> m_messages;
};
