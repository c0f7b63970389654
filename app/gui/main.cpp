#include <QApplication>
#include <QFile>

#include <csignal>

#include "app/core/Document.h"
#include "app/core/ProgramDirectory.h"
#include "app/gui/Application.h"
#include "app/gui/MainWindow.h"
#include "preview/core/IconFolders.h"
#include "ui/gui/Dialogs.h"

int main(int argc, char* argv[])
{
    // A pipe chosen as the output whose reader goes away must fail that write,
    // not end the program with the unsaved work in it.
    std::signal(SIGPIPE, SIG_IGN);
    cofferon::preferChineseLocale();
    QApplication application(argc, argv);
    cofferon::setUpApplication(application);
    cofferon::setProgramDirectory(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    cofferon::setIconFolders(
        cofferon::standardIconFolders(QFile::encodeName(cofferon::userIconFolder()).toStdString()));

    // The document lives until the window closes; leaving main releases it.
    cofferon::Document document;
    cofferon::QtDialogs dialogs;
    cofferon::MainWindow window(document, dialogs);
    window.show();
    return application.exec();
}
