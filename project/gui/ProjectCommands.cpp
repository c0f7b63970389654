#include "project/gui/ProjectCommands.h"

#include <QDir>
#include <QFile>

#include "document/core/Document.h"
#include "document/core/ReadFile.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"
#include "project/core/CommandLine.h"
#include "project/core/ProjectFile.h"
#include "project/gui/MenuWindow.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

// The second kind of file the load takes: menu files, which it imports. The
// dialog starts on both kinds at once, whichever the current file is.
constexpr const char* kMenuFileFilter = "菜单文件(*.yml *.yaml)|*.yml;*.yaml";
constexpr const char* kBothKindsFilter = "配置和菜单文件(*.ini *.yml *.yaml)|*.ini;*.yml;*.yaml";

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

// What a message box can list before it only counts the rest.
constexpr std::size_t kListedLeftovers = 20;

// Asks which reading of a file that reads both ways to take, showing a text
// in each; nullptr when the user cancels.
const ImportedMenu* chooseReading(QWidget* parent, Dialogs& dialogs, const ImportedMenu& menu)
{
    const ImportedMenu& other = *menu.otherReading;
    const int chosen = dialogs.question(
        parent, QStringLiteral("选择编码"),
        QStringLiteral("这个菜单文件按 UTF-8 和 GB2312 读都说得通,请选择它的编码:\n\n%1:%2\n%3:%4")
            .arg(programText(encodingName(menu.encoding)), programText(menu.sample),
                 programText(encodingName(other.encoding)), programText(other.sample)),
        {programText(encodingName(menu.encoding)), programText(encodingName(other.encoding)), QStringLiteral("取消")},
        0, 2);
    return chosen == 0 ? &menu : chosen == 1 ? &other : nullptr;
}

// What a "消息" box says of the notes of one kind: a heading and a line each.
QString listed(const QString& heading, const std::vector<const ImportNote*>& notes)
{
    if (notes.empty())
        return QString();
    QString text = QLatin1Char('\n') + heading;
    for (std::size_t i = 0; i < notes.size() && i < kListedLeftovers; ++i)
        text += QStringLiteral("\n· ") + programText(notes[i]->text);
    if (notes.size() > kListedLeftovers)
        text += QStringLiteral("\n……另有 %1 项").arg(notes.size() - kListedLeftovers);
    return text;
}

// The menu as read, or nullptr when nothing changed.
std::shared_ptr<const ImportedMenu> importMenuFile(MenuWindow& window, Dialogs& dialogs, const std::string& path,
                                                   bool report)
{
    auto bytes = readWholeFile(path);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        dialogs.message(
            window.dialogParent(), errorCaption(),
            QStringLiteral("无法读取菜单文件“%1”:%2\n当前的配置没有改动。").arg(shownName(path), errorText(*error)),
            MessageIcon::Warning);
        return nullptr;
    }
    const auto imported = importMenuText(std::get<std::string>(bytes));
    if (const auto* problem = std::get_if<NotAMenu>(&imported)) {
        dialogs.message(window.dialogParent(), errorCaption(),
                        QStringLiteral("“%1”不是菜单文件,%2\n当前的配置没有改动。")
                            .arg(shownName(path), programText(describeNotAMenu(*problem))),
                        MessageIcon::Warning);
        return nullptr;
    }
    const ImportedMenu& read = std::get<ImportedMenu>(imported);
    const ImportedMenu* menu = &read;
    QString encoding = programText(encodingNote(read));
    if (read.encodingChoice == EncodingChoice::Open) {
        menu = chooseReading(window.dialogParent(), dialogs, read);
        if (!menu)
            return nullptr;
        encoding = QStringLiteral("文件按 UTF-8 和 GB2312 读都说得通,已按所选的 %1 读取")
                       .arg(programText(encodingName(menu->encoding)));
    }
    auto kept = std::make_shared<const ImportedMenu>(*menu);
    // A menu file is the whole menu: what it leaves out is empty or unchecked
    // afterwards (a project load keeps the boxes of absent values instead).
    window.changeDocument([&] { window.showMenu(menuToEdit(*kept), 1, MenuWindow::EmptyTexts::ShowHint); }, true);
    // What the tool does not edit stays in the file whenever it is written
    // back; what it cannot take over is left as it stands there too.
    std::vector<const ImportNote*> keptKeys;
    std::vector<const ImportNote*> leftOut;
    for (const ImportNote& note : kept->notTakenOver)
        (note.kind == NoteKind::UnknownKey ? keptKeys : leftOut).push_back(&note);
    if (!report || (kept->notTakenOver.empty() && encoding.isEmpty()))
        return kept;
    QString text = QStringLiteral("菜单已读取。");
    if (!encoding.isEmpty())
        text += QLatin1Char('\n') + encoding + QStringLiteral("。");
    text += listed(QStringLiteral("以下内容没有导入:"), leftOut);
    text += listed(QStringLiteral("以下键本工具不编辑,写回原文件时保留:"), keptKeys);
    dialogs.message(window.dialogParent(), messageCaption(), text, MessageIcon::Information);
    return kept;
}

}  // namespace

