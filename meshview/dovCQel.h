#pragma once
// The mesh library's container and view. It is filled from a wire model (ImportData) or a
// legacy poly-data file (ReadQelFile), holds the converted poly data with the model's
// tables, design rules and wire models, shows the poly data in an interactive window and
// writes them to a legacy poly-data file.
//
// The container owns its tables, design rules and wire models; its collection holds one
// reference to each poly data; its id map owns nothing.
#include <algorithm>
#include <vector>

#include <mfc/CArray.h>
#include <mfc/CMap.h>
#include <mfc/CObject.h>
#include <mfc/CProgressCtrl.h>
#include <zyn/dovCZyn.h>
#include <zyn/dovString.h>

#include "dovCQelPolyData.h"
#include "dovCQelPolyDataCollection.h"
#include "dovQelExport.h"

class vtkPolyData;

class DOV_QEL_API dovCQel : public CObject
{
  DECLARE_DYNAMIC(dovCQel)

public:
  dovCQel();
  ~dovCQel() override;
  dovCQel(const dovCQel&) = delete;
  dovCQel& operator=(const dovCQel&) = delete;

  // Replaces the content by a converted copy of the model.
  void ImportData(dovCZyn* model);
  // Adds the model's "DRC_ERROR" object and layer rows to its markers and converts them.
  void ImportDRCMarkers(dovCZyn* model);
  // 0 when the path does not exist or the file does not hold the poly data it claims
  // (the container then keeps what it had); else clears, reads the file as the only item, 1.
  int ReadQelFile(const char* path);
  // Writes all poly data as one ASCII legacy file (version 4.2) with at most the first
  // 255 characters of `header`. 1 when the file was written; 0, writing nothing, when
  // there is no poly data or the writer fails.
  int WriteQelFile(const char* path, const char* header);
  // Shows the poly data in a 600 x 600 window centred on the desktop and returns when the
  // window is closed.
  void ViewPolyData(const char* title, COLORREF background);

  long GetPolyDataCount() const;
  // Item i; null when out of range.
  vtkPolyData* GetPolyData(long i) const;
  // The poly data recorded for a geometry "ID"; null when absent.
  dovCQelPolyData* GetPolyDataByID(long id) const;
  // 1 and the entry replaced when the id is known; else 0 and nothing inserted.
  int UpdatePolydata(long id, dovCQelPolyData* polyData);
  // When held: detaches its attributes (deleting the ones it owns), drops its id-map
  // entries and wire-model references, and removes it from the collection.
  void DeletePolyData(dovCQelPolyData* polyData);

  // Conversions of one geometry each; see the conversion sources.
  void AddPolyData(dovCZyn_Extrusion* extrusion);
  void AddPolyData(dovCZyn_Wire* wire, dovCQelPolyData* target = nullptr);
  void AddPolyData(dovCZyn_Sphere* sphere);
  void AddPolyData(dovCZyn_Barrel* barrel);

  long GetTableCount() const { return m_tables.GetSize(); }
  dovCZyn_Table* GetTable(long i) const;
  // First table with this name (exact); null when none.
  dovCZyn_Table* GetTable(const char* name) const;
  // Appends; the container owns the table from then on.
  void AddTable(dovCZyn_Table* table);
  // Row `index` of the named table (made when missing), set to `value`.
  dovCZyn_Attribute* AddAttribute(const char* table, long index, const char* value);
  // The table's RemoveAttribute; 0 when there is no such table.
  int RemoveAttribute(const char* table, long index);
  // 0 when table or row is missing.
  long GetAttributeReferenceCount(const char* table, long index) const;
  // Drops the unreferenced rows but row 0 of one table ("Zyn_INT_" tables are kept).
  void PurgeTable(const char* name);
  // Drops the unreferenced rows of every table not named "Zyn_INT_...".
  void PurgeAllTables();

  long GetDRCRuleCount() const { return m_drcRules.GetSize(); }
  long GetMaximumDRCIndex() const;
  dovCZyn_DRCRule* GetDRCRule(long i) const;
  dovCZyn_DRCRule* GetDRCRule(const char* name) const;
  // Appends a copy; the caller keeps its object.
  void AddDRCRule(dovCZyn_DRCRule* rule);
  void DeleteDRCRule(long i);

  long GetWireModelCount() const { return m_wireModels.GetSize(); }
  long GetMaximumWireModelIndex() const;
  dovCZyn_WireModel* GetWireModel(long i) const;
  // Appends a copy flagged as updated.
  void AddWireModel(dovCZyn_WireModel* model);
  // 0 when out of range or still referenced; else deletes it, 1.
  int DeleteWireModel(long i);

