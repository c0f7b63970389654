#pragma once

#include <QWidget>

#include <functional>

#include "app/core/AtomicFile.h"
#include "app/core/Document.h"
#include "app/core/History.h"
#include "app/core/MenuSettings.h"
#include "export/core/MenuEncoding.h"
#include "project/gui/MenuWindow.h"

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

public Q_SLOTS:
    // "清空数据": an empty menu of six rows, every box showing its hint.
    void clearData();
    void showOutputFormatMenu();
    void exportAs(OutputEncoding encoding);

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

private:
    void applyStep(const Step& step, bool forward);
    // Boxes, check boxes and rows; a box that already shows what it should is
    // left alone, so that it keeps its caret and its own undo steps.
    void putSettings(const MenuSettings& settings, EmptyTexts emptyTexts);
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
