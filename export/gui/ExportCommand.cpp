#include "export/gui/ExportCommand.h"

#include <QDir>
#include <QFile>

#include "ui/core/Layout.h"
#include "ui/gui/Dialogs.h"
#include "ui/gui/DocText.h"

namespace cofferon {

void exportMenu(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings, const SlotTable& slots,
                OutputEncoding encoding, const WriteFunction& write)
{
    const layout::Control* dialog = layout::findControl(layout::mainWindowLayout(), "输出对话框");
    const std::optional<QString> chosen = dialogs.saveFileName(parent, programText(dialog->caption));
    if (!chosen || chosen->isEmpty())
        return;
    const std::string fileName = ymlFileName(QFile::encodeName(*chosen).toStdString());

    auto refuse = [&](const QString& text) { dialogs.message(parent, errorCaption(), text, MessageIcon::Warning); };

    auto bytes = menuFileBytes(settings, slots, encoding);
    if (const auto* refusal = std::get_if<Refusal>(&bytes))
        return refuse(programText(refusal->message));

    if (const auto error = writeFileAtomically(fileName, std::get<std::string>(bytes), write)) {
        const QString shownName = QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(fileName)));
        return refuse(QStringLiteral("无法写入文件“%1”:%2\n配置未生成。")
                          .arg(shownName, programText(fileErrorText(error->code))));
    }
    dialogs.message(parent, messageCaption(), QStringLiteral("配置已生成"), MessageIcon::Information);
}

}  // namespace cofferon
