#pragma once

#include <QDialog>
#include <QListView>

#include "document/core/Document.h"

class QLabel;
class QScrollBar;

namespace cofferon {

class IconModel;

// The picker's icons, ten to a row as tall as all of them; the picker moves
// it under its frame. Only a double-click with the left button does
// anything: it picks the icon.
class PickerView : public QListView {
    Q_OBJECT

public:
    explicit PickerView(QWidget* parent = nullptr);

Q_SIGNALS:
    // `tag` is the icon's 1-based place in the listing.
    void iconDoubleClicked(int tag);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The wheel scrolls the picker, by whole rows.
    void wheelEvent(QWheelEvent* event) override;
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

    PickerView* view() const { return m_view; }
    const IconModel* model() const { return m_model; }

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void fillItemPicker();

    Document& m_document;
    QLabel* m_inner = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    PickerView* m_view = nullptr;
    IconModel* m_model = nullptr;
    QString m_picked;
};

}  // namespace cofferon
