#include "preview/gui/PreviewGrid.h"

#include <QApplication>
#include <QBitmap>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "document/core/ItemId.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/GridGeometry.h"
#include "preview/gui/PreviewText.h"

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
    m_pressPosition = event->position().toPoint();
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
    m_dragPicture = new QLabel(group);
    m_dragPicture->setObjectName(QStringLiteral("拖动图标"));
    m_dragPicture->setFixedSize(m_template->size());
    m_dragPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragPicture->hide();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        auto* cell = new SlotCell(slot, m_template, group);
        const CellPoint at = cellPosition(slot);
        cell->move(at.x, at.y);
        cell->show();
        connect(cell, &SlotCell::leftPressed, this, &PreviewGrid::onLeftPressed);
        connect(cell, &SlotCell::rightPressed, this, &PreviewGrid::onRightPressed);
        connect(cell, &SlotCell::doubleClicked, this, &PreviewGrid::editRequested);
        cell->installEventFilter(this);
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

bool PreviewGrid::hasKeys() const
{
    const auto* focused = qobject_cast<const SlotCell*>(m_template->window()->focusWidget());
    return focused && cell(focused->slot()) == focused;
}

void PreviewGrid::selectSlot(int slot)
{
    const CellPoint at = cellPosition(slot);
    m_redbox->move(at.x, at.y);
    m_document.currentSlot = slot;
    // The keys follow the frame, so that they always act on what it shows.
    if (hasKeys() && !cell(slot)->isHidden())
        cell(slot)->setFocus(Qt::OtherFocusReason);
}

void PreviewGrid::applyRowCount(int rows)
{
    // Hiding the focused cell would hand the keys to the next control in the
    // window (a button, which Space then presses); they stay with the grid.
    const bool hadKeys = hasKeys();
    const int visible = rows * kColumns;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        cell(slot)->setVisible(slot <= visible);
    if (m_document.currentSlot > visible) {
        selectSlot(slotWithinRows(m_document.currentSlot, rows));
        m_refresh();
    }
    if (hadKeys)
        cell(m_document.currentSlot)->setFocus(Qt::OtherFocusReason);
}

void PreviewGrid::setPicture(int slot, const Picture& picture)
{
    cell(slot)->setPixmap(pictureToPixmap(picture));
}

void PreviewGrid::clearPicture(int slot)
{
    cell(slot)->clear();
}

void PreviewGrid::onLeftPressed(int slot)
{
    // A left click gives the grid the keys. Not a right click, which opens the
    // slot menu and leaves the focus where it was; and not Tab, which would
    // have 54 stops.
    cell(slot)->setFocus(Qt::MouseFocusReason);
    selectSlot(slot);
    m_refresh();
    m_dragFrom = slot;
    m_dragging = false;
}

void PreviewGrid::endDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_dragPicture->hide();
    cell(m_dragFrom)->unsetCursor();
    // Until the next press: moving on with the button still down starts no new drag.
    m_dragFrom = 0;
}

int PreviewGrid::visibleSlotAt(QPoint groupPosition) const
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!cell(slot)->isHidden() && cell(slot)->geometry().contains(groupPosition))
            return slot;
    }
    return 0;
}

bool PreviewGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* slotCell = qobject_cast<SlotCell*>(watched);
    if (!slotCell)
        return false;
    if (m_dragging && breaksDrag(event)) {
        endDrag();
        // The button or Esc that broke the drag off does nothing else; any
        // other key goes on to do its work.
        const bool keyGoesOn = (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape;
        if (!keyGoesOn && event->type() != QEvent::FocusOut)
            return true;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        return cellMouseMoved(slotCell, static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return cellMouseReleased(slotCell, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
        return cellKeyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::ToolTip:
        return cellToolTip(slotCell, static_cast<QHelpEvent*>(event));
    default:
        return false;
    }
}

bool PreviewGrid::breaksDrag(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Another button; the left one is down already.
        return true;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
        // Shortcuts such as Ctrl+Z come as an override first. Ctrl itself
        // chooses copying, and no other modifier breaks the drag either.
        const int key = static_cast<const QKeyEvent*>(event)->key();
        return key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt && key != Qt::Key_Meta &&
            key != Qt::Key_AltGr;
    }
    case QEvent::FocusOut:
        // A popup, a modal window or another window or control taking the keys.
        return true;
    default:
        return false;
    }
}

bool PreviewGrid::cellMouseMoved(SlotCell* slotCell, QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_dragFrom != slotCell->slot())
        return false;
    const QPoint at = event->position().toPoint();
    if (!m_dragging) {
        // A press that moves less than this stays a plain selection.
        if ((at - slotCell->pressPosition()).manhattanLength() < QApplication::startDragDistance() ||
            !isValidItemId(m_document.slots[m_dragFrom].id))
            return false;
        m_dragging = true;
        m_dragPicture->setPixmap(slotCell->pixmap());
        m_dragPicture->raise();
        m_dragPicture->show();
        slotCell->setCursor(Qt::ClosedHandCursor);
    }
    m_dragPicture->move(slotCell->mapToParent(at) - QPoint(kCellSize / 2, kCellSize / 2));
    return true;
}

bool PreviewGrid::cellMouseReleased(SlotCell* slotCell, QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return false;
    const int from = m_dragFrom;
    endDrag();
    const int to = visibleSlotAt(slotCell->mapToParent(event->position().toPoint()));
    if (to != 0 && to != from)
        Q_EMIT slotDragged(from, to, event->modifiers() & Qt::ControlModifier);
    return true;
}

bool PreviewGrid::cellKeyPressed(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        Q_EMIT copyRequested();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        Q_EMIT pasteRequested();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        moveSelection(-1, 0);
        return true;
    case Qt::Key_Right:
        moveSelection(1, 0);
        return true;
    case Qt::Key_Up:
        moveSelection(0, -1);
        return true;
    case Qt::Key_Down:
        moveSelection(0, 1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT editRequested(m_document.currentSlot);
        return true;
    case Qt::Key_Delete:
        Q_EMIT emptyRequested();
        return true;
    default:
        return false;
    }
}

void PreviewGrid::moveSelection(int columns, int rows)
{
    const int current = m_document.currentSlot;
    const int column = std::clamp(slotColumn(current) + columns, 1, kColumns);
    int row = std::clamp(slotRow(current) + rows, 1, kMaxRows);
    while (row > 1 && cell(cofferon::slotAt(row, column))->isHidden())
        --row;
    const int target = cofferon::slotAt(row, column);
    if (target == current || cell(target)->isHidden())
        return;
    selectSlot(target);
    m_refresh();
}

SlotRecord PreviewGrid::toolTipRecord(int slot) const
{
    SlotRecord record = m_document.slots[slot];
    if (const std::string note = m_toolTipNote ? m_toolTipNote(slot) : std::string(); !note.empty())
        record.lore += (record.lore.empty() || record.lore.ends_with("\r\n") ? "" : "\r\n") + note;
    return record;
}

bool PreviewGrid::cellToolTip(SlotCell* slotCell, QHelpEvent* event)
{
    const SlotRecord record = toolTipRecord(slotCell->slot());
    if (isValidItemId(record.id))
        showSlotToolTip(record, event->globalPos(), slotCell, slotCell->rect());
    else
        QToolTip::hideText();
    return true;
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
