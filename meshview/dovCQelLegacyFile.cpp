// Reading and writing legacy poly-data files.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include <vtkAppendPolyData.h>
#include <vtkCallbackCommand.h>
#include <vtkCommand.h>
#include <vtkNew.h>
#include <vtkPolyDataReader.h>
#include <vtkPolyDataWriter.h>
#include <zyn/dovPath.h>

#include "dovCQel.h"
#include "dovCQelLegacyCheck.h"

namespace
{
constexpr size_t s_maximumHeader = 255;

void onProgress(vtkObject*, unsigned long, void* container, void*)
{
  DovQelProgress(container);
}
} // namespace

int dovCQel::ReadQelFile(const char* path)
{
  dovCFile file;
  file.SetPath(path);
  if (!file.Exists())
    return 0;
  // The file is read once and checked before the toolkit's reader sees it; a file that
  // does not hold what it claims is refused and the container keeps what it had.
  std::ifstream in(path, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof())
    return 0;
  if (!dovQelLegacyFileIsSound(content))
    return 0;

  vtkNew<vtkPolyDataReader> reader;
  vtkNew<vtkCallbackCommand> progress;
  progress->SetCallback(onProgress);
  progress->SetClientData(this);
  reader->AddObserver(vtkCommand::ProgressEvent, progress);
  ResetProgress(6);
  reader->ReadFromInputStringOn();
  reader->SetInputString(content);
  reader->Update();
  if (reader->GetErrorCode() != 0 || !dovQelPolyDataIsSound(reader->GetOutput()))
    return 0;

  Clear();
  // A plain poly data, cut loose from the reader's pipeline.
  vtkNew<vtkPolyData> polyData;
  polyData->ShallowCopy(reader->GetOutput());
  m_polyData->AddItem(polyData);
  return 1;
}

int dovCQel::WriteQelFile(const char* path, const char* header)
{
  if (GetPolyDataCount() == 0 || !path)
    return 0;
  vtkNew<vtkAppendPolyData> append;
  m_polyData->ForEachItem([&append](vtkPolyData* item) { append->AddInputData(item); });
  append->Update();

  vtkNew<vtkPolyDataWriter> writer;
  writer->SetInputData(append->GetOutput());
  writer->SetFileName(path);
  // The header is one line of the file: a line break in it would end the header early and
  // make the rest of the file unreadable.
  std::string headerLine = std::string(header ? header : "").substr(0, s_maximumHeader);
  std::replace_if(headerLine.begin(), headerLine.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  writer->SetHeader(headerLine.c_str());
  writer->SetFileTypeToASCII();
  writer->SetFileVersion(vtkDataWriter::VTK_LEGACY_READER_VERSION_4_2);
  // Success is what the writer reports: a file left at the path by an earlier write
  // proves nothing.
  const int written = writer->Write();
  if (!written || writer->GetErrorCode() != 0)
    return 0;
  dovCFile file;
  file.SetPath(path);
  return file.Exists() ? 1 : 0;
}
