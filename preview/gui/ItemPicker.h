#pragma once

#include <QDialog>
#include <QLabel>

#include "app/core/Document.h"

class QScrollBar;

namespace cofferon {

// One icon of the picker: a copy of the hidden template, tagged with its
// 1-based place in the listing.
class PickerIcon : public QLabel {
    Q_OBJECT

public:
    PickerIcon(int tag, const QLabel* templateBox, QWidget* parent);
    int tag() const { return m_tag; }

Q_SIGNALS:
    void doubleClicked(int tag);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int m_tag;
};

// Shows every icon of the icon folders; double-clicking one picks its item.
// The listing is made anew each time the window opens.
class ItemPicker : public QDialog {
    Q_OBJECT

public:
    explicit ItemPicker(Document& document, QWidget* parent = nullptr);

    // The item ID of the double-clicked icon (black text for the caller's box).
    QString pickedItemId() const { return m_picked; }

    void pickItem(int tag);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void fillItemPicker();

    Document& m_document;
    QLabel* m_inner = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QString m_picked;
};

}  // namespace cofferon
