#pragma once

#include <QWidget>

#include <functional>

#include "app/core/AtomicFile.h"
#include "app/core/Document.h"
#include "app/core/History.h"
#include "app/core/MenuSettings.h"
#include "export/core/MenuEncoding.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTextEdit;

namespace cofferon {

class Dialogs;
class PreviewGrid;

// The main window: the menu-level settings live in its controls, and every
// command starts here.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(Document& document, Dialogs& dialogs, QWidget* parent = nullptr);

    // The settings as the controls hold them now; a box showing its hint is absent.
    MenuSettings menuSettings() const;

    PreviewGrid* grid() const { return m_grid; }

    // Replaces the file write of the export and save commands (tests only).
    void setWriteFunction(WriteFunction write) { m_write = std::move(write); }

    // Runs a command that changes the document as one undo step; with
    // `settingsToo` the step also keeps the menu settings (a load, clearing).
    void changeDocument(const std::function<void()>& change, bool settingsToo = false);

    const History& history() const { return m_history; }

public Q_SLOTS:
    void clearData();
    void showOutputFormatMenu();
    void exportAs(OutputEncoding encoding);

    // Redraws the tooltip of the current slot.
    void refreshPreview();
    // Gives the slot's cell the picture of its item, or none when its id is not valid.
    void refreshCell(int slot);
    // Opens the slot editor on the current slot, modally.
    void openSlotEditor();
    // What a project load does to the settings controls: values that are
    // present go into their boxes in black, the others leave them as they are.
    void applyLoadedSettings(const MenuSettings& settings);
    // Puts the settings into the controls exactly: an absent text shows its hint.
    void showSettings(const MenuSettings& settings);

    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z; inside a text box the box's own undo wins.
    void undo();
    void redo();

Q_SIGNALS:
    void slotEditorRequested(int slot);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyStep(const Step& step, bool forward);
    // Boxes, check boxes and rows; with `keepBoxesOfEmptyTexts` an absent or
    // empty text leaves its box as it was, else an absent one shows its hint.
    void putSettings(const MenuSettings& settings, bool keepBoxesOfEmptyTexts);
    void dragSlot(int from, int to, bool copy);

    Document& m_document;
    History m_history;
    Dialogs& m_dialogs;
    WriteFunction m_write;
    bool m_centred = false;

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
};

}  // namespace cofferon