  // Copies name, direction, radius and steps of `source` into wire model `index` and
  // relabels the radius of its wires; 0 for a bad index.
  int SetWireModel(long index, dovCZyn_WireModel* source, int all);
  // Stores `spec` as row `index` of "WIRE_MODEL" and rebuilds the wires using the row.
  int UpdateWireModel(long index, const char* spec);
  // Rebuilds the wires of wire model `index` from its steps; 0 for a bad index.
  int UpdateWireModel(long index);
  // Wires of wire model `index` whose ring radius differs from the model's (as text).
  long GetSpecialWireCount(long index) const;

  // The layer's summarised colour (0xFFFFFFFF when not uniform) and alpha.
  void GetLayerColor(long layer, COLORREF& colour, int& alpha) const;
  // Recolours the layer; 0xFFFFFFFF / -1 leave colour / alpha unchanged.
  void SetLayerColor(long layer, COLORREF colour, int alpha);
  // The distinct "COLOR" attributes of the layer's poly data, in order of first use.
  void GetLayerColors(long layer, dovCArray<dovCZyn_Attribute*>* out) const;

  // The control is not owned; null switches progress off.
  void SetProgressBar(CProgressCtrl* progressBar) { m_progressBar = progressBar; }
  void ResetProgress(long steps);
  void DoProgress();

  const char* GetUnitsAsString() const { return UnitsToString(m_units); }
  long GetPrecision() const { return m_precision; }
  long GetRenderMode() const { return m_renderMode; }
  void SetRenderMode(long mode) { m_renderMode = mode; }

protected:
  // Empties the collection and id map and deletes the design rules and tables.
  void Clear();
  // Rebuilds the layer-colour summary table "Zyn_INT_LAYER_COLOR".
  void BuildLayerColorTable();
  static DOV_Zyn_UNITS StringToUnits(const char* name);
  static const char* UnitsToString(DOV_Zyn_UNITS units);

private:
  // The render-mode bit that asks for polygon cells.
  bool WantsCells() const { return (m_renderMode & 4) != 0; }
  // Adds to `polyData` the container row or a free copy of a geometry attribute.
  void TransferAttribute(dovCZyn_Attribute* attribute, dovCQelPolyData* polyData);
  void TransferAttributes(const dovCZyn_Geometry* geometry, dovCQelPolyData* polyData);
  // Sets the type, appends to the collection and drops the creator's reference.
  void AppendPolyData(dovCQelPolyData* polyData, DOV_Zyn_OBJ type);
  // Converts by object type; the new item or null.
  dovCQelPolyData* ConvertGeometry(dovCZyn_Geometry* geometry);
  void ConvertDRCMarkers(dovCZyn* model, bool skipMarked);
  // Undoes every link of the container's lists to a poly data that leaves the collection.
  void ReleasePolyData(dovCQelPolyData* polyData, bool detachOwned);
  void ReleaseAllPolyData();
  // Replaces wire `old` by one along `wire`, keeping its attributes, position, id-map
  // entries, wire-model references and view. Null, changing nothing, when the wire
  // yields no geometry.
  dovCQelPolyData* ReplaceWire(dovCQelPolyData* old, dovCZyn_Wire& wire, const char* vertexCount);
  void DeleteTableAt(int i);
  template <class FN>
  void ForEachPolyDataReferrer(const dovCZyn_ReferrerList& referrers, FN fn) const;

  DOV_Zyn_UNITS m_units = DOV_Zyn_MICRONS;
  long m_precision = 2;
  long m_renderMode = 4;
  dovCQelPolyDataCollection* m_polyData = nullptr;
  CArray<dovCZyn_Table*> m_tables;
  CArray<dovCZyn_DRCRule*> m_drcRules;
  CArray<dovCZyn_WireModel*> m_wireModels;
  CProgressCtrl* m_progressBar = nullptr;
  CMap<long, dovCQelPolyData*> m_polyDataById;
};

// Steps the progress of the container `container` points to (the readers' progress hook).
DOV_QEL_API void DovQelProgress(void* container);

// Calls `fn` once for each poly data among the referrers. The lists also hold other kinds
// (design-rule marker copies), which are skipped; the walk runs over a copy of the list and
// skips referrers that left the list meanwhile, so `fn` may rebuild or release poly data.
template <class FN>
void dovCQel::ForEachPolyDataReferrer(const dovCZyn_ReferrerList& referrers, FN fn) const
{
  std::vector<dovCZyn_Referrer*> done;
  for (dovCZyn_Referrer* referrer : referrers.Snapshot())
  {
    if (!referrers.HasReference(referrer) ||
        std::find(done.begin(), done.end(), referrer) != done.end())
      continue;
    done.push_back(referrer);
    if (auto* polyData = dynamic_cast<dovCQelPolyData*>(referrer))
      fn(polyData);
  }
}
