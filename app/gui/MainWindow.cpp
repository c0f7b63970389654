#include "app/gui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include "app/core/ItemId.h"
#include "export/gui/ExportCommand.h"
#include "preview/core/GridGeometry.h"
#include "preview/core/SlotIcon.h"
#include "preview/gui/PreviewGrid.h"
#include "preview/gui/PreviewText.h"
#include "project/gui/ProjectCommands.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"
#include "ui/gui/LayoutBuilder.h"
#include "ui/gui/SlotEditor.h"

namespace cofferon {

namespace {

std::optional<std::string> settingText(const QLineEdit* box)
{
    if (showsHint(box))
        return std::nullopt;
    return qtToDoc(boxText(box));
}

}  // namespace

MainWindow::MainWindow(Document& document, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_document(document), m_dialogs(dialogs)
{
    const layout::Window& layout = layout::mainWindowLayout();
    applyWindowFrame(this, layout);
    buildControls(this, layout);
    buildMenus(this, layout);

    m_title = builtControl<QLineEdit>(this, "菜单标题");
    m_openItem = builtControl<QLineEdit>(this, "物品ID");
    m_command = builtControl<QLineEdit>(this, "菜单指令");
    m_leftClick = builtControl<QCheckBox>(this, "左键开启");
    m_rightClick = builtControl<QCheckBox>(this, "右键开启");
    m_rows = builtControl<QComboBox>(this, "行数");
    m_preview = builtControl<QTextEdit>(this, "效果预览");
    m_outputMenu = builtControl<QMenu>(this, "输出格式");
    m_slotMenu = builtControl<QMenu>(this, "复制粘贴");

    connect(builtControl<QPushButton>(this, "清空数据"), &QPushButton::clicked, this,
            [this] { changeDocument([this] { clearData(); }, true); });
    connect(builtControl<QPushButton>(this, "生成yml"), &QPushButton::clicked, this, &MainWindow::showOutputFormatMenu);
    connect(builtControl<QPushButton>(this, "保存配置"), &QPushButton::clicked, this,
            [this] { saveProjectCommand(*this, m_document, m_dialogs, m_write); });
    connect(builtControl<QPushButton>(this, "读取配置"), &QPushButton::clicked, this,
            [this] { loadProjectCommand(*this, m_dialogs); });
    connect(builtControl<QPushButton>(this, "删除图标"), &QPushButton::clicked, this,
            [this] { emptySlotCommand(*this, m_document); });
    connect(m_slotMenu->findChild<QAction*>(QStringLiteral("复制")), &QAction::triggered, this,
            [this] { copySlotCommand(m_document); });
    connect(m_slotMenu->findChild<QAction*>(QStringLiteral("粘贴")), &QAction::triggered, this,
            [this] { pasteSlotCommand(*this, m_document); });
    connect(m_outputMenu->findChild<QAction*>(QStringLiteral("UTF-8")), &QAction::triggered, this,
            [this] { exportAs(OutputEncoding::Utf8); });
    connect(m_outputMenu->findChild<QAction*>(QStringLiteral("GB2312")), &QAction::triggered, this,
            [this] { exportAs(OutputEncoding::Gb2312); });

    // Undo and redo of the commands. A text box with the focus takes these
    // keys for its own undo first, so they reach the window only from elsewhere.
    auto* undoAction = new QAction(QStringLiteral("撤销"), this);
    undoAction->setObjectName(QStringLiteral("撤销"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undoAction, &QAction::triggered, this, &MainWindow::undo);
    auto* redoAction = new QAction(QStringLiteral("重做"), this);
    redoAction->setObjectName(QStringLiteral("重做"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redoAction, &QAction::triggered, this, &MainWindow::redo);
    addActions({undoAction, redoAction});

    // What the window's created event does: the cells, slot 1, the preview.
    m_grid = new PreviewGrid(
        builtControl<QLabel>(this, "Box"), builtControl<QLabel>(this, "Redbox"), m_document,
        [this] { refreshPreview(); }, this);
    m_grid->buildGrid();
    connect(m_grid, &PreviewGrid::slotMenuRequested, this, [this](QPoint at) { m_slotMenu->popup(at); });
    connect(m_grid, &PreviewGrid::editRequested, this, &MainWindow::openSlotEditor);
    connect(m_grid, &PreviewGrid::slotDragged, this, &MainWindow::dragSlot);
    connect(m_grid, &PreviewGrid::emptyRequested, this, [this] { emptySlotCommand(*this, m_document); });
    connect(m_grid, &PreviewGrid::copyRequested, this, [this] { copySlotCommand(m_document); });
    connect(m_grid, &PreviewGrid::pasteRequested, this, [this] { pasteSlotCommand(*this, m_document); });
    connect(m_rows, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_grid->applyRowCount(index + 1);
    });
}

MenuSettings MainWindow::menuSettings() const
{
    MenuSettings settings;
    settings.title = settingText(m_title);
    settings.openItem = settingText(m_openItem);
    settings.menuCommand = settingText(m_command);
    settings.leftClick = m_leftClick->isChecked();
    settings.rightClick = m_rightClick->isChecked();
    settings.rowIndex = std::max(0, m_rows->currentIndex());
    return settings;
}

void MainWindow::clearData()
{
    showMenu(WholeMenu{}, 1, EmptyTexts::ShowHint);
}

void MainWindow::showMenu(const WholeMenu& menu, int current, EmptyTexts emptyTexts)
{
    // The frame first, inside the rows the menu shows, so that applying the
    // rows has nothing to move.
    m_grid->selectSlot(slotWithinRows(current, std::clamp(menu.settings.rowIndex, 0, kMaxRows - 1) + 1));
    putSettings(menu.settings, emptyTexts);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        m_document.slots[slot] = menu.slots[slot];
        refreshCell(slot);
    }
    refreshPreview();
}

void MainWindow::changeDocument(const std::function<void()>& change, bool settingsToo)
{
    Step step;
    const SlotTable before = m_document.slots;
    if (settingsToo)
        step.settingsBefore = menuSettings();
    step.currentBefore = m_document.currentSlot;
    change();
    step.slots = changedSlots(before, m_document.slots);
    if (settingsToo)
        step.settingsAfter = menuSettings();
    step.currentAfter = m_document.currentSlot;
    m_history.record(std::move(step));
}

void MainWindow::undo()
{
    if (const Step* step = m_history.undo())
        applyStep(*step, false);
}

void MainWindow::redo()
{
    if (const Step* step = m_history.redo())
        applyStep(*step, true);
}

void MainWindow::applyStep(const Step& step, bool forward)
{
    // A step without settings leaves the settings as they are now (they may
    // have changed since), and the frame goes back into the rows shown.
    WholeMenu menu{menuSettings(), m_document.slots};
    for (const SlotChange& change : step.slots)
        menu.slots[change.slot] = forward ? change.after : change.before;
    if (const auto& settings = forward ? step.settingsAfter : step.settingsBefore)
        menu.settings = *settings;
    showMenu(menu, forward ? step.currentAfter : step.currentBefore, EmptyTexts::ShowHint);
}

void MainWindow::dragSlot(int from, int to, bool copy)
{
    changeDocument(
        [&] {
            if (copy)
                m_document.slots.copySlot(from, to);
            else
                m_document.slots.swapSlots(from, to);
            refreshCell(from);
            refreshCell(to);
            m_grid->selectSlot(to);
            refreshPreview();
        },
        false);
}

void MainWindow::refreshPreview()
{
    cofferon::refreshPreview(m_preview, m_document.slots[m_document.currentSlot]);
}

void MainWindow::openSlotEditor()
{
    Q_EMIT slotEditorRequested(m_document.currentSlot);
    changeDocument(
        [this] {
            SlotEditor editor(
                m_document, m_dialogs,
                [this](int slot) {
                    refreshCell(slot);
                    refreshPreview();
                },
                this);
            editor.exec();
        },
        false);
}

void MainWindow::putSettings(const MenuSettings& settings, EmptyTexts emptyTexts)
{
    const std::pair<QLineEdit*, const std::optional<std::string>*> texts[] = {
        {m_title, &settings.title}, {m_openItem, &settings.openItem}, {m_command, &settings.menuCommand}};
    for (const auto& [box, value] : texts) {
        if (emptyTexts == EmptyTexts::KeepBox && (!*value || (*value)->empty()))
            continue;
        if (settingText(box) == *value)
            continue;
        if (*value)
            setValue(box, docToQt(**value));
        else
            showHint(box);
    }
    m_leftClick->setChecked(settings.leftClick);
    m_rightClick->setChecked(settings.rightClick);
    m_rows->setCurrentIndex(std::clamp(settings.rowIndex, 0, kMaxRows - 1));
    // As a change of the rows list does, even when the index stayed the same.
    m_grid->applyRowCount(m_rows->currentIndex() + 1);
}

void MainWindow::refreshCell(int slot)
{
    const SlotRecord& record = m_document.slots[slot];
    if (isValidItemId(record.id))
        m_grid->setPicture(slot, computeSlotIcon(record));
    else
        m_grid->clearPicture(slot);
}

void MainWindow::showOutputFormatMenu()
{
    m_outputMenu->popup(QCursor::pos());
}

void MainWindow::exportAs(OutputEncoding encoding)
{
    exportMenu(this, m_dialogs, menuSettings(), m_document.slots, encoding, m_write);
}

void MainWindow::showEvent(QShowEvent* event)
{
    // The window opens centred on the screen; its stored position is not used.
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

}  // namespace cofferon
