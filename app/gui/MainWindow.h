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

namespace cofferon {

class Dialogs;

// The main window: the menu-level settings live in its controls, and every
// command starts here.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(Document& document, Dialogs& dialogs, QWidget* parent = nullptr);

    // The settings as the controls hold them now; a box showing its hint is absent.
    MenuSettings menuSettings() const;

    // Replaces the file write of the export and save commands (tests only).
    void setWriteFunction(WriteFunction write) { m_write = std::move(write); }

public Q_SLOTS:
    void clearData();
    void showOutputFormatMenu();
    void exportAs(OutputEncoding encoding);

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename T>
    T* control(const char* name) const;

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
    QLabel* m_redbox = nullptr;
    QMenu* m_outputMenu = nullptr;
};

}  // namespace cofferon
