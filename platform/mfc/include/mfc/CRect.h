#pragma once
// Rectangle in pixel coordinates; right and bottom are exclusive.

class CRect
{
public:
  CRect() = default;
  CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }

  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
