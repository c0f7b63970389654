#include "app/gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "app/gui/HiddenRowsLine.h"
#include "document/core/ItemId.h"
#include "document/core/ReadFile.h"
#include "document/core/Text.h"
#include "editor/gui/SlotEditor.h"
#include "folder/gui/FolderPanel.h"
#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuOnto.h"
#include "menufile/gui/ExportCommand.h"
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
#include "ui/gui/RecentFiles.h"

namespace cofferon {

namespace {

std::optional<std::string> settingText(const QLineEdit* box)
{
    if (showsHint(box))
        return std::nullopt;
    return qtToDoc(boxText(box));
}

QString fileName(const std::string& path)
{
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

// Restored work is still written onto the menu file it came from, as that
// file was then; nullptr when it came from none.
std::shared_ptr<const ImportedMenu> recoveredMenuFile(const RecoveredWork& work)
{
    if (!work.file || work.file->kind != FileKind::Menu || work.menuFile.empty())
        return nullptr;
    auto read = importMenuText(work.menuFile, work.file->encoding);
    if (auto* menu = std::get_if<ImportedMenu>(&read))
        return std::make_shared<const ImportedMenu>(std::move(*menu));
    return nullptr;
}

}  // namespace

MainWindow::MainWindow(Document& document, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_document(document), m_dialogs(dialogs), m_recovery([this] { return recoveryOfWork(); }, this)
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
    connect(builtControl<QPushButton>(this, "保存配置"), &QPushButton::clicked, this, &MainWindow::saveProjectAs);
    connect(builtControl<QPushButton>(this, "读取配置"), &QPushButton::clicked, this, &MainWindow::open);
    connect(builtControl<QPushButton>(this, "删除图标"), &QPushButton::clicked, this,
            [this] { emptySlotCommand(*this, m_document); });
    connect(m_slotMenu->findChild<QAction*>(QStringLiteral("复制")), &QAction::triggered, this,
            [this] { copySlotCommand(m_document); });
    connect(m_slotMenu->findChild<QAction*>(QStringLiteral("粘贴")), &QAction::triggered, this,
            [this] { pasteSlotCommand(*this, m_document); });
    connect(builtControl<QPushButton>(this, "打开文件夹"), &QPushButton::clicked, this, &MainWindow::chooseFolder);
    connect(m_outputMenu->findChild<QAction*>(QStringLiteral("UTF-8")), &QAction::triggered, this,
            [this] { exportAs(OutputEncoding::Utf8); });
    connect(m_outputMenu->findChild<QAction*>(QStringLiteral("GB2312")), &QAction::triggered, this,
            [this] { exportAs(OutputEncoding::Gb2312); });

    // The keys. A text box with the focus takes Ctrl+Z and the redo keys for
    // its own undo first, so they reach the window only from elsewhere.
    buildShortcuts(this, layout);
    const std::pair<const char*, std::function<void()>> keys[] = {
        {"撤销", [this] { undo(); }},          {"重做", [this] { redo(); }},
        {"保存", [this] { save(); }},          {"另存为", [this] { saveAs(); }},
        {"打开", [this] { open(); }},          {"打开文件夹键", [this] { chooseFolder(); }},
        {"全部保存键", [this] { saveAll(); }},
    };
    for (const auto& [name, command] : keys)
        connect(builtControl<QAction>(this, name), &QAction::triggered, this, command);

    // What the window's created event does: the cells, slot 1, the preview.
    m_grid = new PreviewGrid(
        builtControl<QLabel>(this, "Box"), builtControl<QLabel>(this, "Redbox"), m_document,
        [this] { refreshPreview(); }, this);
    m_grid->buildGrid();
    // A slot whose command opens another menu offers to follow it.
    m_followLink = m_slotMenu->addAction(QString());
    m_followLink->setObjectName(QStringLiteral("打开链接"));
    m_followLink->setVisible(false);
    connect(m_followLink, &QAction::triggered, this, &MainWindow::followLink);
    connect(m_grid, &PreviewGrid::slotMenuRequested, this, [this](QPoint at) {
        const auto target = linkedMenu(m_document.currentSlot);
        m_followLink->setVisible(target.has_value());
        if (target)
            m_followLink->setText(QStringLiteral("打开“%1”").arg(fileName(*target)));
        m_slotMenu->popup(at);
    });

    // Where a slot's command leads, under its lore in the tooltip.
    m_grid->setToolTipNote([this](int slot) {
        const auto target = linkedMenu(slot);
        if (!target)
            return std::string();
        return qtToDoc(QStringLiteral("&8→ 打开“%1”").arg(fileName(*target)));
    });

    // The menus folder, while one is open; its check runs again a moment
    // after the work of the menu shown changes.
    m_folder =
        new FolderPanel(builtControl<QTreeWidget>(this, "菜单列表"), builtControl<QListWidget>(this, "问题列表"), this);
    connect(m_folder, &FolderPanel::menuChosen, this, [this](const std::string& menu) { showFolderMenu(menu); });
    connect(m_folder, &FolderPanel::problemChosen, this, [this](const std::string& menu, int slot) {
        // A slot below the rows shown stays where it is: the line under the grid names it.
        if (showFolderMenu(menu) && slot > 0 && slot <= menuSettings().rows() * kColumns) {
            m_grid->selectSlot(slot);
            refreshPreview();
        }
    });
    QMenu* folderMenu = builtControl<QMenu>(this, "文件夹菜单");
    connect(m_folder, &FolderPanel::contextMenuRequested, folderMenu,
            [folderMenu](const QPoint& at) { folderMenu->popup(at); });
    connect(folderMenu->findChild<QAction*>(QStringLiteral("全部保存")), &QAction::triggered, this,
            &MainWindow::saveAll);
    connect(folderMenu->findChild<QAction*>(QStringLiteral("新建菜单")), &QAction::triggered, this,
            &MainWindow::newFolderMenu);
    connect(folderMenu->findChild<QAction*>(QStringLiteral("重命名菜单")), &QAction::triggered, this,
            &MainWindow::renameFolderMenu);
    connect(builtControl<QAction>(this, "重命名键"), &QAction::triggered, this, &MainWindow::renameFolderMenu);
    connect(m_folder, &FolderPanel::changedOutside, this, &MainWindow::folderChangedOutside);
    m_recheck = new QTimer(this);
    m_recheck->setSingleShot(true);
    m_recheck->setInterval(300);
    connect(m_recheck, &QTimer::timeout, this, &MainWindow::recheckShownMenu);
    connect(m_grid, &PreviewGrid::editRequested, this, &MainWindow::openSlotEditor);
    connect(m_grid, &PreviewGrid::slotDragged, this, &MainWindow::dragSlot);
    connect(m_grid, &PreviewGrid::emptyRequested, this, [this] { emptySlotCommand(*this, m_document); });
    connect(m_grid, &PreviewGrid::copyRequested, this, [this] { copySlotCommand(m_document); });
    connect(m_grid, &PreviewGrid::pasteRequested, this, [this] { pasteSlotCommand(*this, m_document); });
    connect(m_rows, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_grid->applyRowCount(index + 1);
    });
    m_hiddenRows = new HiddenRowsLine(builtControl<QLabel>(this, "隐藏物品"), m_rows, this);

