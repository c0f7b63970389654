// The main window's menus folder: switching between its menus with each
// one's work kept, saving them all, following links, and what the folder's
// check finds as the work stands.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>

#include <filesystem>

#include "app/gui/MainWindow.h"
#include "document/core/Codec.h"
#include "document/core/ReadFile.h"
#include "folder/core/MenuLinks.h"
#include "folder/core/MenuRename.h"
#include "folder/core/NewMenu.h"
#include "folder/gui/FolderPanel.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuOnto.h"
#include "menufile/gui/ExportCommand.h"
#include "project/core/Recovery.h"
#include "project/gui/ProjectCommands.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"
#include "ui/gui/LayoutBuilder.h"
#include "ui/gui/RecentFiles.h"

namespace cofferon {

namespace {

QString shown(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fileSystemName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void MainWindow::showFolderPanel(bool shownPanel)
{
    builtControl<QGroupBox>(this, "文件夹面板")->setVisible(shownPanel);
    const layout::Size client = layout::clientSize(layout::mainWindowLayout(), shownPanel);
    setFixedSize(client.width, client.height);
}

void MainWindow::chooseFolder()
{
    if (const auto chosen = m_dialogs.folderName(this))
        openFolder(*chosen);
}

bool MainWindow::openFolder(const QString& path)
{
    if (!mayCloseFolder())
        return false;
    const std::string root = fileSystemName(QFileInfo(path).absoluteFilePath());
    if (const auto why = m_folder->open(root)) {
        m_dialogs.message(this, errorCaption(),
                          QStringLiteral("无法打开文件夹“%1”:%2").arg(shown(root), QString::fromStdString(*why)),
                          MessageIcon::Warning);
        return false;
    }
    m_parked.clear();
    addRecentFolder(shown(root));
    showFolderPanel(true);
    if (const auto menu = shownFolderMenu()) {
        m_folder->setShown(*menu);
        m_folder->setUnsaved(*menu, m_modified);
    }
    return true;
}

std::optional<std::string> MainWindow::shownFolderMenu() const
{
    if (!m_folder->isOpen() || !m_currentFile || m_currentFile->kind != FileKind::Menu)
        return std::nullopt;
    const auto menu = m_folder->menuPath(m_currentFile->path);
    if (!menu || !m_folder->folder().contains(*menu))
        return std::nullopt;
    return menu;
}

void MainWindow::park()
{
    const auto menu = shownFolderMenu();
    if (!menu || (!m_modified && !m_history.canUndo()))
        return;
    ParkedWork work;
    work.menu = WholeMenu{menuSettings(), m_document.slots};
    work.currentSlot = m_document.currentSlot;
    work.history = std::move(m_history);
    work.file = m_currentFile;
    work.menuFile = m_menuFile;
    work.saved = m_saved;
    work.settingsShown = m_settingsShown;
    work.modified = m_modified;
    m_history = History{};
    m_folder->setUnsaved(*menu, work.modified);
    m_parked[*menu] = std::move(work);
}

void MainWindow::unpark(ParkedWork work)
{
    showMenu(work.menu, work.currentSlot, EmptyTexts::ShowHint);
    m_history = std::move(work.history);
    m_menuFile = std::move(work.menuFile);
    m_settingsShown = work.settingsShown;
    m_currentFile = work.file;
    m_saved = std::move(work.saved);
    updateTitle();
    workChanged();
}

bool MainWindow::showFolderMenu(const std::string& menu)
{
    if (shownFolderMenu() == menu)
        return true;
    // Work of no menu of the folder is not kept beside them: it is saved or let go first.
    if (!shownFolderMenu() && !mayReplaceWork())
        return false;
    const auto left = shownFolderMenu();
    park();
    if (auto parked = m_parked.extract(menu)) {
        unpark(std::move(parked.mapped()));
    } else if (const auto opened = openFileCommand(*this, m_dialogs, m_folder->filePath(menu), true, false)) {
        adoptOpenedFile(*opened);
    } else {
        // The menu left stays shown with its work and its undo steps, as before the click.
        if (left) {
            if (auto back = m_parked.extract(*left))
                unpark(std::move(back.mapped()));
        }
        return false;
    }
    m_folder->setShown(menu);
    m_folder->setUnsaved(menu, m_modified);
    return true;
}

std::vector<std::string> MainWindow::unsavedMenus() const
{
    std::vector<std::string> menus;
    for (const auto& [menu, work] : m_parked) {
        if (work.modified)
            menus.push_back(menu);
    }
    if (const auto menu = shownFolderMenu(); menu && m_modified)
        menus.push_back(*menu);
    std::sort(menus.begin(), menus.end());
    return menus;
}

bool MainWindow::parkedUnsaved() const
{
    return std::any_of(m_parked.begin(), m_parked.end(), [](const auto& entry) { return entry.second.modified; });
}

bool MainWindow::writeParked(const std::string& menu, ParkedWork& work)
{
    if (!work.file)
        return false;
    const auto written =
        writeMenuFile(this, m_dialogs, work.menu, work.menuFile.get(), work.file->encoding, work.file->path, m_write);
    if (!written)
        return false;
    tookWritten(*written, work.file->path, work.menu.slots, work.history, work.menuFile);
    // What the file leaves out stays unsaved work, as for the menu shown.
    work.saved = menuFileHolds(work.menu.settings, work.menu.slots);
    work.modified =
        withoutEmptyTexts(work.menu.settings) != work.saved->settings || !(work.menu.slots == work.saved->slots);
    m_folder->reread(menu);
    m_folder->setUnsaved(menu, work.modified);
    return true;
}

bool MainWindow::saveAll()
{
    bool all = !m_modified || save();
    std::vector<std::string> reread;
    for (auto& [menu, work] : m_parked) {
        if (!work.modified)
            continue;
        // Another program's change is never written over unasked.
        switch (askOverwrite(work.file ? work.file->path : std::string(), work.menuFile.get())) {
        case Overwrite::Yes:
            all = writeParked(menu, work) && all;
            break;
        case Overwrite::Reread:
            reread.push_back(menu);
            break;
        case Overwrite::No:
            all = false;
            break;
        }
    }
    // Its work let go, the menu shows the file as it is now when next chosen.
    for (const std::string& menu : reread) {
        m_parked.erase(menu);
        m_folder->reread(menu);
        m_folder->setUnsaved(menu, false);
    }
    workChanged();
    return all;
}

bool MainWindow::mayCloseFolder()
{
    const std::vector<std::string> unsaved = unsavedMenus();
    // The menu shown alone is asked about as any work is.
    if (unsaved.empty() || !parkedUnsaved())
        return true;
    QString text = QStringLiteral("以下菜单有未保存的更改:");
    for (const std::string& menu : unsaved)
        text += QStringLiteral("\n· ") + shown(menu);
    switch (m_dialogs.question(this, QStringLiteral("提示"), text,
                               {QStringLiteral("全部保存"), QStringLiteral("不保存"), QStringLiteral("取消")}, 0, 2)) {
    case 0:
        return saveAll();
    case 1:
        m_parked.clear();
        return true;
    default:
        return false;
    }
}

void MainWindow::recheckShownMenu()
{
    const auto menu = shownFolderMenu();
    if (!menu)
        return;
    m_folder->setUnsaved(*menu, m_modified);
    if (!m_modified) {
        m_folder->reread(*menu);
        return;
    }
    // The check reads the menu as the file would hold it, written now.
    const WholeMenu work{menuSettings(), m_document.slots};
    if (m_menuFile && m_menuFile->text) {
        const auto written = writeMenuOnto(*m_menuFile, work, claimsByOrigin(work.slots, m_menuFile->text->places),
                                           m_currentFile->encoding);
        if (const auto* onto = std::get_if<MenuOnto>(&written))
            m_folder->recheck(*menu, onto->bytes());
        return;
    }
    const auto bytes = menuFileBytes(work.settings, work.slots, m_currentFile->encoding);
    if (const auto* made = std::get_if<std::string>(&bytes))
        m_folder->recheck(*menu, *made);
}

std::optional<std::string> MainWindow::linkedMenu(int slot) const
{
    const auto commands = gb18030ToUtf8(m_document.slots[slot].command);
    if (!commands)
        return std::nullopt;
    for (const std::string& target : openedMenus(*commands)) {
        if (m_folder->isOpen()) {
            if (auto menu = m_folder->folder().linkedMenu(target))
                return menu;
        } else if (m_currentFile) {
            // Without a folder, the menu beside the current file.
            const QFileInfo beside(QFileInfo(shown(m_currentFile->path)).dir(), QString::fromStdString(target));
            if (beside.isFile())
                return fileSystemName(beside.absoluteFilePath());
        }
    }
    return std::nullopt;
}

void MainWindow::followLink()
{
    const auto target = linkedMenu(m_document.currentSlot);
    if (!target)
        return;
    if (m_folder->isOpen())
        showFolderMenu(*target);
    else
        openFile(shown(*target));
}

std::string MainWindow::recoveryOfWork() const
{
    const WholeMenu work{menuSettings(), m_document.slots};
    auto bytesOf = [](const std::shared_ptr<const ImportedMenu>& file) {
        return file && file->text ? std::string_view(file->text->bytes) : std::string_view();
    };
    if (!m_folder->isOpen())
        return recoveryText(work, m_currentFile, bytesOf(m_menuFile));
    FolderRecovery folder{m_folder->root(), {}};
    for (const auto& [menu, parked] : m_parked) {
        if (parked.modified)
            folder.works.push_back(recoveryText(parked.menu, parked.file, bytesOf(parked.menuFile)));
    }
    return recoveryText(work, m_currentFile, bytesOf(m_menuFile), &folder);
}

HeldMenu MainWindow::heldMenu(const std::string& menu) const
{
    HeldMenu held{menu, nullptr, std::nullopt};
    if (shownFolderMenu() == menu) {
        held.read = m_menuFile;
        held.shown = WholeMenu{menuSettings(), m_document.slots};
    } else if (const auto parked = m_parked.find(menu); parked != m_parked.end()) {
        held.read = parked->second.menuFile;
        held.shown = parked->second.menu;
    }
    if (!held.read) {
        const auto bytes = readWholeFile(m_folder->filePath(menu));
        if (const auto* file = std::get_if<std::string>(&bytes)) {
            auto read = importMenuText(*file);
            if (auto* menuRead = std::get_if<ImportedMenu>(&read))
                held.read = std::make_shared<const ImportedMenu>(std::move(*menuRead));
        }
    }
    return held;
}

void MainWindow::renameFolderMenu()
{
    const auto menu = m_folder->isOpen() ? m_folder->selectedMenu() : std::nullopt;
    if (!menu)
        return;
    const std::string oldName = std::filesystem::path(*menu).filename().string();
    const auto chosen = m_dialogs.inputText(this, QStringLiteral("重命名菜单"), QStringLiteral("新的文件名:"),
                                            QString::fromStdString(oldName), false);
    if (!chosen || chosen->toStdString() == oldName)
        return;
    // Only the menus that link to it need reading; the folder's check knows them.
    std::vector<HeldMenu> held;
    for (const std::string& other : m_folder->menus()) {
        const CheckedMenu* checked = m_folder->folder().menu(other);
        const bool links = checked &&
            std::any_of(checked->links.begin(), checked->links.end(),
                        [&](const MenuLink& link) { return m_folder->folder().linkedMenu(link.target) == *menu; });
        if (other == *menu || links || m_parked.contains(other) || shownFolderMenu() == other)
            held.push_back(heldMenu(other));
    }
    const auto planned = planMenuRename(m_folder->folder(), held, *menu, chosen->toStdString());
    if (const auto* refusal = std::get_if<RenameRefusal>(&planned)) {
        m_dialogs.message(this, errorCaption(), QString::fromStdString(refusal->message), MessageIcon::Warning);
        return;
    }
    const RenamePlan& plan = std::get<RenamePlan>(planned);
    QString text = QStringLiteral("把“%1”改名为“%2”").arg(shown(plan.from), shown(plan.to));
    if (!plan.changedFiles().empty()) {
        text += QStringLiteral(",并改写以下文件中指向它的链接:");
        for (const std::string& file : plan.changedFiles())
            text += QStringLiteral("\n· ") + shown(file);
    }
    if (m_dialogs.question(this, QStringLiteral("重命名菜单"), text + QStringLiteral("\n\n要继续吗?"),
                           {QStringLiteral("重命名"), QStringLiteral("取消")}, 0, 1) != 0)
        return;
    if (const auto failed = carryOutRename(plan, m_folder->root())) {
        m_dialogs.message(
            this, errorCaption(),
            QStringLiteral("无法重命名“%1”:%2").arg(shown(failed->path), QString::fromStdString(failed->message)),
            MessageIcon::Warning);
        m_folder->lookAgain();
        return;
    }
    // Each menu rewritten: its file as now written, its work with the links renamed.
    const std::optional<std::string> shownMenu = shownFolderMenu();
    for (const LinkRewrite& rewrite : plan.rewrites) {
        std::shared_ptr<const ImportedMenu> file;
        if (rewrite.written)
            file = std::make_shared<const ImportedMenu>(rewrite.written->readBack);
        if (rewrite.path == shownMenu) {
            if (rewrite.written)
                m_history.renumberOrigins(rewrite.written->blockNumbers);
            const bool wasModified = m_modified;
            showMenu(rewrite.shown, m_document.currentSlot, EmptyTexts::ShowHint);
            if (file)
                m_menuFile = file;
            if (file && !wasModified)
                m_saved = WholeMenu{withoutEmptyTexts(rewrite.shown.settings), rewrite.shown.slots};
            updateTitle();
            workChanged();
        } else if (const auto parked = m_parked.find(rewrite.path); parked != m_parked.end()) {
            ParkedWork& work = parked->second;
            if (rewrite.written)
                work.history.renumberOrigins(rewrite.written->blockNumbers);
            work.menu = rewrite.shown;
            if (file)
                work.menuFile = file;
            if (file && !work.modified)
                work.saved = WholeMenu{withoutEmptyTexts(rewrite.shown.settings), rewrite.shown.slots};
        }
    }
    // The renamed menu under its new name, shown or kept.
    if (shownMenu == plan.from) {
        m_currentFile->path = m_folder->filePath(plan.to);
        updateTitle();
    } else if (auto parked = m_parked.extract(plan.from)) {
        if (parked.mapped().file)
            parked.mapped().file->path = m_folder->filePath(plan.to);
        parked.key() = plan.to;
        m_parked.insert(std::move(parked));
    }
    const std::vector<std::string> unsaved = unsavedMenus();
    m_folder->open(m_folder->root());
    for (const std::string& each : unsaved)
        m_folder->setUnsaved(each, true);
    if (const auto menuShown = shownFolderMenu())
        m_folder->setShown(*menuShown);
}

void MainWindow::newFolderMenu()
{
    if (!m_folder->isOpen())
        return;
    const auto name = m_dialogs.inputText(this, QStringLiteral("新建菜单"), QStringLiteral("文件名:"),
                                          QStringLiteral("menu.yml"), false);
    if (!name)
        return;
    if (const auto problem = menuNameProblem(m_folder->folder(), name->toStdString())) {
        m_dialogs.message(this, errorCaption(), QString::fromStdString(*problem), MessageIcon::Warning);
        return;
    }
    const auto title =
        m_dialogs.inputText(this, QStringLiteral("新建菜单"), QStringLiteral("菜单标题:"), QString(), false);
    if (!title)
        return;
    const auto rows =
        m_dialogs.inputText(this, QStringLiteral("新建菜单"), QStringLiteral("行数(1–6):"), QStringLiteral("3"), true);
    if (!rows)
        return;
    const auto bytes = newMenuBytes(qtToDoc(*title), rows->toInt());
    if (const auto* refusal = std::get_if<Refusal>(&bytes)) {
        m_dialogs.message(this, errorCaption(), QString::fromStdString(refusal->message), MessageIcon::Warning);
        return;
    }
    // In the folder of the menu shown.
    std::string folder;
    if (const auto menu = shownFolderMenu(); menu && menu->rfind('/') != std::string::npos)
        folder = menu->substr(0, menu->rfind('/') + 1);
    const std::string menu = folder + name->toStdString();
    if (const auto why = createMenuFile(m_folder->root(), menu, std::get<std::string>(bytes))) {
        m_dialogs.message(this, errorCaption(),
                          QStringLiteral("无法新建菜单“%1”:%2").arg(shown(menu), QString::fromStdString(*why)),
                          MessageIcon::Warning);
        return;
    }
    m_folder->noteWritten(menu, std::get<std::string>(bytes));
    m_folder->lookAgain();
    m_folder->reread(menu);
    showFolderMenu(menu);
}

void MainWindow::folderChangedOutside(const std::vector<std::string>& menus)
{
    // A menu kept unsaved keeps its work; Ctrl+S asks before it writes over the change.
    for (const std::string& menu : menus) {
        if (const auto parked = m_parked.find(menu); parked != m_parked.end() && !parked->second.modified)
            m_parked.erase(parked);
    }
    const auto menu = shownFolderMenu();
    if (!menu || std::find(menus.begin(), menus.end(), *menu) == menus.end())
        return;
    if (m_modified &&
        m_dialogs.question(this, QStringLiteral("提示"), QStringLiteral("“%1”在磁盘上被其他程序改过").arg(shown(*menu)),
                           {QStringLiteral("保留我的修改"), QStringLiteral("重新读取")}, 0, 0) == 0)
        return;
    if (const auto opened = openFileCommand(*this, m_dialogs, m_folder->filePath(*menu), true, false))
        adoptOpenedFile(*opened);
    else
        clearData();
}

}  // namespace cofferon
