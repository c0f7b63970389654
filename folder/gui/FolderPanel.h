#pragma once

// The menus folder beside the grid: its menus as a tree by subfolder, each
// with its title, its opening command and its count of problems, and below
// them the problems of the whole folder, as the folder's check finds them.
// What the window does with a choice is the window's business.

#include <QObject>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "folder/core/FolderChanges.h"
#include "folder/core/FolderWalk.h"
#include "folder/core/MenuFolder.h"

class QFileSystemWatcher;
class QListWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace cofferon {

class FolderPanel : public QObject {
    Q_OBJECT

public:
    FolderPanel(QTreeWidget* menus, QListWidget* problems, QObject* parent = nullptr);

    // Reads the folder (`root` as the file system names it): every menu and
    // its problems. The reason when the folder itself cannot be listed.
    std::optional<std::string> open(const std::string& root);
    void close();
    bool isOpen() const { return !m_root.empty(); }
    const std::string& root() const { return m_root; }

    // A menu's path in the file system, and the other way round (nullopt
    // for a file outside the folder).
    std::string filePath(const std::string& menu) const;
    std::optional<std::string> menuPath(const std::string& file) const;

    const MenuFolder& folder() const { return m_folder; }
    std::vector<std::string> menus() const { return m_folder.paths(); }

    // The window's menu as it stands, checked again: its bytes as they would
    // be written.
    void recheck(const std::string& menu, std::string_view bytes);
    // The menu is read again from the disk, or gone from it.
    void reread(const std::string& menu);
    void setShown(const std::string& menu);
    void setUnsaved(const std::string& menu, bool unsaved);
    // The menu chosen in the list, or nullopt.
    std::optional<std::string> selectedMenu() const;
    // The tool wrote the menu's file itself: no change from outside.
    void noteWritten(const std::string& menu, std::string bytes);
    // Looks at the folder again now, as a change seen by the watch does.
    void lookAgain();

Q_SIGNALS:
    void menuChosen(const std::string& menu);
    // A problem double-clicked: its menu, and the slot it is about (0 for none).
    void problemChosen(const std::string& menu, int slot);
    void contextMenuRequested(const QPoint& global);
    // Files of these menus were changed outside the tool (added ones not
    // among them); the list and the problems show it already.
    void changedOutside(const std::vector<std::string>& menus);

private:
    QTreeWidgetItem* itemOf(const std::string& menu);
    void refresh(const std::vector<std::string>& menus);
    void fillProblems();
    void watch();

    QTreeWidget* m_menus;
    QListWidget* m_problems;
    std::string m_root;
    MenuFolder m_folder;
    std::map<std::string, QTreeWidgetItem*> m_items;
    std::map<std::string, bool> m_unsaved;
    KnownFolder m_known;
    QFileSystemWatcher* m_watcher;
    QTimer* m_settle;  // a change seen waits for the others that come with it
};

}  // namespace cofferon