    // Typing a title, ticking a box or choosing rows is no undo step, but it
    // is a change of the work all the same.
    for (QLineEdit* box : {m_title, m_openItem, m_command})
        connect(box, &QLineEdit::textChanged, this, &MainWindow::workChanged);
    for (QCheckBox* box : {m_leftClick, m_rightClick})
        connect(box, &QCheckBox::toggled, this, &MainWindow::workChanged);
    connect(m_rows, &QComboBox::currentIndexChanged, this, &MainWindow::workChanged);

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
            if (!commitData(manager.allowsInteraction()))
                manager.cancel();
        });
    }
    m_saved = currentMenu();
    updateTitle();
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
    // The work is compared once, when the whole menu is in.
    const bool nested = std::exchange(m_showingMenu, true);
    // The frame first, inside the rows the menu shows, so that applying the
    // rows has nothing to move.
    m_grid->selectSlot(slotWithinRows(current, std::clamp(menu.settings.rowIndex, 0, kMaxRows - 1) + 1));
    putSettings(menu.settings, emptyTexts);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        m_document.slots[slot] = menu.slots[slot];
        refreshCell(slot);
    }
    refreshPreview();
    // A box a project load left as it was holds nothing the file does.
    m_settingsShown = withoutEmptyTexts(menuSettings());
    const std::pair<std::optional<std::string>*, const std::optional<std::string>*> texts[] = {
        {&m_settingsShown.title, &menu.settings.title},
        {&m_settingsShown.openItem, &menu.settings.openItem},
        {&m_settingsShown.menuCommand, &menu.settings.menuCommand}};
    for (const auto& [shown, given] : texts) {
        if (!*given || (*given)->empty())
            shown->reset();
    }
    m_showingMenu = nested;
    workChanged();
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
    workChanged();
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
    // A menu file keeps its encoding: its entry is the one Return takes.
    if (m_currentFile && m_currentFile->kind == FileKind::Menu) {
        m_outputMenu->setActiveAction(m_outputMenu->findChild<QAction*>(
            m_currentFile->encoding == OutputEncoding::Gb2312 ? QStringLiteral("GB2312") : QStringLiteral("UTF-8")));
    }
    m_outputMenu->popup(QCursor::pos());
}

