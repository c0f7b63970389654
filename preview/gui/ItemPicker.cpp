#include "preview/gui/ItemPicker.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "preview/core/IconFolders.h"
#include "preview/core/IconListing.h"
#include "preview/core/ItemPickerLayout.h"
#include "preview/gui/IconModel.h"
#include "ui/gui/LayoutBuilder.h"

namespace cofferon {

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
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void PickerView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        Q_EMIT iconDoubleClicked(index.row() + 1);
    event->accept();
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

    m_inner = findChild<QLabel*>(QStringLiteral("内框"));
    m_scrollBar = findChild<QScrollBar*>(QStringLiteral("滚动条"));
    const QPoint innerHome = m_inner->pos();
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this, innerHome](int position) { m_inner->move(innerHome.x(), innerHome.y() - position); });
    m_view = new PickerView(m_inner);
    connect(m_view, &PickerView::iconDoubleClicked, this, &ItemPicker::pickItem);
    // No control of the picker takes the keyboard focus; Esc closes it.
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
    fillItemPicker();
}

void ItemPicker::fillItemPicker()
{
    std::vector<IconFile> icons = listIcons(iconFolders());
    m_document.pickerList.clear();
    for (const IconFile& icon : icons)
        m_document.pickerList.push_back(icon.name);
    const int count = static_cast<int>(icons.size());
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

    m_inner->resize(m_inner->width(), pickerHeight(count));
    m_view->setGeometry(m_inner->rect());
    // When everything fits there is nothing to scroll.
    const int maximum = std::max(0, pickerScrollMaximum(count));
    m_scrollBar->setMaximum(maximum);
    m_scrollBar->setEnabled(maximum > 0);
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

}  // namespace cofferon
