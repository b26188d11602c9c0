#include "app/command_line.h"

#include "app/windowless_commands.h"
#include "exports/export_messages.h"
#include "store/outside_write.h"

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

const QCommandLineOption
    kWeekOption(QStringLiteral("week"),
                QStringLiteral("予定のタブを今週の予定で開きます（起動中ならその窓で）。"));

// Help order: help, the data folder, the window's own option, then each command followed by its modifiers.
QList<QCommandLineOption> allOptions(const QList<WindowlessCommand>& commands) {
    QList<QCommandLineOption> options{kHelpOption, kDataOption, kWeekOption};
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
    return text +
           QStringLiteral("\n書き出しは一度にいくつでも指定できます。それぞれ別のファイルに書き出します。\n");
}

const QCommandLineOption* optionNamed(const QList<QCommandLineOption>& options, const QString& name) {
    for (const QCommandLineOption& option : options)
        if (option.names().contains(name))
            return &option;
    return nullptr;
}

// The option an argument names ("--data", "-h", "--version=1"), or null.
const QCommandLineOption* optionOf(const QList<QCommandLineOption>& options, const QString& argument) {
    if (!argument.startsWith(QLatin1Char('-')))
        return nullptr;
    QString name = argument.section(QLatin1Char('='), 0, 0);
    name.remove(0, name.startsWith(QStringLiteral("--")) ? 2 : 1);
    return optionNamed(options, name);
}

// The parser's own texts are English; its faults are told here again in the
// user's words: an unknown option, an option that needs a value at the end of
// the line, a value given to one that takes none.
QString parseFault(const QCommandLineParser& parser, const QStringList& arguments,
                   const QList<QCommandLineOption>& options) {
    QStringList unknown;
    for (const QString& name : parser.unknownOptionNames())
        unknown << dashed(name);
    if (!unknown.isEmpty())
        return QStringLiteral("不明なオプションです: ") + unknown.join(QStringLiteral(", "));
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QStringLiteral("--"); ++i) {
        const QCommandLineOption* option = optionOf(options, arguments[i]);
        if (!option)
            continue;
        const QString name = arguments[i].section(QLatin1Char('='), 0, 0);
        const bool withValue = arguments[i].contains(QLatin1Char('='));
        if (option->valueName().isEmpty() && withValue)
            return QStringLiteral("%1 は値を取りません: %2").arg(name, arguments[i]);
        if (!option->valueName().isEmpty() && !withValue && i + 1 == arguments.size())
            return QStringLiteral("%1 の後に値 <%2> がありません。").arg(name, option->valueName());
        if (!option->valueName().isEmpty() && !withValue)
            ++i;
    }
    return QStringLiteral("コマンドラインを読めません。");
}

// An option given twice would leave one of its values unread.
QString repeated(const QCommandLineParser& parser, const QList<QCommandLineOption>& options) {
    const QStringList given = parser.optionNames();
    for (const QCommandLineOption& option : options) {
        const auto times = std::count_if(given.begin(), given.end(),
                                         [&](const QString& name) { return option.names().contains(name); });
        if (times > 1)
            return QStringLiteral("%1 は一度だけ指定できます。").arg(dashed(option.names().last()));
    }
    return QString();
}

// The first fault of a command line the parser accepted, or an empty text.
QString misuse(const QCommandLineParser& parser, const QList<WindowlessCommand>& commands,
               const QList<QCommandLineOption>& options) {
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("余分な引数です: ") + parser.positionalArguments().join(QLatin1Char(' '));
    if (const QString fault = repeated(parser, options); !fault.isEmpty())
        return fault;
    for (const WindowlessCommand& command : commands)
        for (const QCommandLineOption& modifier : command.modifiers)
            if (parser.isSet(modifier) && !parser.isSet(command.option))
                return QStringLiteral("%1 は %2 と一緒に使います。")
                    .arg(spelled(modifier), spelled(command.option));
    return QString();
}

QList<WindowlessCommand> chosen(const QCommandLineParser& parser, const QList<WindowlessCommand>& commands) {
    QList<WindowlessCommand> named;
    for (const WindowlessCommand& command : commands)
        if (parser.isSet(command.option))
            named << command;
    return named;
}

// Several exports run one after the other; anything else runs alone. Two
// exports into one file would leave only the second.
QString badTogether(const QCommandLineParser& parser, const QList<WindowlessCommand>& named) {
    for (const WindowlessCommand& one : named)
        for (const WindowlessCommand& other : named) {
            if (&one == &other)
                break;
            const QString first = dashed(other.option.names().first());
            const QString second = dashed(one.option.names().first());
            if (!one.isExport || !other.isExport)
                return QStringLiteral("%1 と %2 は一緒に使えません。").arg(first, second);
            if (store::realTarget(parser.value(one.option)) == store::realTarget(parser.value(other.option)))
                return QStringLiteral("%1 と %2 が同じファイルに書き出します: %3")
                    .arg(first, second, parser.value(one.option));
        }
    for (const WindowlessCommand& command : named)
        if (const QString fault = command.check(parser); !fault.isEmpty())
            return fault;
    return QString();
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
        return refuse(err, parseFault(parser, arguments, options), options);
    if (const QString fault = misuse(parser, commands, options); !fault.isEmpty())
        return refuse(err, fault, options);

    const QString given = parser.value(kDataOption);
    StartDecision decision{false, 0, store::chooseDataFolder(where, given)};
    if (parser.isSet(kHelpOption)) {
        out << usageText(options) << '\n' << dataFolderLine(decision.dataFolder) << '\n';
        return decision;
    }
    const QList<WindowlessCommand> named = chosen(parser, commands);
    if (const QString fault = badTogether(parser, named); !fault.isEmpty())
        return refuse(err, fault, options);
    if (parser.isSet(kDataOption) && (given.isEmpty() || !store::dataFolderExists(decision.dataFolder))) {
        err << exportmsg::noDataFolder(given) << '\n';
        decision.exitCode = kUsageExitCode;
        return decision;
    }
    // Before the first start the per-user folder does not exist yet: say what to do.
    if (decision.dataFolder.kind == store::DataFolder::Kind::PerUser &&
        !store::dataFolderExists(decision.dataFolder) &&
        std::any_of(named.begin(), named.end(), [](const WindowlessCommand& c) { return c.isExport; })) {
        err << exportmsg::noDataFolder(decision.dataFolder.path) << '\n'
            << exportmsg::startOnceFirst() << '\n';
        decision.exitCode = kUsageExitCode;
        return decision;
    }
    // Each export writes its own file whole or not at all; one that fails
    // does not keep the others from being written.
    for (const WindowlessCommand& command : named)
        decision.exitCode = std::max(decision.exitCode, command.run({parser, decision.dataFolder, out, err}));
    decision.openWindow = named.isEmpty();
    decision.showWeek = parser.isSet(kWeekOption);
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
