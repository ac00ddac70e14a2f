// Layer colours: the per-layer summary table, and recolouring a whole layer.
#include <map>

#include <vtkActor.h>
#include <vtkProperty.h>
#include <zyn/dovColor.h>

#include "dovCQel.h"

namespace
{
constexpr const char* s_layerColorTable = "Zyn_INT_LAYER_COLOR";
constexpr COLORREF s_noColour = 0xFFFFFFFF;
constexpr double s_colourScale = 0.003921569; // 1/255

CString rgbaText(int r, int g, int b, int a)
{
  CString text;
  text.Format("%d %d %d %d", r, g, b, a);
  return text;
}
} // namespace

void dovCQel::BuildLayerColorTable()
{
  for (int i = 0; i < m_tables.GetSize(); ++i)
    if (CString(m_tables[i]->GetName()) == s_layerColorTable)
    {
      DeleteTableAt(i);
      break;
    }
  auto* summary = new dovCZyn_Table(s_layerColorTable);
  m_tables.Add(summary);

  const dovCZyn_Table* layers = GetTable("LAYER");
  if (!layers || !GetTable("COLOR"))
    return;
  for (long i = 0; i < layers->GetAttributeCount(); ++i)
  {
    const dovCZyn_Attribute* layer = layers->EnumAttribute(i);
    int r = 255, g = 255, b = 255, a = 255;
    ForEachPolyDataReferrer(layer->GetReferrers(), [&](dovCQelPolyData* polyData) {
      if (r == -1 && a == -1)
        return;
      int r2, g2, b2, a2;
      polyData->GetColor(r2, g2, b2, a2);
      if (r != -1 && !(r == r2 && g == g2 && b == b2))
      {
        // White counts as not yet seen.
        if (r == 255 && g == 255 && b == 255)
          r = r2, g = g2, b = b2;
        else
          r = g = b = -1;
      }
      if (a != -1 && a2 != a)
        a = a == 255 ? a2 : -1;
    });
    summary->AddAttribute(layer->GetIndex(), rgbaText(r, g, b, a));
  }
}

void dovCQel::GetLayerColors(long layer, dovCArray<dovCZyn_Attribute*>* out) const
{
  const dovCZyn_Table* layers = GetTable("LAYER");
  const dovCZyn_Attribute* row = layers ? layers->GetAttribute(layer) : nullptr;
  if (!row || !out)
    return;
  out->RemoveAll();
  ForEachPolyDataReferrer(row->GetReferrers(), [&](dovCQelPolyData* polyData) {
    dovCZyn_Attribute* colour = polyData->GetAttribute("COLOR");
    if (!colour)
      return;
    for (dovCZyn_Attribute* held : *out)
      if (held == colour)
        return;
    out->Add(colour);
  });
}

void dovCQel::GetLayerColor(long layer, COLORREF& colour, int& alpha) const
{
  colour = 0xFFFFFF;
  alpha = 255;
  const dovCZyn_Table* summary = GetTable(s_layerColorTable);
  const dovCZyn_Attribute* row = summary ? summary->GetAttribute(layer) : nullptr;
  if (!row)
    return;
  int r = 255, g = 255, b = 255, a = 255;
  dovStringToRgba(row->GetValue(), r, g, b, a);
  colour = r == -1 ? s_noColour : static_cast<COLORREF>(r + 256 * g + 65536 * b);
  alpha = a;
}

void dovCQel::SetLayerColor(long layer, COLORREF colour, int alpha)
{
  const bool newColour = colour != s_noColour;
  const bool newAlpha = alpha != -1;
  if (!newColour && !newAlpha)
    return;
  const dovCZyn_Table* layers = GetTable("LAYER");
  if (!layers)
    return;
  dovCZyn_Table* colours = GetTable("COLOR");
  if (!colours)
  {
    colours = new dovCZyn_Table("COLOR");
    m_tables.Add(colours);
  }
  const dovCZyn_Attribute* layerRow = layers->GetAttribute(layer);
  if (!layerRow)
    return;

  int R = -1, G = -1, B = -1;
  if (newColour)
    dovColorrefToRgb(colour, R, G, B);
  const int A = newAlpha ? alpha : -1;
  long maximum = colours->GetMaximumIndex();

  // The "COLOR" row for an old colour text with the new parts put in, shared by every
  // poly data that had that colour.
  auto rowFor = [&](const char* oldText) {
    int r = 255, g = 255, b = 255, a = 255;
    dovStringToRgba(oldText, r, g, b, a);
    if (newColour)
      r = R, g = G, b = B;
    if (newAlpha)
      a = A;
    const CString text = rgbaText(r, g, b, a);
    dovCZyn_Attribute* row = colours->FindValue(text);
    return row ? row : colours->AddAttribute(++maximum, text);
  };

  dovCArray<dovCZyn_Attribute*> old;
  GetLayerColors(layer, &old);
  std::map<dovCZyn_Attribute*, dovCZyn_Attribute*> replacements;
  for (dovCZyn_Attribute* o : old)
    replacements[o] = rowFor(o->GetValue());
  // Poly data without a colour get a row of the table as well (white with the new parts),
  // so the colour is seen by GetColor and shared safely.
  dovCZyn_Attribute* uncoloured = nullptr;

  ForEachPolyDataReferrer(layerRow->GetReferrers(), [&](dovCQelPolyData* polyData) {
    if (dovCZyn_Attribute* c = polyData->GetAttribute("COLOR"))
    {
      polyData->ReplaceAttribute(c, replacements[c]);
      // A colour of its own (no table row) belonged to this poly data alone.
      if (!c->GetTable() && c != replacements[c])
      {
        bool held = false;
        for (long i = 0; i < polyData->GetAttributeCount(); ++i)
          held = held || polyData->EnumAttribute(i) == c;
        if (!held)
          delete c;
      }
    }
    else
    {
      if (!uncoloured)
        uncoloured = rowFor("");
      polyData->AddAttribute(uncoloured);
    }
    if (vtkActor* actor = polyData->GetActor())
    {
      if (newColour)
        actor->GetProperty()->SetColor(R * s_colourScale, G * s_colourScale, B * s_colourScale);
      if (newAlpha)
        actor->GetProperty()->SetOpacity(A * s_colourScale);
    }
  });
  BuildLayerColorTable();
}
