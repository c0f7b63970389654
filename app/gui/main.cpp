#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <csignal>
#include <cstdio>

#include "app/gui/Application.h"
#include "app/gui/MainWindow.h"
#include "app/gui/StartArguments.h"
#include "document/core/Document.h"
#include "document/core/ProgramDirectory.h"
#include "document/core/StateFolder.h"
#include "preview/core/IconFolders.h"
#include "ui/gui/Dialogs.h"

int main(int argc, char* argv[])
{
    // A pipe chosen as the output whose reader goes away must fail that write,
    // not end the program with the unsaved work in it.
    std::signal(SIGPIPE, SIG_IGN);
    auto answer = [](const cofferon::StartRequest& request) {
        const bool failed = request.action == cofferon::StartRequest::Action::Fail;
        std::fputs(request.text.toLocal8Bit().constData(), failed ? stderr : stdout);
        return failed ? 1 : 0;
    };
    // --help and --version work without a display (in a terminal over SSH,
    // in help2man). Anything else waits for the toolkit, which takes its own
    // options out first.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto early = cofferon::parseStartArguments(arguments);
        early.action == cofferon::StartRequest::Action::Print)
        return answer(early);

    cofferon::preferChineseLocale();
    QApplication application(argc, argv);
    cofferon::setUpApplication(application);
    const cofferon::StartRequest request = cofferon::parseStartArguments(QCoreApplication::arguments());
    if (request.action != cofferon::StartRequest::Action::Run)
        return answer(request);
    cofferon::setProgramDirectory(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    cofferon::setIconFolders(
        cofferon::standardIconFolders(QFile::encodeName(cofferon::userIconFolder()).toStdString()));
    cofferon::setStateFolder(QFile::encodeName(cofferon::stateFolderPath()).toStdString());

    // The document lives until the window closes; leaving main releases it.
    cofferon::Document document;
    cofferon::QtDialogs dialogs;
    cofferon::MainWindow window(document, dialogs);
    window.show();
    // Work a crashed program left behind comes first; restored, it is what
    // the window shows, and a file named besides stays closed.
    if (!window.offerRecovery() && !request.file.isEmpty()) {
        // A folder named is the server's menus folder.
        if (QFileInfo(request.file).isDir())
            window.openFolder(request.file);
        else
            window.openFile(request.file);
    }
    return application.exec();
}
