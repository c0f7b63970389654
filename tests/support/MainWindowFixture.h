#pragma once

// The main window of the window tests: a fresh document, scripted dialogs and
// a temporary folder for each test, the program's folder pointed at it (no
// icons there: every item shows the missing-item picture until a test writes
// some) and the state folder of the recovery files in it.

#include <QTest>

#include <memory>

#include "app/gui/MainWindow.h"
#include "document/core/Document.h"
#include "document/core/ProgramDirectory.h"
#include "document/core/StateFolder.h"
#include "support/Controls.h"
#include "support/FakeDialogs.h"
#include "support/TempDir.h"

namespace cofferon::test {

class MainWindowFixture {
protected:
    enum class Shown {
        No,
        Exposed,
        Active,  // shown and given the keys
    };

    // False when the window did not come up as asked.
    bool openWindow(Shown shown)
    {
        m_document = Document{};
        m_dialogs = FakeDialogs{};
        m_dir = std::make_unique<TempDir>();
        setProgramDirectory(m_dir->path().string());
        setStateFolder(m_dir->file("state"));
        m_window = std::make_unique<MainWindow>(m_document, m_dialogs);
        if (shown == Shown::No)
            return true;
        m_window->show();
        if (shown == Shown::Exposed)
            return QTest::qWaitForWindowExposed(m_window.get());
        m_window->activateWindow();
        return QTest::qWaitForWindowActive(m_window.get());
    }

    void closeWindow()
    {
        m_window.reset();
        setProgramDirectory(".");
        setStateFolder({});
        m_dir.reset();
    }

    template <typename T>
    T* find(const char* name) const
    {
        return child<T>(m_window.get(), name);
    }

    Document m_document;
    FakeDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<TempDir> m_dir;
};

}  // namespace cofferon::test
