#include "ui/gui/LayoutBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTreeWidget>

#include "ui/gui/CharacterFilter.h"
#include "ui/gui/ColourPicker.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"
#include "ui/gui/TextBoxes.h"

namespace cofferon {

namespace {

void setBackground(QWidget* widget, std::uint32_t rgb, QPalette::ColorRole role)
{
    if (rgb == layout::kNoColour)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, layoutColour(rgb));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QWidget* createControl(const layout::Control& control, QWidget* parent)
{
    const QString caption = programText(control.caption);
    switch (control.kind) {
    case layout::Kind::Button: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case layout::Kind::EditBox:
    case layout::Kind::IntegerEdit: {
        QLineEdit* box = makeOneLineBox(parent);
        if (!control.hint.empty())
            installHint(box, programText(control.hint));
        else
            box->setText(caption);
        installCharacterFilter(box, control.filter);
        return box;
    }
    case layout::Kind::MultiLineEdit: {
        QPlainTextEdit* box = makeMultiLineBox(parent);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    case layout::Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case layout::Kind::DropDownList: {
        auto* list = new QComboBox(parent);
        list->setEditable(false);
        for (std::string_view item : control.items)
            list->addItem(programText(item));
        list->setCurrentIndex(control.selectedItem);
        return list;
    }
    case layout::Kind::Label: {
        QString text = caption;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return new QLabel(text, parent);
    }
    case layout::Kind::GroupBox:
        return new QGroupBox(caption, parent);
    case layout::Kind::PictureBox:
    case layout::Kind::PictureButton: {
        auto* picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.bordered)
            picture->setFrameStyle(QFrame::Box | QFrame::Plain);
        setBackground(picture, control.background, QPalette::Window);
        return picture;
    }
    case layout::Kind::RichText: {
        auto* box = new QTextEdit(parent);
        box->setReadOnly(true);
        // A narrow margin, so that a 20-character line of half-width letters fits the box.
        box->document()->setDocumentMargin(2);
        // Lines that must not wrap (the preview's separator) run under the
        // vertical scroll bar rather than bring up a horizontal one.
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setBackground(box, control.background, QPalette::Base);
        return box;
    }
    case layout::Kind::VScrollBar: {
        auto* bar = new QScrollBar(Qt::Vertical, parent);
        bar->setRange(0, control.scrollMaximum);
        bar->setPageStep(1);
        bar->setSingleStep(1);
        return bar;
    }
    case layout::Kind::ColourPicker:
        return new ColourPicker(parent);
    case layout::Kind::TreeList: {
        auto* tree = new QTreeWidget(parent);
        QStringList headers;
        for (std::string_view item : control.items)
            headers << programText(item);
        tree->setColumnCount(static_cast<int>(headers.size()));
        tree->setHeaderLabels(headers);
        tree->setRootIsDecorated(true);
        tree->setUniformRowHeights(true);
        tree->setContextMenuPolicy(Qt::CustomContextMenu);
        return tree;
    }
    case layout::Kind::ListBox:
        return new QListWidget(parent);
    case layout::Kind::SaveFileDialog:
    case layout::Kind::FileDialog:
    case layout::Kind::MenuStyle:
        return nullptr;
    }
    return nullptr;
}

}  // namespace

QColor layoutColour(std::uint32_t rgb)
{
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

void applyWindowFrame(QWidget* window, const layout::Window& layout)
{
    window->setObjectName(programText(layout.name));
    window->setWindowTitle(programText(layout.title));
    Qt::WindowFlags flags =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (layout.frame == layout::Frame::ToolFixed)
        flags |= Qt::Tool;
    else
        flags |= Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint;
    window->setWindowFlags(flags);
    const layout::Size client = layout::clientSize(layout);
    window->setFixedSize(client.width, client.height);
}

void buildControls(QWidget* window, const layout::Window& layout)
{
    for (const layout::Control& control : layout.controls) {
        QWidget* parent = window;
        if (!control.parent.empty())
            parent = window->findChild<QWidget*>(programText(control.parent));
        Q_ASSERT_X(parent, "buildControls", "a parent must come before its children");
        QWidget* widget = createControl(control, parent);
        if (!widget)
            continue;
        widget->setObjectName(programText(control.name));
        // Positions inside a bordered box count from inside its border.
        const int inset = (parent != window && parent->property("cofferonBordered").toBool()) ? 1 : 0;
        widget->setGeometry(control.left + inset, control.top + inset, control.width, control.height);
        if (control.bordered)
            widget->setProperty("cofferonBordered", true);
        widget->setVisible(!control.hidden);
    }
    if (!layout.initialFocus.empty()) {
        if (auto* focus = window->findChild<QWidget*>(programText(layout.initialFocus)))
            focus->setFocus(Qt::OtherFocusReason);
    }
}

QMenu* buildMenu(QWidget* owner, const layout::Menu& menu, MenuIconSource icons)
{
    auto* popup = new QMenu(programText(menu.name), owner);
    popup->setObjectName(programText(menu.name));
    for (const layout::MenuEntry& entry : menu.entries) {
        if (!entry.submenu.empty()) {
            QMenu* submenu = buildMenu(popup, layout::Menu{entry.caption, entry.submenu, menu.icons}, icons);
            QAction* opener = popup->addMenu(submenu);
            if (menu.icons && icons && !entry.icon.empty())
                opener->setIcon(icons(entry.icon));
            continue;
        }
        QAction* action = popup->addAction(programText(entry.caption));
        action->setObjectName(programText(entry.caption));
        if (menu.icons && icons && !entry.icon.empty())
            action->setIcon(icons(entry.icon));
    }
    return popup;
}

void buildMenus(QWidget* owner, const layout::Window& layout, MenuIconSource icons)
{
    for (const layout::Menu& menu : layout.menus)
        buildMenu(owner, menu, icons);
}

void buildShortcuts(QWidget* window, const layout::Window& layout)
{
    for (const layout::Shortcut& shortcut : layout.shortcuts) {
        auto* action = new QAction(programText(shortcut.name), window);
        action->setObjectName(programText(shortcut.name));
        QList<QKeySequence> keys;
        for (const std::string_view key : shortcut.keys)
            keys << QKeySequence::fromString(programText(key), QKeySequence::PortableText);
        action->setShortcuts(keys);
        window->addAction(action);
    }
}

}  // namespace cofferon
