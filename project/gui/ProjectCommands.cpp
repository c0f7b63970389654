#include "project/gui/ProjectCommands.h"

#include <QDir>
#include <QFile>

#include "app/core/Document.h"
#include "app/gui/DocText.h"
#include "app/gui/MainWindow.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/ProjectFile.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"

namespace cofferon {

namespace {

QString projectFilter()
{
    return programText(layout::findControl(layout::mainWindowLayout(), "文件对话框")->caption);
}

QString shownName(const std::string& path)
{
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

QString errorText(const FileError& error)
{
    return programText(fileErrorText(error.code));
}

}  // namespace

void saveProjectCommand(MainWindow& window, Document& document, Dialogs& dialogs, const WriteFunction& write)
{
    const std::optional<QString> chosen = dialogs.saveFileName(&window, projectFilter());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = iniFileName(QFile::encodeName(*chosen).toStdString());
    if (const auto error = writeProject(path, window.menuSettings(), document.slots, write)) {
        dialogs.message(&window, errorCaption(),
                        QStringLiteral("无法保存配置文件“%1”:%2\n%3")
                            .arg(shownName(path), errorText(*error),
                                 error->touched ? QStringLiteral("文件可能只写入了一部分,请换一个位置重新保存。")
                                                : QStringLiteral("原有文件没有改动。")),
                        MessageIcon::Warning);
    }
}

void loadProjectCommand(MainWindow& window, Document& document, Dialogs& dialogs)
{
    const std::optional<QString> chosen = dialogs.openFileName(&window, projectFilter());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = QFile::encodeName(*chosen).toStdString();
    auto read = readProjectFile(path);
    if (const auto* error = std::get_if<FileError>(&read)) {
        dialogs.message(
            &window, errorCaption(),
            QStringLiteral("无法读取配置文件“%1”:%2\n当前的配置没有改动。").arg(shownName(path), errorText(*error)),
            MessageIcon::Warning);
        return;
    }
    const ProjectData& project = std::get<ProjectData>(read);

    document.slots.clear();
    window.grid()->reset();
    window.applyLoadedSettings(project.settings);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        document.slots[slot] = project.slots[slot];
        window.refreshCell(slot);
    }
    // Slot 1 is current now; show its tooltip rather than the old one.
    window.refreshPreview();
}

void copySlotCommand(Document& document)
{
    document.slotClipboard = document.slots[document.currentSlot];
}

void pasteSlotCommand(MainWindow& window, Document& document)
{
    document.slots[document.currentSlot] = document.slotClipboard;
    // A pasted record without a valid item ID leaves the cell empty, as other ways of emptying a slot do.
    window.refreshCell(document.currentSlot);
    window.refreshPreview();
}

void emptySlotCommand(MainWindow& window, Document& document)
{
    document.slots[document.currentSlot] = SlotRecord{};
    window.grid()->clearPicture(document.currentSlot);
    window.refreshPreview();
}

}  // namespace cofferon
