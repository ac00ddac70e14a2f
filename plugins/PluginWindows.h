#pragma once
// The plug-in's process-wide windows: every dialog it made (so that it can delete them
// before it is unloaded) and the tracking list of scatter dialogs that the host tiles.

#include <QRect>

#include <list>
#include <vector>

class QELSheet;

// The tiles for count windows on a screen: a square grid of ceil(sqrt(count)) columns and
// as many rows over the screen inset by 20 at the sides and 30 at top and bottom, filled
// row by row, each tile 2 smaller than its cell.
std::vector<QRect> TileRects(int count, const QRect& screen);

class PluginWindows
{
public:
    ~PluginWindows();

    // Takes a new dialog; tracked dialogs are kept until Clear, the others are deleted when
    // they are closed.
    void Adopt(QELSheet* sheet, bool tracked);

    // Empties the tracking list; the dialogs stay as they are.
    void StartTrackingSet();

    // Gives each tracked dialog, hidden ones too, its tile on the screen.
    void TileTrackingSet(const QRect& screen) const;

    // Deletes every dialog still alive and empties the tracking list.
    void Clear();

    const std::list<QELSheet*>& Tracked() const { return m_tracked; }

private:
    std::list<QELSheet*> m_tracked;
    std::vector<QELSheet*> m_owned;
};

// The one instance of the loaded plug-in.
PluginWindows& ThePluginWindows();
