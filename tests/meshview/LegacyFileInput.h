#pragma once
// One input for the legacy-file reader, as the fuzz target and the corpus replay run it:
// the bytes are read by a container that already holds a sphere.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include <vtkCellArray.h>

#include "MeshFixtures.h"

// Every id of every cell names one of the poly data's points.
inline bool idsNameExistingPoints(vtkPolyData* polyData)
{
  for (vtkCellArray* cells : {polyData->GetVerts(), polyData->GetLines(), polyData->GetPolys(), polyData->GetStrips()})
  {
    vtkIdType count = 0;
    const vtkIdType* ids = nullptr;
    for (cells->InitTraversal(); cells->GetNextCell(count, ids);)
      for (vtkIdType k = 0; k < count; ++k)
        if (ids[k] < 0 || ids[k] >= polyData->GetNumberOfPoints())
          return false;
  }
  return true;
}

// The reader's answer (0 refused, 1 read), or -1 when it broke a promise: a refused file
// changed the container, or a file that was read holds ids of points it does not have or
// does not write back into a file that reads again alike.
inline int readLegacyFileInput(const uint8_t* data, size_t size)
{
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::string stem = "meshview-legacy-input-" + std::to_string(getpid());
  const std::string input = (dir / (stem + ".vtk")).string();
  const std::string output = (dir / (stem + "-written.vtk")).string();
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  TestQel qel;
  std::unique_ptr<dovCZyn_Sphere> sphere(new dovCZyn_Sphere({}, 1, 8));
  qel.AddPolyData(sphere.get());
  const vtkIdType spherePoints = qel.GetPolyData(0)->GetNumberOfPoints();
  const int result = qel.ReadQelFile(input.c_str());
  int verdict = result;
  if (result == 0)
  {
    if (qel.GetPolyDataCount() != 1 || qel.GetPolyData(0)->GetNumberOfPoints() != spherePoints)
      verdict = -1;
  }
  else if (result != 1 || qel.GetPolyDataCount() != 1 || !idsNameExistingPoints(qel.GetPolyData(0)))
    verdict = -1;
  else if (qel.GetPolyData(0)->GetNumberOfPoints() > 0)
  {
    vtkPolyData* read = qel.GetPolyData(0);
    const vtkIdType points = read->GetNumberOfPoints();
    const vtkIdType cells = read->GetNumberOfCells();
    TestQel again;
    if (qel.WriteQelFile(output.c_str(), "again") != 1 || again.ReadQelFile(output.c_str()) != 1 ||
        again.GetPolyData(0)->GetNumberOfPoints() != points || again.GetPolyData(0)->GetNumberOfCells() != cells)
      verdict = -1;
  }
  std::filesystem::remove(input);
  std::filesystem::remove(output);
  return verdict;
}