bool MainWindow::exportAs(OutputEncoding encoding)
{
    const auto path = askMenuFileName(this, m_dialogs);
    return path && writeMenuTo(*path, encoding);
}

bool MainWindow::writeMenuTo(const std::string& path, OutputEncoding encoding)
{
    const MenuSettings settings = menuSettings();
    const auto written = writeMenuFile(
        this, m_dialogs, WholeMenu{settings, m_document.slots},
        m_currentFile && m_currentFile->kind == FileKind::Menu ? m_menuFile.get() : nullptr, encoding, path, m_write);
    if (!written)
        return false;
    tookWritten(*written, path, m_document.slots, m_history, m_menuFile);
    // What the file leaves out stays unsaved work.
    setCurrentFile(CurrentFile{path, FileKind::Menu, encoding}, menuFileHolds(settings, m_document.slots));
    return true;
}

void MainWindow::tookWritten(const WrittenMenu& written, const std::string& path, SlotTable& slots, History& history,
                             std::shared_ptr<const ImportedMenu>& menuFile)
{
    // The blocks of the file have new numbers: the records' origins follow them.
    history.renumberOrigins(written.blockNumbers);
    if (written.file && written.file->text)
        stampOrigins(slots, written.file->text->places);
    menuFile = written.file;
    // The folder's watch is told: this write is the tool's own.
    if (const auto menu = m_folder->menuPath(path); menu && written.file && written.file->text)
        m_folder->noteWritten(*menu, written.file->text->bytes);
}

MainWindow::Overwrite MainWindow::askOverwrite(const std::string& path, const ImportedMenu* read)
{
    if (!read || !read->text)
        return Overwrite::Yes;
    const auto onDisk = readWholeFile(path);
    if (!std::holds_alternative<std::string>(onDisk) || std::get<std::string>(onDisk) == read->text->bytes)
        return Overwrite::Yes;
    switch (m_dialogs.question(this, QStringLiteral("提示"),
                               QStringLiteral("“%1”在打开后被其他程序改过").arg(fileName(path)),
                               {QStringLiteral("覆盖"), QStringLiteral("重新读取"), QStringLiteral("取消")}, 2, 2)) {
    case 0:
        return Overwrite::Yes;
    case 1:
        return Overwrite::Reread;
    default:
        return Overwrite::No;
    }
}

