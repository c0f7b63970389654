#include "folder/gui/FolderPanel.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include "preview/gui/PreviewText.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kSlotRole = Qt::UserRole + 1;

QString utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString countText(const ProblemCount& count)
{
    QStringList parts;
    if (count.errors > 0)
        parts << QStringLiteral("%1 错误").arg(count.errors);
    if (count.warnings > 0)
        parts << QStringLiteral("%1 警告").arg(count.warnings);
    return parts.join(QStringLiteral(" "));
}

}  // namespace

FolderPanel::FolderPanel(QTreeWidget* menus, QListWidget* problems, QObject* parent)
    : QObject(parent),
      m_menus(menus),
      m_problems(problems),
      m_watcher(new QFileSystemWatcher(this)),
      m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(200);
    connect(m_settle, &QTimer::timeout, this, &FolderPanel::lookAgain);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_settle, qOverload<>(&QTimer::start));
    m_menus->setColumnCount(4);
    m_menus->setHeaderLabels(
        {QStringLiteral("菜单"), QStringLiteral("标题"), QStringLiteral("指令"), QStringLiteral("问题")});
    m_menus->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_menus, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, kPathRole).toString();
        if (!path.isEmpty())
            Q_EMIT menuChosen(path.toStdString());
    });
    connect(m_menus, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Q_EMIT contextMenuRequested(m_menus->viewport()->mapToGlobal(at)); });
    connect(m_problems, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        Q_EMIT problemChosen(item->data(kPathRole).toString().toStdString(), item->data(kSlotRole).toInt());
    });
}

std::optional<std::string> FolderPanel::open(const std::string& root)
{
    const FolderWalk walk = walkMenuFolder(root, systemFolderAccess());
    if (walk.rootError)
        return readErrorText(*walk.rootError);
    close();
    m_root = root;
    // What is known of the folder starts empty: every menu comes as added.
    FolderChanges found = folderChanges(KnownFolder{}, walk, systemFolderAccess());
    applyChanges(m_folder, found);
    m_known = std::move(found.known);
    m_menus->setUpdatesEnabled(false);
    refresh(m_folder.paths());
    m_menus->expandAll();
    m_menus->setUpdatesEnabled(true);
    watch();
    return std::nullopt;
}

// Only what differs from what is watched is added or removed: a file
// replaced by a save (a new file in its place) or newly written is no longer
// or not yet watched, though its bytes are known.
void FolderPanel::watch()
{
    QSet<QString> wanted;
    if (!m_root.empty()) {
        wanted.insert(QFile::decodeName(QByteArray::fromStdString(m_root)));
        for (const auto& [menu, file] : m_known.files) {
            wanted.insert(QFile::decodeName(QByteArray::fromStdString(filePath(menu))));
            for (std::size_t slash = menu.find('/'); slash != std::string::npos; slash = menu.find('/', slash + 1))
                wanted.insert(QFile::decodeName(QByteArray::fromStdString(filePath(menu.substr(0, slash)))));
        }
    }
    QStringList gone;
    QSet<QString> watched;
    for (const QString& path : m_watcher->files() + m_watcher->directories()) {
        watched.insert(path);
        if (!wanted.contains(path))
            gone << path;
    }
    if (!gone.isEmpty())
        m_watcher->removePaths(gone);
    QStringList missing;
    for (const QString& path : std::as_const(wanted)) {
        if (!watched.contains(path))
            missing << path;
    }
    if (!missing.isEmpty())
        m_watcher->addPaths(missing);
}

void FolderPanel::lookAgain()
{
    if (m_root.empty())
        return;
    const FolderWalk walk = walkMenuFolder(m_root, systemFolderAccess());
    // What is known goes in whole and comes back, with the root's error unchanged.
    FolderChanges changes = folderChanges(std::move(m_known), walk, systemFolderAccess());
    const std::vector<std::string> affected = applyChanges(m_folder, changes);
    m_known = std::move(changes.known);
    if (changes.rootError)
        return;
    watch();
    if (affected.empty() && !changes.problemsChanged)
        return;
    refresh(affected);
    if (!changes.added.empty())
        m_menus->expandAll();
    std::vector<std::string> outside = changes.changed;
    outside.insert(outside.end(), changes.removed.begin(), changes.removed.end());
    if (!outside.empty())
        Q_EMIT changedOutside(outside);
}

void FolderPanel::noteWritten(const std::string& menu, std::string bytes)
{
    // A file new to the folder is left for the next look to find as added.
    if (m_known.files.contains(menu))
        cofferon::noteWritten(m_known, menu, std::move(bytes));
}

void FolderPanel::close()
{
    m_root.clear();
    m_known = KnownFolder{};
    watch();
    m_folder = MenuFolder{};
    m_items.clear();
    m_unsaved.clear();
    m_menus->clear();
    m_problems->clear();
}

std::string FolderPanel::filePath(const std::string& menu) const
{
    return (std::filesystem::path(m_root) / menu).lexically_normal().string();
}

