#include "preview/gui/ItemPicker.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "preview/core/IconFolders.h"
#include "preview/core/IconListing.h"
#include "preview/core/ItemPickerLayout.h"
#include "preview/gui/IconModel.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"
#include "ui/gui/LayoutBuilder.h"

namespace cofferon {

namespace {

bool picks(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Left and Right stay with the search box's own caret.
bool movesTheMark(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
}

}  // namespace

PickerView::PickerView(QWidget* parent) : QListView(parent)
{
    setObjectName(QStringLiteral("图标列表"));
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setUniformItemSizes(true);
    setGridSize(QSize(kPickerPitch, kPickerPitch));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void PickerView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        Q_EMIT iconChosen(index);
    event->accept();
}

void PickerView::keyPressEvent(QKeyEvent* event)
{
    if (picks(event)) {
        if (currentIndex().isValid())
            Q_EMIT iconChosen(currentIndex());
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        Q_EMIT textTyped(text);
        return;
    }
    QListView::keyPressEvent(event);
}

void PickerView::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

ItemPicker::ItemPicker(Document& document, QWidget* parent) : QDialog(parent), m_document(document)
{
    const layout::Window& layout = layout::itemPickerLayout();
    applyWindowFrame(this, layout);
    buildControls(this, layout);
    setModal(true);

    m_search = builtControl<QLineEdit>(this, "搜索");
    m_inner = findChild<QLabel*>(QStringLiteral("内框"));
    m_scrollBar = findChild<QScrollBar*>(QStringLiteral("滚动条"));
    const QPoint innerHome = m_inner->pos();
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this, innerHome](int position) { m_inner->move(innerHome.x(), innerHome.y() - position); });
    m_view = new PickerView(m_inner);
    connect(m_view, &PickerView::iconChosen, this, [this](const QModelIndex& index) {
        if (const int tag = m_model->listingPlace(index))
            pickItem(tag);
    });
    connect(m_view, &PickerView::textTyped, this, [this](const QString& text) {
        m_search->setFocus(Qt::OtherFocusReason);
        dropHint(m_search);
        m_search->insert(text);
    });
    // The icons and the search take the keys; Esc closes the picker.
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_search->setFocusPolicy(Qt::StrongFocus);
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, [this] {
        if (!showsHint(m_search))
            search(boxText(m_search));
    });
    fillItemPicker();
    m_view->setFocus(Qt::OtherFocusReason);
}

void ItemPicker::fillItemPicker()
{
    std::vector<IconFile> icons = listIcons(iconFolders());
    m_document.pickerList.clear();
    for (const IconFile& icon : icons)
        m_document.pickerList.push_back(icon.name);
    // The icons look like copies of the template box: its size and colour on
    // the inner frame's background.
    const auto* templateBox = findChild<QLabel*>(QStringLiteral("Box"));
    m_model = new IconModel(std::move(icons), templateBox->size(), this);
    m_view->setItemDelegate(
        new IconDelegate(templateBox->size(), templateBox->palette().color(QPalette::Window), m_view));
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, m_inner->palette().color(QPalette::Window));
    m_view->setPalette(palette);
    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this, &ItemPicker::showMarked);
    fitIcons();
}

void ItemPicker::search(const QString& text)
{
    // Focusing the box empties its hint: no new search, the mark stays.
    if (text == m_searched)
        return;
    m_searched = text;
    m_model->setSearch(QFile::encodeName(text).toStdString());
    fitIcons();
    // The first icon found is marked, so that Enter picks it.
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
}

void ItemPicker::fitIcons()
{
    const int count = m_model->rowCount();
    m_inner->resize(m_inner->width(), std::max(pickerHeight(count), kPickerPitch));
    m_view->setGeometry(m_inner->rect());
    // When everything fits there is nothing to scroll.
    const int maximum = std::max(0, pickerScrollMaximum(count));
    m_scrollBar->setMaximum(maximum);
    m_scrollBar->setValue(0);
    m_scrollBar->setEnabled(maximum > 0);
}

void ItemPicker::showMarked()
{
    const QModelIndex marked = m_view->currentIndex();
    if (!marked.isValid())
        return;
    const int top = m_view->visualRect(marked).top();
    const int position = m_scrollBar->value();
    if (top < position)
        m_scrollBar->setValue(top);
    else if (top + kPickerPitch > position + kPickerViewportHeight - 1)
        m_scrollBar->setValue(top + kPickerPitch - (kPickerViewportHeight - 1));
}

void ItemPicker::pickItem(int tag)
{
    const std::string& name = m_document.pickerList.at(static_cast<std::size_t>(tag - 1));
    m_picked = QFile::decodeName(QByteArray::fromStdString(cofferon::pickedItemId(name)));
    accept();
}

void ItemPicker::wheelEvent(QWheelEvent* event)
{
    // The bar's own steps are single pixels; the wheel moves a whole row.
    const int rows = event->angleDelta().y() / 120;
    m_scrollBar->setValue(m_scrollBar->value() - rows * kPickerPitch);
    event->accept();
}

bool ItemPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (picks(key) || movesTheMark(key)) {
            QCoreApplication::sendEvent(m_view, key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace cofferon
