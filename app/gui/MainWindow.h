#pragma once

#include <QWidget>

#include "app/core/AtomicFile.h"
#include "app/core/Document.h"
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

Q_SIGNALS:
    void slotEditorRequested(int slot);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Document& m_document;
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
