#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/core/AtomicFile.h"
#include "document/core/Document.h"
#include "document/core/History.h"
#include "document/core/MenuSettings.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"
#include "project/core/CurrentFile.h"
#include "project/gui/MenuWindow.h"
#include "project/gui/RecoveryKeeper.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QAction;
class QMenu;
class QTextEdit;
class QTimer;

namespace cofferon {

class Dialogs;
class FolderPanel;
struct WrittenMenu;
class HiddenRowsLine;
class PreviewGrid;
struct OpenedFile;

// The main window: the menu-level settings live in its controls, and every
// command starts here.
class MainWindow : public QWidget, public MenuWindow {
    Q_OBJECT

public:
    MainWindow(Document& document, Dialogs& dialogs, QWidget* parent = nullptr);

    void showMenu(const WholeMenu& menu, int current, EmptyTexts emptyTexts) override;
    MenuSettings menuSettings() const override;
    void changeDocument(const std::function<void()>& change, bool settingsToo) override;
    QWidget* dialogParent() override { return this; }

    PreviewGrid* grid() const { return m_grid; }

    // Replaces the file write of the export and save commands (tests only).
    void setWriteFunction(WriteFunction write) { m_write = std::move(write); }

    const History& history() const { return m_history; }

    // The file the work belongs to: the one last opened, imported or saved.
    const std::optional<CurrentFile>& currentFile() const { return m_currentFile; }
    // Whether the work differs from what its file holds (a new window: from
    // an empty one). Shown as the title's mark.
    bool hasUnsavedChanges() const { return m_modified; }

    // Opens a file named on the command line as "读取配置" opens the file it
    // asks for; one that is missing or cannot be read is reported. False when
    // the work did not change.
    bool openFile(const QString& path);

    // At start: offers the work of a program that ended without saving it,
    // one recovery file at a time, newest first. True when work was restored.
    bool offerRecovery();

    // What the end of the desktop session asks of the window. False when the
    // user wants the session to go on. Without `mayAsk` the work stays in the
    // recovery file for the next start.
    bool commitData(bool mayAsk);

    // Writes the recovery file now rather than after the pause in typing.
    void writeRecoveryNow();

    // "打开文件夹": the server's menus folder beside the grid. False when it
    // was not opened (it cannot be read, or the user kept the work).
    bool openFolder(const QString& path);
    // Shows a menu of the folder (its path in the folder), keeping the work
    // of the one left, unsaved changes and undo steps included.
    bool showFolderMenu(const std::string& menu);
    // The folder's menus whose work is not saved, the one shown included.
    std::vector<std::string> unsavedMenus() const;

public Q_SLOTS:
    // "清空数据": an empty menu of six rows, every box showing its hint.
    void clearData();
    void showOutputFormatMenu();
    // "保存为yml" in that encoding: asks for a name. True when written.
    bool exportAs(OutputEncoding encoding);

    // Ctrl+S: writes the current file as it is, a project file as "保存配置"
    // and a menu file as "保存为yml" in its encoding, without asking for a
    // name; without a current file it is "保存配置". True when written.
    bool save();
    // Ctrl+Shift+S: asks for a name, of a menu file when the current file is one.
    bool saveAs();
    // "保存配置" and Ctrl+O, "读取配置".
    bool saveProjectAs();
    void open();
    void chooseFolder();
    // "全部保存": every menu of the folder with unsaved work. True when all were written.
    bool saveAll();
    // "新建菜单": an empty menu file in the folder of the menu shown, which then opens.
    void newFolderMenu();
    // "重命名菜单" (F2): the menu chosen in the list, and every link to it in the folder.
    void renameFolderMenu();

    void refreshPreview() override;
    void refreshCell(int slot) override;
    // Opens the slot editor on the current slot, modally.
    void openSlotEditor();

    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z; inside a text box the box's own undo wins.
    void undo();
    void redo();

Q_SIGNALS:
    void slotEditorRequested(int slot);

protected:
    void showEvent(QShowEvent* event) override;
    // With unsaved changes, asks whether to save them first.
    void closeEvent(QCloseEvent* event) override;

private:
    void applyStep(const Step& step, bool forward);
    // Boxes, check boxes and rows; a box that already shows what it should is
    // left alone, so that it keeps its caret and its own undo steps.
    void putSettings(const MenuSettings& settings, EmptyTexts emptyTexts);
    void dragSlot(int from, int to, bool copy);