std::optional<std::string> FolderPanel::menuPath(const std::string& file) const
{
    if (m_root.empty())
        return std::nullopt;
    const std::filesystem::path relative = std::filesystem::path(file).lexically_normal().lexically_relative(
        std::filesystem::path(m_root).lexically_normal());
    const std::string menu = relative.generic_string();
    if (menu.empty() || menu.starts_with(".."))
        return std::nullopt;
    return menu;
}

QTreeWidgetItem* FolderPanel::itemOf(const std::string& menu)
{
    if (const auto found = m_items.find(menu); found != m_items.end())
        return found->second;
    // Under the items of its folders, made as they are first needed.
    QTreeWidgetItem* parent = nullptr;
    std::string folder;
    for (std::size_t slash = menu.find('/'); slash != std::string::npos; slash = menu.find('/', slash + 1)) {
        folder = menu.substr(0, slash + 1);
        auto& item = m_items[folder];
        if (!item) {
            item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_menus);
            item->setText(
                0,
                QFile::decodeName(QByteArray::fromStdString(folder.substr(folder.rfind('/', folder.size() - 2) + 1))));
        }
        parent = item;
    }
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_menus);
    item->setData(0, kPathRole, QString::fromStdString(menu));
    m_items[menu] = item;
    return item;
}

void FolderPanel::refresh(const std::vector<std::string>& menus)
{
    for (const std::string& menu : menus) {
        if (!m_folder.contains(menu)) {
            if (const auto found = m_items.find(menu); found != m_items.end()) {
                delete found->second;
                m_items.erase(found);
            }
            continue;
        }
        QTreeWidgetItem* item = itemOf(menu);
        const std::string name = menu.substr(menu.rfind('/') == std::string::npos ? 0 : menu.rfind('/') + 1);
        item->setText(0,
                      QFile::decodeName(QByteArray::fromStdString(name)) +
                          (m_unsaved[menu] ? QStringLiteral(" *") : QString()));
        const CheckedMenu* checked = m_folder.menu(menu);
        const QString title = checked && checked->title ? formattedTextHtml(*checked->title) : QString();
        auto* label = qobject_cast<QLabel*>(m_menus->itemWidget(item, 1));
        if (!label) {
            label = new QLabel;
            label->setTextFormat(Qt::RichText);
            m_menus->setItemWidget(item, 1, label);
        }
        label->setText(title);
        item->setText(2, checked && checked->command ? docToQt(*checked->command) : QString());
        const ProblemCount count = m_folder.countOf(menu);
        item->setText(3, countText(count));
        item->setForeground(3, count.errors > 0 ? QColor(0xC0, 0x00, 0x00) : QColor(0x80, 0x60, 0x00));
    }
    fillProblems();
}

void FolderPanel::fillProblems()
{
    m_problems->clear();
    for (const Problem& problem : m_folder.problems()) {
        std::string line = reportLine(problem, ReportFormat::Parsable);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        auto* item = new QListWidgetItem(utf8Text(line), m_problems);
        item->setToolTip(item->text());
        item->setData(kPathRole, QString::fromStdString(problem.path));
        item->setData(kSlotRole, problem.slot);
        item->setForeground(problem.severity == Severity::Error ? QColor(0xC0, 0x00, 0x00) : QColor(0x80, 0x60, 0x00));
    }
}

void FolderPanel::recheck(const std::string& menu, std::string_view bytes)
{
    if (isOpen())
        refresh(m_folder.setMenu(menu, bytes));
}

void FolderPanel::reread(const std::string& menu)
{
    if (!isOpen())
        return;
    // What is known of the file is what the last look read or the tool
    // wrote, within the walk's limits; a menu it does not know is gone.
    const auto known = m_known.files.find(menu);
    if (known == m_known.files.end()) {
        std::vector<std::string> affected = m_folder.remove(menu);
        affected.push_back(menu);
        refresh(affected);
    } else if (const auto* bytes = std::get_if<std::string>(&known->second.content)) {
        refresh(m_folder.setMenu(menu, *bytes));
    } else {
        refresh(m_folder.setUnread(std::get<Problem>(known->second.content)));
    }
}

void FolderPanel::setShown(const std::string& menu)
{
    if (const auto found = m_items.find(menu); found != m_items.end())
        m_menus->setCurrentItem(found->second);
}

void FolderPanel::setUnsaved(const std::string& menu, bool unsaved)
{
    if (m_unsaved[menu] == unsaved)
        return;
    m_unsaved[menu] = unsaved;
    if (const auto found = m_items.find(menu); found != m_items.end()) {
        QString text = found->second->text(0);
        if (text.endsWith(QStringLiteral(" *")))
            text.chop(2);
        found->second->setText(0, text + (unsaved ? QStringLiteral(" *") : QString()));
    }
}

std::optional<std::string> FolderPanel::selectedMenu() const
{
    const QTreeWidgetItem* item = m_menus->currentItem();
    const QString path = item ? item->data(0, kPathRole).toString() : QString();
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

}  // namespace cofferon
