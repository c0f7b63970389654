#include "preview/gui/IconModel.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStyle>

namespace cofferon {

IconModel::IconModel(std::vector<IconFile> icons, QSize iconSize, QObject* parent)
    : QAbstractListModel(parent),
      m_icons(std::move(icons)),
      m_iconSize(iconSize),
      m_pictures(m_icons.size()),
      m_done(m_icons.size())
{
    m_ids.reserve(m_icons.size());
    for (const IconFile& icon : m_icons)
        m_ids.push_back(pickedItemId(icon.name));
    setSearch({});
}

int IconModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

void IconModel::setSearch(const std::string& search)
{
    beginResetModel();
    m_shown.clear();
    for (std::size_t place = 0; place < m_ids.size(); ++place) {
        if (itemIdMatches(m_ids[place], search))
            m_shown.push_back(static_cast<int>(place));
    }
    endResetModel();
}

int IconModel::listingPlace(const QModelIndex& index) const
{
    return index.isValid() && index.row() < rowCount() ? m_shown[static_cast<std::size_t>(index.row())] + 1 : 0;
}

QVariant IconModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(m_shown[static_cast<std::size_t>(index.row())]);
    if (role == Qt::DisplayRole)
        return QFile::decodeName(QByteArray::fromStdString(m_icons[row].name));
    if (role == Qt::ToolTipRole)
        return QFile::decodeName(QByteArray::fromStdString(m_ids[row]));
    if (role != Qt::DecorationRole)
        return {};
    if (!m_done[row]) {
        m_done[row] = true;
        ++m_read;
        QImage image(QFile::decodeName(QByteArray::fromStdString(m_icons[row].path)));
        // A file that is no picture shows the bare box.
        if (!image.isNull() && image.size() != m_iconSize) {
            // Shrinking smooths; growing keeps the pixels sharp.
            const bool shrinking = image.width() > m_iconSize.width() || image.height() > m_iconSize.height();
            image = image.scaled(m_iconSize, Qt::KeepAspectRatio,
                                 shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
        }
        m_pictures[row] = QPixmap::fromImage(image);
    }
    return m_pictures[row];
}

IconDelegate::IconDelegate(QSize iconSize, QColor background, QObject* parent)
    : QStyledItemDelegate(parent), m_iconSize(iconSize), m_background(background)
{}

void IconDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect box(option.rect.topLeft(), m_iconSize);
    painter->fillRect(box, m_background);
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull())
        painter->drawPixmap(box.topLeft(), picture);
    // The marked icon wears a red frame, as the chest's current slot does,
    // lined in white so that it shows on red and magenta pictures too.
    if (option.state & QStyle::State_Selected) {
        painter->setPen(QPen(QColor(0xFF, 0x00, 0x00), 2));
        painter->drawRect(box.adjusted(1, 1, -1, -1));
        painter->setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1));
        painter->drawRect(box.adjusted(2, 2, -3, -3));
    }
}

QSize IconDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return m_iconSize;
}

}  // namespace cofferon
