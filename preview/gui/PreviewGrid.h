#pragma once

#include <QLabel>

#include <array>
#include <functional>

#include "app/core/Document.h"
#include "preview/core/Bitmap.h"

namespace cofferon {

// One cell of the chest: a copy of the hidden template picture box, tagged
// with its slot number.
class SlotCell : public QLabel {
    Q_OBJECT

public:
    SlotCell(int slot, const QLabel* templateBox, QWidget* parent);

    int slot() const { return m_slot; }
    QString tag() const { return QString::number(m_slot); }

Q_SIGNALS:
    void leftPressed(int slot);
    void rightPressed(int slot, QPoint globalPosition);
    void doubleClicked(int slot);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_slot;
};

// The 54 cells (the cell table), the red frame on the current slot and the
// rows rule. `refresh` redraws the tooltip preview of the current slot.
class PreviewGrid : public QObject {
    Q_OBJECT

public:
    PreviewGrid(QLabel* templateBox, QLabel* redbox, Document& document, std::function<void()> refresh,
                QObject* parent = nullptr);

    // Creates the cells, selects slot 1 and draws the preview.
    void buildGrid();

    SlotCell* cell(int slot) const;

    void selectSlot(int slot);
    void applyRowCount(int rows);

    void setPicture(int slot, const Picture& picture);
    void clearPicture(int slot);

    // Every picture cleared, every cell shown, the frame on slot 1.
    void reset();

Q_SIGNALS:
    void slotMenuRequested(QPoint globalPosition);
    void editRequested(int slot);

private:
    void onLeftPressed(int slot);
    void onRightPressed(int slot, QPoint globalPosition);

    QLabel* m_template;
    QLabel* m_redbox;
    Document& m_document;
    std::function<void()> m_refresh;
    std::array<SlotCell*, kSlotCount> m_cells{};
};

// The frame picture with its magenta made transparent, and its shape cut to
// the frame, so clicks inside the frame reach the cell below.
void shapeRedbox(QLabel* redbox);

QPixmap pictureToPixmap(const Picture& picture);

// Gives a run-time copy of a template picture box the template's size and
// look, and the template's name followed by its tag as object name.
void copyTemplateLook(QLabel* copy, const QLabel* templateBox, int tag);

}  // namespace cofferon