std::optional<CurrentFile> saveProjectCommand(MenuWindow& window, Document& document, Dialogs& dialogs,
                                              const WriteFunction& write)
{
    const std::optional<QString> chosen = dialogs.saveFileName(window.dialogParent(), projectFilter());
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    const std::string path = iniFileName(QFile::encodeName(*chosen).toStdString());
    if (!saveProjectTo(window, document, dialogs, path, write))
        return std::nullopt;
    return CurrentFile{path, FileKind::Project};
}

bool saveProjectTo(MenuWindow& window, Document& document, Dialogs& dialogs, const std::string& path,
                   const WriteFunction& write)
{
    const auto error = writeProject(path, window.menuSettings(), document.slots, write);
    if (!error)
        return true;
    dialogs.message(window.dialogParent(), errorCaption(),
                    QStringLiteral("无法保存配置文件“%1”:%2\n%3")
                        .arg(shownName(path), errorText(*error),
                             error->touched ? QStringLiteral("文件可能只写入了一部分,请换一个位置重新保存。")
                                            : QStringLiteral("原有文件没有改动。")),
                    MessageIcon::Warning);
    return false;
}

std::optional<OpenedFile> loadProjectCommand(MenuWindow& window, Dialogs& dialogs)
{
    const std::optional<QString> chosen =
        dialogs.openFileName(window.dialogParent(),
                             QString::fromUtf8(kBothKindsFilter) + QLatin1Char('|') + projectFilter() +
                                 QLatin1Char('|') + QString::fromUtf8(kMenuFileFilter));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return openFileCommand(window, dialogs, QFile::encodeName(*chosen).toStdString(), false);
}

std::optional<OpenedFile> openFileCommand(MenuWindow& window, Dialogs& dialogs, const std::string& path,
                                          bool missingIsError, bool report)
{
    const bool menuFile = isMenuFileName(path);
    const QString readFailure = menuFile ? QStringLiteral("无法读取菜单文件“%1”:%2\n当前的配置没有改动。")
                                         : QStringLiteral("无法读取配置文件“%1”:%2\n当前的配置没有改动。");
    if (missingIsError && missingFileError(path)) {
        dialogs.message(window.dialogParent(), errorCaption(),
                        readFailure.arg(shownName(path), QStringLiteral("文件不存在")), MessageIcon::Warning);
        return std::nullopt;
    }
    if (menuFile) {
        auto menu = importMenuFile(window, dialogs, path, report);
        if (!menu)
            return std::nullopt;
        return OpenedFile{CurrentFile{path, FileKind::Menu, menu->encoding}, std::move(menu)};
    }
    auto read = readProjectFile(path);
    if (const auto* error = std::get_if<FileError>(&read)) {
        dialogs.message(window.dialogParent(), errorCaption(), readFailure.arg(shownName(path), errorText(*error)),
                        MessageIcon::Warning);
        return std::nullopt;
    }
    window.changeDocument([&] { window.showMenu(std::get<ProjectData>(read), 1, MenuWindow::EmptyTexts::KeepBox); },
                          true);
    return OpenedFile{CurrentFile{path, FileKind::Project}, nullptr};
}

void copySlotCommand(Document& document)
{
    document.slotClipboard = document.slots[document.currentSlot];
}

void pasteSlotCommand(MenuWindow& window, Document& document)
{
    window.changeDocument(
        [&] {
            document.slots[document.currentSlot] = document.slotClipboard;
            // A pasted slot is a new item of the menu file, whatever block the copy came from.
            document.slots[document.currentSlot].origin = 0;
            // A pasted record without a valid item ID leaves the cell empty, as other ways of emptying a slot do.
            window.refreshCell(document.currentSlot);
            window.refreshPreview();
        },
        false);
}

void emptySlotCommand(MenuWindow& window, Document& document)
{
    window.changeDocument(
        [&] {
            document.slots[document.currentSlot] = SlotRecord{};
            window.refreshCell(document.currentSlot);
            window.refreshPreview();
        },
        false);
}

}  // namespace cofferon