bool MainWindow::mayOverwrite(const CurrentFile& file)
{
    const Overwrite answer = askOverwrite(file.path, m_menuFile.get());
    if (answer == Overwrite::Reread) {
        // The file as it is now replaces the work, as an open does.
        if (const auto opened = openFileCommand(*this, m_dialogs, file.path, true))
            adoptOpenedFile(*opened);
    }
    return answer == Overwrite::Yes;
}

bool MainWindow::save()
{
    if (!m_currentFile)
        return saveProjectAs();
    const CurrentFile file = *m_currentFile;
    if (file.kind == FileKind::Menu)
        return mayOverwrite(file) && writeMenuTo(file.path, file.encoding);
    if (!saveProjectTo(*this, m_document, m_dialogs, file.path, m_write))
        return false;
    setCurrentFile(file, currentMenu());
    return true;
}

bool MainWindow::saveAs()
{
    if (m_currentFile && m_currentFile->kind == FileKind::Menu)
        return exportAs(m_currentFile->encoding);
    return saveProjectAs();
}

bool MainWindow::saveProjectAs()
{
    const auto written = saveProjectCommand(*this, m_document, m_dialogs, m_write);
    if (!written)
        return false;
    // Once: what only the menu file held, a project file does not.
    const bool keptKeys = m_menuFile &&
        std::any_of(m_menuFile->notTakenOver.begin(), m_menuFile->notTakenOver.end(),
                    [](const ImportNote& note) { return note.kind == NoteKind::UnknownKey; });
    if (keptKeys && !std::exchange(m_toldOfKeptKeys, true)) {
        m_dialogs.message(this, messageCaption(),
                          QStringLiteral("配置文件不保存菜单文件中本工具不编辑的键,它们只在写回菜单文件时保留。"),
                          MessageIcon::Information);
    }
    m_menuFile.reset();
    setCurrentFile(written, currentMenu());
    return true;
}

