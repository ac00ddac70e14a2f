#pragma once
// Checks that keep malformed legacy poly-data files away from the toolkit's reader, which
// trusts every count, id and offset a file states: it reads past its buffers on a cell
// count larger than the data, allocates whatever a count claims, and hands out-of-range
// point ids to the renderer.
#include <string>

class vtkPolyData;

// True when the file is a poly-data file (ASCII or binary, versions before 5 and 5.x)
// whose every section can be read as it claims: each count fits in the bytes that remain,
// each value parses as its type, every cell lists point ids below the number of points,
// and the 5.x offsets rise from 0 to the size of the connectivity. Files with sections
// this check does not know are refused as well.
bool dovQelLegacyFileIsSound(const std::string& content);

// True when every cell of the poly data lists existing points and its point and cell data
// arrays have one tuple per point or cell.
bool dovQelPolyDataIsSound(vtkPolyData* polyData);
