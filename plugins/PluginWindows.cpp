// Ownership and tiling of the plot dialogs.

#include "PluginWindows.h"

#include "QELSheet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

std::vector<QRect> TileRects(int count, const QRect& screen)
{
    std::vector<QRect> tiles;
    if (count <= 0)
        return tiles;
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const QRect area(QPoint(screen.left() + 20, screen.top() + 30),
                     QPoint(screen.right() - 20, screen.bottom() - 30));
    const int w = area.width() / columns;
    const int h = area.height() / columns;
    QRect tile(area.topLeft(), QSize(w - 2, h - 2));
    for (int i = 0; i < count; ++i)
    {
        tiles.push_back(tile);
        tile.moveLeft(tile.right() + 1);
        if (tile.right() > area.right())
        {
            tile.moveLeft(area.left());
            tile.moveTop(tile.bottom() + 1);
        }
    }
    return tiles;
}

PluginWindows::~PluginWindows()
{
    // Widgets can only be deleted while the application object lives; at process exit it is
    // gone before the plug-in's statics, and the process takes the memory back anyway.
    if (QCoreApplication::instance())
        Clear();
}

void PluginWindows::Adopt(QELSheet* sheet, bool tracked)
{
    if (tracked)
    {
        m_tracked.push_back(sheet);
    }
    else
    {
        sheet->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_owned.push_back(sheet);
    // Forget dialogs that go by themselves, so that Clear never deletes one twice.
    QObject::connect(sheet, &QObject::destroyed, [this, sheet]() {
        m_owned.erase(std::remove(m_owned.begin(), m_owned.end(), sheet), m_owned.end());
        m_tracked.remove(sheet);
    });
}

void PluginWindows::StartTrackingSet()
{
    m_tracked.clear();
}

void PluginWindows::TileTrackingSet(const QRect& screen) const
{
    const std::vector<QRect> tiles = TileRects(static_cast<int>(m_tracked.size()), screen);
    auto tile = tiles.begin();
    for (QELSheet* sheet : m_tracked)
        sheet->setGeometry(*tile++);
}

void PluginWindows::Clear()
{
    m_tracked.clear();
    const std::vector<QELSheet*> owned = std::move(m_owned);
    m_owned.clear();
    for (QELSheet* sheet : owned)
        delete sheet;
}

PluginWindows& ThePluginWindows()
{
    static PluginWindows windows;
    return windows;
}