MainWindow::SaveAnswer MainWindow::askToSave()
{
    switch (m_dialogs.question(this, QStringLiteral("提示"), QStringLiteral("保存对当前配置的更改吗?"),
                               {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")}, 0, 2)) {
    case 0:
        return save() ? SaveAnswer::Saved : SaveAnswer::Cancelled;
    case 1:
        return SaveAnswer::Discarded;
    default:
        return SaveAnswer::Cancelled;
    }
}

bool MainWindow::mayReplaceWork()
{
    return !m_modified || askToSave() != SaveAnswer::Cancelled;
}

void MainWindow::open()
{
    if (!mayReplaceWork())
        return;
    if (const auto opened = loadProjectCommand(*this, m_dialogs))
        adoptOpenedFile(*opened);
}

bool MainWindow::openFile(const QString& path)
{
    if (!mayReplaceWork())
        return false;
    const auto opened =
        openFileCommand(*this, m_dialogs, QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString(), true);
    if (opened)
        adoptOpenedFile(*opened);
    return opened.has_value();
}

void MainWindow::adoptOpenedFile(const OpenedFile& opened)
{
    const CurrentFile& file = opened.file;
    // Any file reads as a project, but Ctrl+S must not write a project over
    // a picture or a text that was opened by mistake: only a file named as a
    // project becomes the current file.
    const bool projectName = asciiLower(rightPart(file.path, 4)) == ".ini";
    m_menuFile = opened.menu;
    m_toldOfKeptKeys = false;
    // Undo never crosses into the work of another file.
    m_history.clear();
    setCurrentFile(file.kind == FileKind::Menu || projectName ? std::optional(file) : std::nullopt,
                   WholeMenu{m_settingsShown, m_document.slots});
}

WholeMenu MainWindow::currentMenu() const
{
    return WholeMenu{withoutEmptyTexts(menuSettings()), m_document.slots};
}

void MainWindow::setCurrentFile(const std::optional<CurrentFile>& file, std::optional<WholeMenu> holds)
{
    m_currentFile = file;
    m_saved = std::move(holds);
    if (file && m_saved)
        addRecentFile(QFile::decodeName(QByteArray::fromStdString(file->path)));
    updateTitle();
    workChanged();
}

void MainWindow::updateTitle()
{
    const QString title = programText(layout::mainWindowLayout().title);
    if (!m_currentFile) {
        setWindowFilePath(QString());
        setWindowTitle(QStringLiteral("未命名[*] — ") + title);
        return;
    }
    setWindowFilePath(QFile::decodeName(QByteArray::fromStdString(m_currentFile->path)));
    setWindowTitle(fileName(m_currentFile->path) + QStringLiteral("[*] — ") + title);
}

void MainWindow::workChanged()
{
    if (m_showingMenu)
        return;
    // Runs on every key typed into a box: the settings read once, the slots
    // compared in place.
    const MenuSettings settings = menuSettings();
    m_hiddenRows->update(settings, m_document.slots);
    const bool changed =
        !m_saved || withoutEmptyTexts(settings) != m_saved->settings || !(m_document.slots == m_saved->slots);
    m_modified = changed;
    setWindowModified(changed);
    if (m_folder && m_folder->isOpen())
        m_recheck->start();
    if (!changed && !parkedUnsaved()) {
        m_recovery.discard();
        return;
    }
    m_closing = Closing::Ask;
    m_recovery.changed();
}

void MainWindow::writeRecoveryNow()
{
    if (m_modified || parkedUnsaved())
        m_recovery.writeNow();
}

bool MainWindow::offerRecovery()
{
    return m_recovery.offerAbandoned(this, m_dialogs, [this](const RecoveredWork& work) {
        changeDocument([&] { showMenu(work.menu, 1, EmptyTexts::ShowHint); }, true);
        m_menuFile = recoveredMenuFile(work);
        setCurrentFile(work.file, std::nullopt);
        // The folder that was open, with the unsaved work of its other menus.
        if (work.folder.empty())
            return;
        if (const auto why = m_folder->open(work.folder)) {
            if (!work.others.empty())
                m_dialogs.message(
                    this, errorCaption(),
                    QStringLiteral("无法打开文件夹“%1”:%2\n其中 %3 个菜单未保存的更改无法恢复。")
                        .arg(QFile::decodeName(QByteArray::fromStdString(work.folder)), QString::fromStdString(*why))
                        .arg(work.others.size()),
                    MessageIcon::Warning);
            return;
        }
        m_parked.clear();
        showFolderPanel(true);
        for (const RecoveredWork& other : work.others) {
            const auto menu = other.file ? m_folder->menuPath(other.file->path) : std::nullopt;
            if (!menu)
                continue;
            ParkedWork parked;
            parked.menu = other.menu;
            parked.file = other.file;
            parked.modified = true;
            parked.menuFile = recoveredMenuFile(other);
            m_folder->setUnsaved(*menu, true);
            m_parked[*menu] = std::move(parked);
        }
        if (const auto shownMenu = shownFolderMenu()) {
            m_folder->setShown(*shownMenu);
            m_folder->setUnsaved(*shownMenu, m_modified);
        }
    });
}

bool MainWindow::commitData(bool mayAsk)
{
    if (!m_modified && !parkedUnsaved())
        return true;
    if (!mayAsk) {
        m_recovery.writeNow();
        m_closing = Closing::KeepRecovery;
        return true;
    }
    // Menus of the folder besides the one shown: one question lists them all.
    if (parkedUnsaved()) {
        if (!mayCloseFolder())
            return false;
        // Whatever is still unsaved was let go.
        if (m_modified)
            m_closing = Closing::Discard;
        return true;
    }
    switch (askToSave()) {
    case SaveAnswer::Saved:
        return true;
    case SaveAnswer::Discarded:
        m_closing = Closing::Discard;
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A decision counts for the one close it was made for.
    const Closing decided = std::exchange(m_closing, Closing::Ask);
    if (decided == Closing::KeepRecovery) {
        event->accept();
        return;
    }
    if (decided == Closing::Ask && !commitData(true)) {
        event->ignore();
        return;
    }
    m_closing = Closing::Ask;
    m_recovery.discard();
    event->accept();
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
