#pragma once
// A wire model file's content: units, precision, attribute tables, geometries, design
// rules with their markers, and wire models. The model owns all of them.
#include <vector>

#include "zyn/dovCZyn_DRCRule.h"
#include "zyn/dovCZyn_Shapes.h"
#include "zyn/dovCZyn_Table.h"
#include "zyn/dovCZyn_WireModel.h"

class dovCZyn : public dovCZyn_Object
{
  DECLARE_DYNAMIC(dovCZyn)

public:
  dovCZyn() = default;
  dovCZyn(const dovCZyn&) = delete;
  dovCZyn& operator=(const dovCZyn&) = delete;
  // Deletes geometries, markers and rules before the tables their attributes point into.
  ~dovCZyn() override;

  DOV_Zyn_UNITS GetUnits() const { return m_units; }
  void SetUnits(DOV_Zyn_UNITS units) { m_units = units; }
  long GetPrecision() const { return m_precision; }
  void SetPrecision(long precision) { m_precision = precision; }

  long GetTableCount() const { return static_cast<long>(m_tables.size()); }
  dovCZyn_Table* GetTable(long i) const;
  // First table with this name (exact); null when none.
  dovCZyn_Table* GetTable(const char* name) const;
  // Takes ownership; returns the table.
  dovCZyn_Table* AddTable(dovCZyn_Table* table);

  long GetGeometryCount() const { return static_cast<long>(m_geometries.size()); }
  dovCZyn_Geometry* GetGeometry(long i) const;
  // Takes ownership; returns the geometry.
  dovCZyn_Geometry* AddGeometry(dovCZyn_Geometry* geometry);

  long GetDRCRuleCount() const { return static_cast<long>(m_rules.size()); }
  dovCZyn_DRCRule* GetDRCRule(long i) const;
  dovCZyn_DRCRule* AddDRCRule(dovCZyn_DRCRule* rule);

  long GetDRCMarkerCount() const { return static_cast<long>(m_markers.size()); }
  dovCZyn_Geometry* GetDRCMarker(long i) const;
  dovCZyn_Geometry* AddDRCMarker(dovCZyn_Geometry* marker);

  long GetWireModelCount() const { return static_cast<long>(m_wireModels.size()); }
  dovCZyn_WireModel* GetWireModel(long i) const;
  dovCZyn_WireModel* AddWireModel(dovCZyn_WireModel* model);

private:
  DOV_Zyn_UNITS m_units = DOV_Zyn_MICRONS;
  long m_precision = 2;
  std::vector<dovCZyn_Table*> m_tables;
  std::vector<dovCZyn_Geometry*> m_geometries;
  std::vector<dovCZyn_DRCRule*> m_rules;
  std::vector<dovCZyn_Geometry*> m_markers;
  std::vector<dovCZyn_WireModel*> m_wireModels;
};
