#include "preview/gui/PreviewGrid.h"

#include <QBitmap>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>

#include "preview/core/BuiltinPictures.h"
#include "preview/core/GridGeometry.h"

namespace cofferon {

void copyTemplateLook(QLabel* copy, const QLabel* templateBox, int tag)
{
    copy->setObjectName(templateBox->objectName() + QString::number(tag));
    copy->setFixedSize(templateBox->size());
    copy->setPalette(templateBox->palette());
    copy->setAutoFillBackground(templateBox->autoFillBackground());
    copy->setFrameStyle(templateBox->frameStyle());
    copy->setAlignment(templateBox->alignment());
}

SlotCell::SlotCell(int slot, const QLabel* templateBox, QWidget* parent) : QLabel(parent), m_slot(slot)
{
    copyTemplateLook(this, templateBox, slot);
}

void SlotCell::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT leftPressed(m_slot);
    else if (event->button() == Qt::RightButton)
        Q_EMIT rightPressed(m_slot, event->globalPosition().toPoint());
    event->accept();
}

void SlotCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked(m_slot);
    event->accept();
}

PreviewGrid::PreviewGrid(QLabel* templateBox, QLabel* redbox, Document& document, std::function<void()> refresh,
                         QObject* parent)
    : QObject(parent), m_template(templateBox), m_redbox(redbox), m_document(document), m_refresh(std::move(refresh))
{}

void PreviewGrid::buildGrid()
{
    QWidget* group = m_template->parentWidget();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        auto* cell = new SlotCell(slot, m_template, group);
        const CellPoint at = cellPosition(slot);
        cell->move(at.x, at.y);
        cell->show();
        connect(cell, &SlotCell::leftPressed, this, &PreviewGrid::onLeftPressed);
        connect(cell, &SlotCell::rightPressed, this, &PreviewGrid::onRightPressed);
        connect(cell, &SlotCell::doubleClicked, this, &PreviewGrid::editRequested);
        m_cells[static_cast<std::size_t>(slot - 1)] = cell;
    }
    shapeRedbox(m_redbox);
    m_redbox->raise();
    selectSlot(1);
    m_refresh();
}

SlotCell* PreviewGrid::cell(int slot) const
{
    Q_ASSERT(slot >= 1 && slot <= kSlotCount);
    return m_cells[static_cast<std::size_t>(slot - 1)];
}

void PreviewGrid::selectSlot(int slot)
{
    const CellPoint at = cellPosition(slot);
    m_redbox->move(at.x, at.y);
    m_document.currentSlot = slot;
}

void PreviewGrid::applyRowCount(int rows)
{
    const int visible = rows * kColumns;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        cell(slot)->setVisible(slot <= visible);
    if (m_document.currentSlot <= visible)
        return;
    selectSlot(slotWithinRows(m_document.currentSlot, rows));
    m_refresh();
}

void PreviewGrid::setPicture(int slot, const Picture& picture)
{
    cell(slot)->setPixmap(pictureToPixmap(picture));
}

void PreviewGrid::clearPicture(int slot)
{
    cell(slot)->clear();
}

void PreviewGrid::reset()
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        clearPicture(slot);
        cell(slot)->show();
    }
    selectSlot(1);
}

void PreviewGrid::onLeftPressed(int slot)
{
    selectSlot(slot);
    m_refresh();
}

void PreviewGrid::onRightPressed(int slot, QPoint globalPosition)
{
    // The preview is left as it was until the next refresh.
    selectSlot(slot);
    Q_EMIT slotMenuRequested(globalPosition);
}

QPixmap pictureToPixmap(const Picture& picture)
{
    QImage image;
    image.loadFromData(picture.data(), static_cast<int>(picture.size()), "BMP");
    return QPixmap::fromImage(image);
}

void shapeRedbox(QLabel* redbox)
{
    const QPixmap frame = pictureToPixmap(redboxPicture());
    const QColor transparent(kRedboxTransparent.r, kRedboxTransparent.g, kRedboxTransparent.b);
    const QBitmap shape = frame.createMaskFromColor(transparent, Qt::MaskInColor);
    QPixmap shown = frame;
    shown.setMask(shape);
    redbox->setPixmap(shown);
    redbox->setMask(shape);
}

}  // namespace cofferon
