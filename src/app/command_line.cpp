#include "app/command_line.h"

#include "app/windowless_commands.h"
#include "exports/export_messages.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <algorithm>

namespace {

const QCommandLineOption kHelpOption({QStringLiteral("h"), QStringLiteral("help")},
                                     QStringLiteral("この説明を表示します。"));
const QCommandLineOption
    kDataOption(QStringLiteral("data"),
                QStringLiteral("このフォルダーのデータを開きます（フォルダーは作りません）。"),
                QStringLiteral("DIR"));

// Help order: help, the data folder, then each command followed by its modifiers.
QList<QCommandLineOption> allOptions(const QList<WindowlessCommand>& commands) {
    QList<QCommandLineOption> options{kHelpOption, kDataOption};
    for (const WindowlessCommand& command : commands) {
        options << command.option;
        options << command.modifiers;
    }
    return options;
}

// An option's name as it is typed: -h, --help.
QString dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString spelled(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QStringLiteral(" <") + option.valueName() + QLatin1Char('>');
    return text;
}

QString usageText(const QList<QCommandLineOption>& options) {
    QString text = QStringLiteral("使い方: aobaroku [オプション]\n"
                                  "家庭菜園の手帳 青葉録。オプションがなければウィンドウを開きます。\n\n"
                                  "オプション:\n");
    qsizetype width = 0;
    for (const QCommandLineOption& option : options)
        width = std::max(width, spelled(option).size());
    for (const QCommandLineOption& option : options)
        text += QStringLiteral("  ") + spelled(option).leftJustified(width + 2) + option.description() + '\n';
    return text;
}

// The first fault of a command line the parser accepted, or an empty text.
QString misuse(const QCommandLineParser& parser, const QList<WindowlessCommand>& commands) {
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("余分な引数です: ") + parser.positionalArguments().join(QLatin1Char(' '));
    for (const WindowlessCommand& command : commands)
        for (const QCommandLineOption& modifier : command.modifiers)
            if (parser.isSet(modifier) && !parser.isSet(command.option))
                return QStringLiteral("%1 は %2 と一緒に使います。")
                    .arg(spelled(modifier), spelled(command.option));
    return QString();
}

QString parseFault(const QCommandLineParser& parser) {
    QStringList unknown;
    for (const QString& name : parser.unknownOptionNames())
        unknown << dashed(name);
    if (unknown.isEmpty())
        return QStringLiteral("コマンドラインを読めません: ") + parser.errorText();
    return QStringLiteral("不明なオプションです: ") + unknown.join(QStringLiteral(", "));
}

StartDecision refuse(QTextStream& err, const QString& fault, const QList<QCommandLineOption>& options) {
    err << fault << "\n\n" << usageText(options);
    return {false, kUsageExitCode, {}};
}

} // namespace

StartDecision readCommandLine(const QStringList& arguments, const store::Surroundings& where,
                              QTextStream& out, QTextStream& err) {
    const QList<WindowlessCommand> commands = windowlessCommands();
    const QList<QCommandLineOption> options = allOptions(commands);
    QCommandLineParser parser;
    for (const QCommandLineOption& option : options)
        parser.addOption(option);
    if (!parser.parse(arguments))
        return refuse(err, parseFault(parser), options);
    if (const QString fault = misuse(parser, commands); !fault.isEmpty())
        return refuse(err, fault, options);

    const QString given = parser.value(kDataOption);
    StartDecision decision{false, 0, store::chooseDataFolder(where, given)};
    if (parser.isSet(kHelpOption)) {
        out << usageText(options) << '\n' << dataFolderLine(decision.dataFolder) << '\n';
        return decision;
    }
    if (parser.isSet(kDataOption) && (given.isEmpty() || !store::dataFolderExists(decision.dataFolder))) {
        err << exportmsg::noDataFolder(given) << '\n';
        decision.exitCode = kUsageExitCode;
        return decision;
    }
    for (const WindowlessCommand& command : commands)
        if (parser.isSet(command.option)) {
            decision.exitCode = command.run({parser, decision.dataFolder, out, err});
            return decision;
        }
    decision.openWindow = true;
    return decision;
}

StartDecision readCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return readCommandLine(arguments, store::Surroundings::ofThisProcess(), out, err);
}
