#include "preview/gui/IconModel.h"

#include <QFile>
#include <QImage>
#include <QPainter>

namespace cofferon {

IconModel::IconModel(std::vector<IconFile> icons, QSize iconSize, QObject* parent)
    : QAbstractListModel(parent),
      m_icons(std::move(icons)),
      m_iconSize(iconSize),
      m_pictures(m_icons.size()),
      m_done(m_icons.size())
{}

int IconModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_icons.size());
}

QVariant IconModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole)
        return QFile::decodeName(QByteArray::fromStdString(m_icons[row].name));
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
}

QSize IconDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return m_iconSize;
}

}  // namespace cofferon
