#pragma once

#include <QDialog>
#include <QListView>

#include "document/core/Document.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace cofferon {

class IconModel;

// The picker's icons, ten to a row as tall as all of them; the picker moves
// it under its frame. A click marks an icon, the arrows move the mark,
// Enter or a double-click with the left button picks; other characters
// typed go to the search.
class PickerView : public QListView {
    Q_OBJECT

public:
    explicit PickerView(QWidget* parent = nullptr);

Q_SIGNALS:
    void iconChosen(const QModelIndex& index);
    void textTyped(const QString& text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The wheel scrolls the picker, by whole rows.
    void wheelEvent(QWheelEvent* event) override;
};

// Shows every icon of the icon folders, or those whose item ID the search
// finds; picking one gives its item. The listing is made anew each time the
// window opens.
class ItemPicker : public QDialog {
    Q_OBJECT

public:
    explicit ItemPicker(Document& document, QWidget* parent = nullptr);

    // The item ID of the icon picked (black text for the caller's box).
    QString pickedItemId() const { return m_picked; }

    // `tag` is the icon's 1-based place in the whole listing.
    void pickItem(int tag);

    PickerView* view() const { return m_view; }
    const IconModel* model() const { return m_model; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    // The search box hands the keys that move and pick to the icons.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillItemPicker();
    void search(const QString& text);
    // The inner frame and the bar for the icons shown, from the top.
    void fitIcons();
    // Scrolls so that the marked icon's row is in the frame.
    void showMarked();

    Document& m_document;
    QLineEdit* m_search = nullptr;
    QLabel* m_inner = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    PickerView* m_view = nullptr;
    IconModel* m_model = nullptr;
    QString m_picked;
    QString m_searched;
};

}  // namespace cofferon
