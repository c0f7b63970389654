#include "app/gui/StartArguments.h"

#include <QCommandLineParser>

namespace cofferon {

namespace {

const QString kProgram = QStringLiteral("cofferon-generator");

// The help in the program's own words: it is read before the toolkit and its
// translations are there, so that it needs no display.
QString helpText()
{
    return QStringLiteral("用法:%1 [选项] [FILE|FOLDER]\n"
                          "Cofferon 配置生成器:制作 Cofferon 插件的箱子菜单,生成它的 YAML 菜单文件。\n"
                          "给出的文件(配置文件 .ini 或菜单文件 .yml、.yaml)像“读取配置”一样打开,\n"
                          "Ctrl+S 保存回这个文件;给出的文件夹作为服务器的菜单文件夹打开。\n"
                          "\n"
                          "选项:\n"
                          "  -h, --help     显示这段帮助。\n"
                          "  -v, --version  显示版本信息。\n"
                          "\n"
                          "参数:\n"
                          "  FILE           要打开的配置文件或菜单文件\n"
                          "  FOLDER         要打开的菜单文件夹\n")
        .arg(kProgram);
}

}  // namespace

StartRequest parseStartArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);

    const QString tryHelp = QStringLiteral("\n用“%1 --help”查看用法。\n").arg(kProgram);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString problem =
            unknown.isEmpty() ? parser.errorText() : QStringLiteral("未知选项“%1”").arg(unknown.first());
        return {StartRequest::Action::Fail, kProgram + QStringLiteral(": ") + problem + tryHelp, {}};
    }
    if (parser.isSet(help))
        return {StartRequest::Action::Print, helpText(), {}};
    if (parser.isSet(version))
        return {StartRequest::Action::Print, kProgram + QStringLiteral(" " COFFERON_VERSION "\n"), {}};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return {StartRequest::Action::Fail, kProgram + QStringLiteral(": 只能打开一个文件") + tryHelp, {}};
    return {StartRequest::Action::Run, {}, files.value(0)};
}

}  // namespace cofferon
