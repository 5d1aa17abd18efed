// SPDX-License-Identifier: MIT
#include "shell/CommandLine.h"

#include "shell/AppPaths.h"
#include "shell/Application.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace dbsift {

namespace {

/// The command line's texts, translated in a context of their own.
struct CommandLineText {
    Q_DECLARE_TR_FUNCTIONS(dbsift::CommandLine)
};

/// A path made absolute; "dsn:NAME" stays as it is.
QString databaseArgument(const QString& argument) {
    if (argument.startsWith(QLatin1String("dsn:")))
        return argument;
    return QFileInfo(argument).absoluteFilePath();
}

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
};

Options describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(CommandLineText::tr(
        "Compares two relational databases, an Original and a Modified one, and helps bring "
        "them into line."));
    // Own options rather than Qt's ready-made ones: their texts are translated with the rest,
    // and there is no --help-all to list Qt's options (the manual page names them).
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  CommandLineText::tr("Print this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLineText::tr("Print the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("ORIGINAL"),
        CommandLineText::tr("The Original database: a database file or dsn:NAME for an ODBC data source."),
        QStringLiteral("[ORIGINAL"));
    parser.addPositionalArgument(
        QStringLiteral("MODIFIED"),
        CommandLineText::tr(
            "The Modified database, likewise. The window opens with the databases given chosen "
            "and compared."),
        QStringLiteral("[MODIFIED]]"));
    return {help, version};
}

/// Whether the arguments ask for --help or --version, before Qt has taken its own options out:
/// whatever else they hold is left to readCommandLine.
bool asksHelpOrVersion(const QStringList& arguments) {
    QCommandLineParser parser;
    const Options options = describeOptions(parser);
    parser.parse(arguments);
    return parser.isSet(options.help) || parser.isSet(options.version);
}

} // namespace

CommandLineRequest readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const auto [help, version] = describeOptions(parser);
    CommandLineRequest request;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        request.action = CommandLineRequest::Action::ShowHelp;
        request.text = parser.helpText();
        return request;
    }
    if (parser.isSet(version)) {
        request.action = CommandLineRequest::Action::ShowVersion;
        request.text =
            QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() + '\n';
        return request;
    }
    const QStringList databases = parser.positionalArguments();
    if (!parsed || databases.size() > 2) {
        request.action = CommandLineRequest::Action::UsageError;
        const QString problem =
            parsed ? CommandLineText::tr("at most two databases are taken, ORIGINAL and MODIFIED")
                   : parser.errorText();
        request.text = QCoreApplication::applicationName() + QStringLiteral(": ") + problem +
                       CommandLineText::tr(" (see %1 --help)").arg(QCoreApplication::applicationName()) +
                       '\n';
        return request;
    }
    if (!databases.isEmpty())
        request.databases.original = databaseArgument(databases[0]);
    if (databases.size() == 2)
        request.databases.modified = databaseArgument(databases[1]);
    return request;
}

std::optional<int> answerWithoutWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!asksHelpOrVersion(arguments))
        return std::nullopt;
    // A core application is enough for the texts and their translation; it needs no display.
    QCoreApplication application(argc, argv);
    configureApplicationNames();
    installTranslations(AppPaths::findResourceFolder(QCoreApplication::applicationDirPath().toStdString()));
    const CommandLineRequest request = readCommandLine(QCoreApplication::arguments());
    std::fputs(request.text.toLocal8Bit().constData(), stdout);
    return 0;
}

} // namespace dbsift
