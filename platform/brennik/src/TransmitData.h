// Transmit data: the container's seal, and the OCCT data inside it (shapes, free curves and
// surfaces), written by OCCT and read back only through guards, so that no bytes can make
// OCCT's readers loop, allocate without bound, or build a shape that crashes whoever walks it.
#pragma once

#include "BodyShapeChecks.h"

#include <Geom_Curve.hxx>
#include <Geom_Surface.hxx>
#include <TopoDS_Shape.hxx>

#include <string>

namespace brennik {

// The container: a header line naming the format, its version and form, the payload's length
// and a checksum of the payload; then the payload. Nothing of the payload is read before the
// header holds, so damaged data never reaches a reader.
std::string SealTransmitData(const std::string& payload, bool binary);
// The payload of sealed data of the form; false when the header does not hold.
bool UnsealTransmitData(const std::string& data, bool binary, std::string* payload);

std::string ShapeToData(const TopoDS_Shape& shape, bool binary);
// The shape of the data, when it is one a body can hold: read within the guards, well formed
// (no empty or misplaced sub-shape, no cycle), valid to OCCT's checker and every solid of
// positive volume. False otherwise (the shape is then null).
// `maps`, when given, gets the shape's faces, edges and vertices.
bool ShapeFromData(const std::string& data, bool binary, TopoDS_Shape* shape, SubShapeMaps* maps = nullptr);

// A curve or surface in OCCT's text form, read within the same guards; false when malformed.
bool CurveFromText(const std::string& text, Handle(Geom_Curve)* curve);
bool SurfaceFromText(const std::string& text, Handle(Geom_Surface)* surface);

}  // namespace brennik
