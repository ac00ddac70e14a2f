#pragma once
// Renders a renderer's picture enlarged by an integer magnification, tile by tile.
// Exported for the application's own use.
#include <vtkRenderLargeImage.h>

#include "dovQelExport.h"

class DOV_QEL_API dovCQelRenderLargeImage : public vtkRenderLargeImage
{
public:
  // Asks the object factory for "dovCQelRenderLargeImage" first.
  static dovCQelRenderLargeImage* New();
  vtkTypeMacro(dovCQelRenderLargeImage, vtkRenderLargeImage);

protected:
  dovCQelRenderLargeImage() = default;
  ~dovCQelRenderLargeImage() override = default;

private:
  dovCQelRenderLargeImage(const dovCQelRenderLargeImage&) = delete;
  void operator=(const dovCQelRenderLargeImage&) = delete;
};
