#pragma once

#include <QAbstractListModel>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <vector>

#include "preview/core/IconListing.h"

namespace cofferon {

// The icons of a listing for a view, those the search finds. A picture is
// read and scaled to the icon size only when the view first shows it, so
// that a folder of thousands opens as fast as a folder of ten.
class IconModel : public QAbstractListModel {
    Q_OBJECT

public:
    IconModel(std::vector<IconFile> icons, QSize iconSize, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The picture as Qt::DecorationRole, the file name as Qt::DisplayRole,
    // the item ID as Qt::ToolTipRole.
    QVariant data(const QModelIndex& index, int role) const override;

    // Shows the icons whose item ID the search finds (itemIdMatches).
    void setSearch(const std::string& search);
    // The icon's 1-based place in the whole listing.
    int listingPlace(const QModelIndex& index) const;

    // How many pictures were read so far.
    int picturesRead() const { return m_read; }

private:
    std::vector<IconFile> m_icons;
    std::vector<std::string> m_ids;
    std::vector<int> m_shown;  // places in m_icons
    QSize m_iconSize;
    mutable std::vector<QPixmap> m_pictures;
    mutable std::vector<bool> m_done;
    mutable int m_read = 0;
};

// Paints an icon as a copy of the picker's template box would show it: its
// background, the picture from the top left corner.
class IconDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    IconDelegate(QSize iconSize, QColor background, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QSize m_iconSize;
    QColor m_background;
};

}  // namespace cofferon
