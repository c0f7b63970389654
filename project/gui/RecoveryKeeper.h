#pragma once

// Keeps a window's unsaved work in its recovery file: written a moment after
// the typing pauses, removed once the work is saved, and the work of programs
// that ended without saving offered at start.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "project/core/Recovery.h"

class QWidget;

namespace cofferon {

class Dialogs;

class RecoveryKeeper : public QObject {
public:
    // `work` gives the recovery text of the work as it is now.
    RecoveryKeeper(std::function<std::string()> work, QObject* parent);

    // The work changed: it is written once typing pauses, or after the
    // longest wait while typing goes on. Nothing is kept without a state folder.
    void changed();
    void writeNow();
    // The work is saved: the recovery file goes.
    void discard();

    // Offers the work of programs that ended without saving it, newest
    // first, until the user restores one through `restore`. True when one was.
    bool offerAbandoned(QWidget* parent, Dialogs& dialogs, const std::function<void(const RecoveredWork&)>& restore);

private:
    std::function<std::string()> m_work;
    QTimer m_timer;
    QElapsedTimer m_unwrittenSince;
    std::optional<RecoveryFile> m_file;
    bool m_failed = false;
};

}  // namespace cofferon