    WholeMenu currentMenu() const;
    // Writes the menu file `path`: onto the menu file the work came from
    // where there is one, else with the tool's own writer. True when written.
    bool writeMenuTo(const std::string& path, OutputEncoding encoding);
    // After a menu file was written from the work: the slots' origins follow
    // its blocks, the next write goes onto it, the folder's watch knows it.
    void tookWritten(const WrittenMenu& written, const std::string& path, SlotTable& slots, History& history,
                     std::shared_ptr<const ImportedMenu>& menuFile);
    // Before a menu file read as `read` is written again: asks when another
    // program changed it since.
    enum class Overwrite { Yes, Reread, No };
    Overwrite askOverwrite(const std::string& path, const ImportedMenu* read);
    // Ctrl+S's answer to that: false when the file is not to be written;
    // 重新读取 reads it in place of the work.
    bool mayOverwrite(const CurrentFile& file);
    // Before the work is replaced: false when the user keeps it.
    bool mayReplaceWork();
    // "保存对当前配置的更改吗?", and the save when that is the answer.
    enum class SaveAnswer { Saved, Discarded, Cancelled };
    SaveAnswer askToSave();
    void adoptOpenedFile(const OpenedFile& opened);

    // The work of one menu while another is shown.
    struct ParkedWork {
        WholeMenu menu;
        int currentSlot = 1;
        History history;
        std::optional<CurrentFile> file;
        std::shared_ptr<const ImportedMenu> menuFile;
        std::optional<WholeMenu> saved;
        MenuSettings settingsShown;
        bool modified = false;
    };
    // The folder's name of the menu shown, or nullopt.
    std::optional<std::string> shownFolderMenu() const;
    void park();
    void unpark(ParkedWork work);
    bool writeParked(const std::string& menu, ParkedWork& work);
    // Whether a menu other than the one shown has unsaved work.
    bool parkedUnsaved() const;
    // Before the folder goes: false when the user keeps it.
    bool mayCloseFolder();
    void showFolderPanel(bool shown);
    // The check of the menu shown again, on the work as it stands.
    void recheckShownMenu();
    void followLink();
    std::optional<std::string> linkedMenu(int slot) const;
    std::string recoveryOfWork() const;
    void folderChangedOutside(const std::vector<std::string>& menus);
    // The menu of the folder as the window holds it, for a rename: its
    // file as read and its work, wherever it is kept.
    struct HeldMenu heldMenu(const std::string& menu) const;
    // The work now matches `holds`, what the file keeps of it; nullopt: no file does.
    void setCurrentFile(const std::optional<CurrentFile>& file, std::optional<WholeMenu> holds);
    void updateTitle();
    // After every change of the work: the title's mark and the recovery file.
    void workChanged();

    Document& m_document;
    History m_history;
    Dialogs& m_dialogs;
    WriteFunction m_write;
    bool m_centred = false;

    std::optional<CurrentFile> m_currentFile;
    // The menu file the work is written onto, as last read or written, while
    // the current file is a menu file.
    std::shared_ptr<const ImportedMenu> m_menuFile;
    bool m_toldOfKeptKeys = false;  // that a project file leaves out what only the menu file keeps
    std::optional<WholeMenu> m_saved;  // settings with empty texts absent
    MenuSettings m_settingsShown;  // of the last whole menu shown, as m_saved holds them
    bool m_modified = false;
    bool m_showingMenu = false;
    RecoveryKeeper m_recovery;
    // Decided already, until the work changes again: the user chose not to
    // save (the recovery file goes), or the session ends without a question
    // (the recovery file stays for the next start).
    enum class Closing { Ask, Discard, KeepRecovery };
    Closing m_closing = Closing::Ask;

    QLineEdit* m_title = nullptr;
    QLineEdit* m_openItem = nullptr;
    QLineEdit* m_command = nullptr;
    QCheckBox* m_leftClick = nullptr;
    QCheckBox* m_rightClick = nullptr;
    QComboBox* m_rows = nullptr;
    QTextEdit* m_preview = nullptr;
    QMenu* m_outputMenu = nullptr;
    QMenu* m_slotMenu = nullptr;
    QAction* m_followLink = nullptr;
    PreviewGrid* m_grid = nullptr;
    FolderPanel* m_folder = nullptr;
    QTimer* m_recheck = nullptr;
    std::map<std::string, ParkedWork> m_parked;  // by the menu's path in the folder
    HiddenRowsLine* m_hiddenRows = nullptr;
};

}  // namespace cofferon
