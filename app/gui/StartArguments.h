#pragma once

// The arguments of cofferon-generator: one file to open, --help, --version.

#include <QString>
#include <QStringList>

namespace cofferon {

struct StartRequest {
    enum class Action {
        Run,  // open the window, with `file` when one is named
        Print,  // print `text` on standard output and end
        Fail,  // print `text` on standard error and end with status 1
    };
    Action action = Action::Run;
    QString text;
    QString file;
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
// Needs no application object, so --help and --version are answered before
// the toolkit looks for a display.
StartRequest parseStartArguments(const QStringList& arguments);

}  // namespace cofferon
