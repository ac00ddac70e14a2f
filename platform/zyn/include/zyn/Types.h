#pragma once
// Codes of the wire-model library. All are 32-bit, whatever the platform's long.
#include <cstdint>

// Model units.
enum DOV_Zyn_UNITS : std::int32_t
{
  DOV_Zyn_MICRONS = 1,
  DOV_Zyn_MILLIMETERS = 2,
  DOV_Zyn_CENTIMETERS = 3,
  DOV_Zyn_MILS = 4,
  DOV_Zyn_INCHES = 5,
};

// Object type codes answered by GetObjectType.
enum DOV_Zyn_OBJ : std::int32_t
{
  DOV_Zyn_OBJ_OBJECT = 1,
  DOV_Zyn_OBJ_TABLE = 2,
  DOV_Zyn_OBJ_ATTRIBUTE = 3,
  DOV_Zyn_OBJ_GEOMETRY = 7,
  DOV_Zyn_OBJ_EXTRUSION = 8,
  DOV_Zyn_OBJ_WIRE = 9,
  DOV_Zyn_OBJ_SPHERE = 10,
  DOV_Zyn_OBJ_BARREL = 11,
  DOV_Zyn_OBJ_2DPOLYGON = 12,
  DOV_Zyn_OBJ_2DCIRCLE = 13,
  DOV_Zyn_OBJ_2DPOINT = 15,
  DOV_Zyn_OBJ_3DPOLYLINE = 17,
  DOV_Zyn_OBJ_3DPOINT = 18,
  DOV_Zyn_OBJ_3DVECTOR = 19,
  DOV_Zyn_OBJ_3DLINE = 20,
  DOV_Zyn_OBJ_PLANE = 21,
  DOV_Zyn_OBJ_3DBOX = 22,
  DOV_Zyn_OBJ_DRCRULE = 23,
  DOV_Zyn_OBJ_WIREMODEL = 25,
  DOV_Zyn_OBJ_WMSTEP = 26,
};

// How the amount of a wire-model step is measured.
enum DOV_Zyn_WM_STEP : std::int32_t
{
  DOV_Zyn_WM_LENGTH = 1, // an absolute length
  DOV_Zyn_WM_RATIO = 2,  // a fraction of the span (horizontal) or of the height difference
  DOV_Zyn_WM_ANGLE = 3,  // an angle in degrees
};
