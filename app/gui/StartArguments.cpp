#include "app/gui/StartArguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace cofferon {

StartRequest parseStartArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Cofferon 配置生成器:制作 Cofferon 插件的箱子菜单,生成它的 YAML 菜单文件。\n"
                       "给出的文件(配置文件 .ini 或菜单文件 .yml、.yaml)像“读取配置”一样打开,\n"
                       "Ctrl+S 保存回这个文件。"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("要打开的配置文件或菜单文件"),
                                 QStringLiteral("[FILE]"));

    const QString program = QStringLiteral("cofferon-generator");
    const QString tryHelp = QStringLiteral("\n用“%1 --help”查看用法。\n").arg(program);
    if (!parser.parse(arguments))
        return {StartRequest::Action::Fail, program + QStringLiteral(": ") + parser.errorText() + tryHelp, {}};
    if (parser.isSet(help))
        return {StartRequest::Action::Print, parser.helpText(), {}};
    if (parser.isSet(version))
        return {StartRequest::Action::Print,
                program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                {}};
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return {StartRequest::Action::Fail, program + QStringLiteral(": 只能打开一个文件") + tryHelp, {}};
    return {StartRequest::Action::Run, {}, files.value(0)};
}

}  // namespace cofferon
