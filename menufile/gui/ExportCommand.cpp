#include "menufile/gui/ExportCommand.h"

#include <QDir>
#include <QFile>

#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuOnto.h"
#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

// What one box lists before it only counts the rest.
constexpr std::size_t kListedOmissions = 20;

// Writing is the choice to make; the default keeps the old file, so a
// Return pressed out of habit never replaces a file with less than the work.
bool confirmOmissions(QWidget* parent, Dialogs& dialogs, const std::vector<std::string>& omissions)
{
    if (omissions.empty())
        return true;
    QString text = QStringLiteral("菜单文件不会包含以下内容:");
    for (std::size_t i = 0; i < omissions.size() && i < kListedOmissions; ++i)
        text += QStringLiteral("\n· ") + programText(omissions[i]);
    if (omissions.size() > kListedOmissions)
        text += QStringLiteral("\n……另有 %1 项").arg(omissions.size() - kListedOmissions);
    text += QStringLiteral("\n\n这些内容仍留在当前配置中。要继续保存菜单文件吗?");
    const QStringList buttons = {QStringLiteral("继续保存"), QStringLiteral("取消")};
    return dialogs.question(parent, QStringLiteral("提示"), text, buttons, 1, 1) == 0;
}

}  // namespace

std::optional<std::string> askMenuFileName(QWidget* parent, Dialogs& dialogs)
{
    const layout::Control* dialog = layout::findControl(layout::mainWindowLayout(), "输出对话框");
    const std::optional<QString> chosen = dialogs.saveFileName(parent, programText(dialog->caption));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return ymlFileName(QFile::encodeName(*chosen).toStdString());
}

std::optional<WrittenMenu> writeMenuFile(QWidget* parent, Dialogs& dialogs, const WholeMenu& menu,
                                         const ImportedMenu* onto, OutputEncoding encoding, const std::string& fileName,
                                         const WriteFunction& write)
{
    auto refuse = [&](const QString& text) {
        dialogs.message(parent, errorCaption(), text, MessageIcon::Warning);
        return std::nullopt;
    };

    WrittenMenu written;
    std::string bytes;
    if (onto && onto->text) {
        auto result = writeMenuOnto(*onto, menu, claimsByOrigin(menu.slots, onto->text->places), encoding);
        if (const auto* refusal = std::get_if<Refusal>(&result))
            return refuse(programText(refusal->message));
        auto& done = std::get<MenuOnto>(result);
        bytes = done.bytes();
        written.file = std::make_shared<const ImportedMenu>(std::move(done.readBack));
        written.blockNumbers = std::move(done.blockNumbers);
    } else {
        auto made = menuFileBytes(menu.settings, menu.slots, encoding);
        if (const auto* refusal = std::get_if<Refusal>(&made))
            return refuse(programText(refusal->message));
        bytes = std::get<std::string>(std::move(made));
    }
    if (!confirmOmissions(parent, dialogs, menuFileOmissions(menu.settings, menu.slots)))
        return std::nullopt;

    if (const auto error = writeFileAtomically(fileName, bytes, write)) {
        const QString shownName = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(fileName)));
        return refuse(QStringLiteral("无法写入文件“%1”:%2\n配置未生成。")
                          .arg(shownName, programText(fileErrorText(error->code))));
    }
    if (!written.file) {
        auto read = importMenuText(bytes, encoding);
        if (auto* menuRead = std::get_if<ImportedMenu>(&read))
            written.file = std::make_shared<const ImportedMenu>(std::move(*menuRead));
        dialogs.message(parent, messageCaption(), QStringLiteral("配置已生成"), MessageIcon::Information);
    }
    return written;
}

}  // namespace cofferon
