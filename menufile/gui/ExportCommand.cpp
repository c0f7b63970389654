#include "menufile/gui/ExportCommand.h"

#include <QDir>
#include <QFile>

#include "menufile/core/MenuFileReport.h"
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

std::optional<std::string> exportMenu(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings,
                                      const SlotTable& slots, OutputEncoding encoding, const WriteFunction& write)
{
    const layout::Control* dialog = layout::findControl(layout::mainWindowLayout(), "输出对话框");
    const std::optional<QString> chosen = dialogs.saveFileName(parent, programText(dialog->caption));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    const std::string fileName = ymlFileName(QFile::encodeName(*chosen).toStdString());
    if (!exportMenuTo(parent, dialogs, settings, slots, encoding, fileName, write))
        return std::nullopt;
    return fileName;
}

bool exportMenuTo(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings, const SlotTable& slots,
                  OutputEncoding encoding, const std::string& fileName, const WriteFunction& write)
{
    auto refuse = [&](const QString& text) {
        dialogs.message(parent, errorCaption(), text, MessageIcon::Warning);
        return false;
    };

    auto bytes = menuFileBytes(settings, slots, encoding);
    if (const auto* refusal = std::get_if<Refusal>(&bytes))
        return refuse(programText(refusal->message));
    if (!confirmOmissions(parent, dialogs, menuFileOmissions(settings, slots)))
        return false;

    if (const auto error = writeFileAtomically(fileName, std::get<std::string>(bytes), write)) {
        const QString shownName = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(fileName)));
        return refuse(QStringLiteral("无法写入文件“%1”:%2\n配置未生成。")
                          .arg(shownName, programText(fileErrorText(error->code))));
    }
    dialogs.message(parent, messageCaption(), QStringLiteral("配置已生成"), MessageIcon::Information);
    return true;
}

}  // namespace cofferon
