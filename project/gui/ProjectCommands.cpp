#include "project/gui/ProjectCommands.h"

#include <QDir>
#include <QFile>

#include "app/core/Document.h"
#include "app/core/ReadFile.h"
#include "app/gui/DocText.h"
#include "app/gui/MainWindow.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/MenuImport.h"
#include "project/core/ProjectFile.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"

namespace cofferon {

namespace {

// The second kind of file the load takes: menu files, which it imports.
constexpr const char* kMenuFileFilter = "菜单文件(*.yml *.yaml)|*.yml;*.yaml";

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

// Replaces the work with a project as a load does: settings, slots, rows,
// pictures, slot 1 current, its tooltip shown.
void applyProject(MainWindow& window, Document& document, const ProjectData& project)
{
    document.slots.clear();
    window.grid()->reset();
    window.applyLoadedSettings(project.settings);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        document.slots[slot] = project.slots[slot];
        window.refreshCell(slot);
    }
    window.refreshPreview();
}

// What a message box can list before it only counts the rest.
constexpr std::size_t kListedLeftovers = 20;

// A menu file is the whole menu: what it leaves out is empty or unchecked
// afterwards, so the settings go into the window exactly (a project load
// keeps the boxes of absent values instead).
void applyImportedMenu(MainWindow& window, Document& document, const ProjectData& project)
{
    document.slots.clear();
    window.grid()->reset();
    window.showSettings(project.settings);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        document.slots[slot] = project.slots[slot];
        window.refreshCell(slot);
    }
    window.refreshPreview();
}

// Asks which reading of a file that reads both ways to take, showing a text
// in each; nullptr when the user cancels.
const ImportedMenu* chooseReading(QWidget* window, Dialogs& dialogs, const ImportedMenu& menu)
{
    const ImportedMenu& other = *menu.otherReading;
    const int chosen = dialogs.question(
        window, QStringLiteral("选择编码"),
        QStringLiteral("这个菜单文件按 UTF-8 和 GB2312 读都说得通,请选择它的编码:\n\n%1:%2\n%3:%4")
            .arg(programText(encodingName(menu.encoding)), programText(menu.sample),
                 programText(encodingName(other.encoding)), programText(other.sample)),
        {programText(encodingName(menu.encoding)), programText(encodingName(other.encoding)), QStringLiteral("取消")},
        0, 2);
    return chosen == 0 ? &menu : chosen == 1 ? &other : nullptr;
}

void importMenuFile(MainWindow& window, Document& document, Dialogs& dialogs, const std::string& path)
{
    auto bytes = readWholeFile(path);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        dialogs.message(
            &window, errorCaption(),
            QStringLiteral("无法读取菜单文件“%1”:%2\n当前的配置没有改动。").arg(shownName(path), errorText(*error)),
            MessageIcon::Warning);
        return;
    }
    const auto imported = importMenu(std::get<std::string>(bytes));
    if (const auto* problem = std::get_if<NotAMenu>(&imported)) {
        dialogs.message(&window, errorCaption(),
                        QStringLiteral("“%1”不是菜单文件,%2\n当前的配置没有改动。")
                            .arg(shownName(path), programText(describeNotAMenu(*problem))),
                        MessageIcon::Warning);
        return;
    }
    const ImportedMenu& read = std::get<ImportedMenu>(imported);
    const ImportedMenu* menu = &read;
    QString encoding = programText(encodingNote(read));
    if (read.encodingChoice == EncodingChoice::Open) {
        menu = chooseReading(&window, dialogs, read);
        if (!menu)
            return;
        encoding = QStringLiteral("文件按 UTF-8 和 GB2312 读都说得通,已按所选的 %1 读取")
                       .arg(programText(encodingName(menu->encoding)));
    }
    window.changeDocument([&] { applyImportedMenu(window, document, menu->project); }, true);
    if (menu->notTakenOver.empty() && encoding.isEmpty())
        return;
    QString text = QStringLiteral("菜单已读取。");
    if (!encoding.isEmpty())
        text += QLatin1Char('\n') + encoding + QStringLiteral("。");
    if (!menu->notTakenOver.empty())
        text += QStringLiteral("\n以下内容没有导入:");
    for (std::size_t i = 0; i < menu->notTakenOver.size() && i < kListedLeftovers; ++i)
        text += QStringLiteral("\n· ") + programText(menu->notTakenOver[i]);
    if (menu->notTakenOver.size() > kListedLeftovers)
        text += QStringLiteral("\n……另有 %1 项").arg(menu->notTakenOver.size() - kListedLeftovers);
    dialogs.message(&window, messageCaption(), text, MessageIcon::Information);
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
    const std::optional<QString> chosen =
        dialogs.openFileName(&window, projectFilter() + QLatin1Char('|') + QString::fromUtf8(kMenuFileFilter));
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = QFile::encodeName(*chosen).toStdString();
    if (isMenuFileName(path)) {
        importMenuFile(window, document, dialogs, path);
        return;
    }
    auto read = readProjectFile(path);
    if (const auto* error = std::get_if<FileError>(&read)) {
        dialogs.message(
            &window, errorCaption(),
            QStringLiteral("无法读取配置文件“%1”:%2\n当前的配置没有改动。").arg(shownName(path), errorText(*error)),
            MessageIcon::Warning);
        return;
    }
    window.changeDocument([&] { applyProject(window, document, std::get<ProjectData>(read)); }, true);
}

void copySlotCommand(Document& document)
{
    document.slotClipboard = document.slots[document.currentSlot];
}

void pasteSlotCommand(MainWindow& window, Document& document)
{
    window.changeDocument([&] {
        document.slots[document.currentSlot] = document.slotClipboard;
        // A pasted record without a valid item ID leaves the cell empty, as other ways of emptying a slot do.
        window.refreshCell(document.currentSlot);
        window.refreshPreview();
    });
}

void emptySlotCommand(MainWindow& window, Document& document)
{
    window.changeDocument([&] {
        document.slots[document.currentSlot] = SlotRecord{};
        window.grid()->clearPicture(document.currentSlot);
        window.refreshPreview();
    });
}

}  // namespace cofferon
