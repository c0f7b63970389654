#pragma once

#include <QLabel>

#include <array>
#include <functional>

#include "document/core/Document.h"
#include "preview/core/Bitmap.h"

class QHelpEvent;
class QKeyEvent;
class QMouseEvent;

namespace cofferon {

// One cell of the chest: a copy of the hidden template picture box, tagged
// with its slot number.
class SlotCell : public QLabel {
    Q_OBJECT

public:
    SlotCell(int slot, const QLabel* templateBox, QWidget* parent);

    int slot() const { return m_slot; }
    QString tag() const { return QString::number(m_slot); }
    // Where the last button press on the cell was, in the cell's coordinates.
    QPoint pressPosition() const { return m_pressPosition; }

Q_SIGNALS:
    void leftPressed(int slot);
    void rightPressed(int slot, QPoint globalPosition);
    void doubleClicked(int slot);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_slot;
    QPoint m_pressPosition;
};

// The 54 cells (the cell table), the red frame on the current slot and the
// rows rule; dragging a filled cell onto another, the grid's keys and the
// slot's tooltip on hover. `refresh` redraws the preview of the current slot.
class PreviewGrid : public QObject {
    Q_OBJECT

public:
    PreviewGrid(QLabel* templateBox, QLabel* redbox, Document& document, std::function<void()> refresh,
                QObject* parent = nullptr);

    // Creates the cells, selects slot 1 and draws the preview.
    void buildGrid();

    SlotCell* cell(int slot) const;

    void selectSlot(int slot);

    // A line the tooltip of a slot adds below its lore (a document text with
    // colour codes, such as where the slot's command leads); empty for none.
    void setToolTipNote(std::function<std::string(int slot)> note) { m_toolTipNote = std::move(note); }
    // The slot as its tooltip shows it, the note included.
    SlotRecord toolTipRecord(int slot) const;
    void applyRowCount(int rows);

    void setPicture(int slot, const Picture& picture);
    void clearPicture(int slot);

    // The visible cell under a point of the grid's group box, or 0.
    int visibleSlotAt(QPoint groupPosition) const;

Q_SIGNALS:
    void slotMenuRequested(QPoint globalPosition);
    void editRequested(int slot);
    // A filled cell was dragged onto another visible cell; with Ctrl held it is copied.
    void slotDragged(int from, int to, bool copy);
    // The keys of the grid: Delete, Ctrl+C, Ctrl+V.
    void emptyRequested();
    void copyRequested();
    void pasteRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onLeftPressed(int slot);
    void onRightPressed(int slot, QPoint globalPosition);
    bool cellMouseMoved(SlotCell* cell, QMouseEvent* event);
    bool cellMouseReleased(SlotCell* cell, QMouseEvent* event);
    bool cellKeyPressed(QKeyEvent* event);
    // Whether the event, coming while the left button drags a cell, ends the drag.
    static bool breaksDrag(const QEvent* event);
    // Ends the drag under way, if any, without dropping; its picture goes.
    void endDrag();
    // Whether a cell has the window's keyboard focus.
    bool hasKeys() const;
    bool cellToolTip(SlotCell* cell, QHelpEvent* event);
    // Moves the selection by whole columns and rows, staying inside the visible rows.
    void moveSelection(int columns, int rows);

    QLabel* m_template;
    QLabel* m_redbox;
    Document& m_document;
    std::function<void()> m_refresh;
    std::function<std::string(int slot)> m_toolTipNote;
    std::array<SlotCell*, kSlotCount> m_cells{};

    // A drag under way, from the slot whose cell was pressed last.
    int m_dragFrom = 0;
    bool m_dragging = false;
    QLabel* m_dragPicture = nullptr;  // follows the mouse while dragging
};

// The frame picture with its magenta made transparent, and its shape cut to
// the frame, so clicks inside the frame reach the cell below.
void shapeRedbox(QLabel* redbox);

QPixmap pictureToPixmap(const Picture& picture);

// Gives a run-time copy of a template picture box the template's size and
// look, and the template's name followed by its tag as object name.
void copyTemplateLook(QLabel* copy, const QLabel* templateBox, int tag);

}  // namespace cofferon
