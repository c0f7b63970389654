#pragma once

#include <QWidget>

#include <functional>
#include <optional>

#include "document/core/AtomicFile.h"
#include "document/core/Document.h"
#include "document/core/History.h"
#include "document/core/MenuSettings.h"
#include "menufile/core/MenuEncoding.h"
#include "project/core/CurrentFile.h"
#include "project/gui/MenuWindow.h"
#include "project/gui/RecoveryKeeper.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTextEdit;

namespace cofferon {

class Dialogs;
class HiddenRowsLine;
class PreviewGrid;

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
    bool exportTo(const std::string& path, OutputEncoding encoding);
    void adoptOpenedFile(const CurrentFile& file);
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
    PreviewGrid* m_grid = nullptr;
    HiddenRowsLine* m_hiddenRows = nullptr;
};

}  // namespace cofferon
