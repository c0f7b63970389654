#include "preview/gui/ItemPicker.h"

#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include "preview/core/IconFolders.h"
#include "preview/core/IconListing.h"
#include "preview/gui/PreviewGrid.h"
#include "ui/core/Layout.h"
#include "ui/gui/LayoutBuilder.h"

namespace cofferon {

PickerIcon::PickerIcon(int tag, const QLabel* templateBox, QWidget* parent) : QLabel(parent), m_tag(tag)
{
    copyTemplateLook(this, templateBox, tag);
}

void PickerIcon::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked(m_tag);
    event->accept();
}

ItemPicker::ItemPicker(Document& document, QWidget* parent) : QDialog(parent), m_document(document)
{
    const layout::Window& layout = layout::itemPickerLayout();
    applyWindowFrame(this, layout);
    buildControls(this, layout);
    setModal(true);
    // No control of the picker takes the keyboard focus; Esc closes it.
    for (QWidget* child : findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);

    m_inner = findChild<QLabel*>(QStringLiteral("内框"));
    m_scrollBar = findChild<QScrollBar*>(QStringLiteral("滚动条"));
    const QPoint innerHome = m_inner->pos();
    connect(m_scrollBar, &QScrollBar::valueChanged, this,
            [this, innerHome](int position) { m_inner->move(innerHome.x(), innerHome.y() - position); });
    fillItemPicker();
}

void ItemPicker::fillItemPicker()
{
    m_document.pickerList.clear();
    const QLabel* templateBox = findChild<QLabel*>(QStringLiteral("Box"));
    int index = 0;
    for (IconFile& file : listIcons(iconFolders())) {
        auto* icon = new PickerIcon(index + 1, templateBox, m_inner);
        icon->move(index % kPickerColumns * kPickerPitch, index / kPickerColumns * kPickerPitch);
        QPixmap picture;
        picture.load(QFile::decodeName(QByteArray::fromStdString(file.path)));
        icon->setPixmap(picture);
        icon->show();
        connect(icon, &PickerIcon::doubleClicked, this, &ItemPicker::pickItem);
        m_document.pickerList.push_back(std::move(file.name));
        ++index;
    }
    const int count = static_cast<int>(m_document.pickerList.size());
    m_inner->resize(m_inner->width(), pickerHeight(count));
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
