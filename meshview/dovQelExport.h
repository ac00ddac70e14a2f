#pragma once
// Marks the classes and functions the mesh library exports; everything else stays hidden.
#define DOV_QEL_API __attribute__((visibility("default")))
