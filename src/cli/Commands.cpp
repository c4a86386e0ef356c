#include "cli/Commands.h"

#include "base/RunPath.h"
#include "cli/DbCommand.h"
#include "cli/PrintCommand.h"
#include "cli/PrintService.h"
#include "cli/ReprintCommand.h"
#include "cli/StreamUi.h"
#include "services/AppServices.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace Commands {

namespace {

const QString kUsage =
    QStringLiteral("用法：lanyan [命令] [选项]\n"
                   "\n"
                   "不带命令时打开程序窗口；lanyan 票据包.lyb 打开窗口并导入票据包中的模板。\n"
                   "命令：\n"
                   "  print    按模板打印表格中的每一行，或打印一张保存过的票据，不打开窗口\n"
                   "  reprint  按第一次打印时的模板重复打印一张保存过的票据\n"
                   "  serve    在本机（127.0.0.1）提供打印服务，供店铺或订单系统调用\n"
                   "  db       数据库：move 把本机数据库迁移到共享数据库（PostgreSQL）\n"
                   "\n"
                   "lanyan 命令 --help 显示该命令的选项。\n");

const QString kPrintUsage = QStringLiteral(
    "用法：lanyan print --template 模板 (--values 表格 | --bill kdd:流水号|cdhp:流水号)\n"
    "                  (--printer 打印机 | --pdf 文件.pdf) [选项]\n"
    "\n"
    "按模板把表格中的每一行打印成一张票据（一个打印文档），或打印一张保存过的票据。\n"
    "位置、整体偏移、打印机校准和金额大写等规则与窗口中打印相同。\n"
    "表格的列按导入时的列标题匹配；各行先存入批量打印列表，打印记录可在批量打印窗口中查看。\n"
    "\n"
    "选项：\n"
    "  --template 模板     模板编号，或模板名称（如 快递单（飞燕速递） 或 飞燕速递）\n"
    "  --values 表格       .xlsx、.xls 或 .csv 文件，第 1 行为列标题\n"
    "  --sheet N           表格的第 N 个工作表（默认 1）\n"
    "  --from-row N        从表格第 N 行开始打印（默认 2，标题下第一行）\n"
    "  --bill 种类:流水号  一张保存过的快递单（kdd）或承兑汇票（cdhp）\n"
    "  --printer 打印机    打印机（CUPS 队列）名称\n"
    "  --pdf 文件          打印到 PDF 文件，不送打印机\n"
    "  --copies N          每张打印的份数（默认 1）\n"
    "  --json              在标准输出写出 JSON 摘要\n"
    "  --help              显示本帮助\n"
    "\n"
    "退出码：0 完成，2 输入有误，3 打印机拒绝，4 已中止。\n"
    "进度写在标准错误上。\n");

const QString kReprintUsage = QStringLiteral(
    "用法：lanyan reprint --bill kdd:流水号|cdhp:流水号 (--printer 打印机 | --pdf 文件.pdf)\n"
    "                    [选项]\n"
    "\n"
    "重复打印一张保存过的票据，和第一次打印时完全一样：用当时的打印项目、字体、整体偏移和\n"
    "打印机校准，即使模板后来改过。换了打印机时用这台打印机自己的校准。\n"
    "第一次打印时没有记下模板的票据（保存于记录之前，或从未打印）按今天的模板打印。\n"
    "\n"
    "选项：\n"
    "  --bill 种类:流水号  一张保存过的快递单（kdd）或承兑汇票（cdhp）\n"
    "  --printer 打印机    打印机（CUPS 队列）名称\n"
    "  --pdf 文件          打印到 PDF 文件，不送打印机\n"
    "  --copies N          打印的份数（默认 1）\n"
    "  --today-template    按今天的模板打印，不按第一次打印时的\n"
    "  --json              在标准输出写出 JSON 摘要\n"
    "  --help              显示本帮助\n"
    "\n"
    "退出码：0 完成，2 输入有误，3 打印机拒绝。\n");

const QString kServeUsage = QStringLiteral(
    "用法：lanyan serve [--port 端口]\n"
    "\n"
    "在本机（127.0.0.1，其他电脑无法访问）提供打印服务，一次打印一个任务，与 lanyan print\n"
    "使用同一打印引擎，每个任务记入批量打印记录。每个请求都要带上数据目录中\n"
    "Data/ServiceToken 文件里的令牌：Authorization: Bearer 令牌。\n"
    "Config.ini 的 ServiceOrigin 可以设置允许调用的网页来源（如 https://shop.example）。\n"
    "\n"
    "  POST /print     {\"template\": 模板, \"rows\": [{列标题: 值}, ...] 或 \"bill\": "
    "\"kdd:流水号\",\n"
    "                   \"printer\": 打印机 或 \"pdf\", \"copies\": 份数}  ->  {\"job\": 任务号}\n"
    "  GET /jobs/任务号  任务的状态（queued、printing、done、failed）和张数\n"
    "  GET /templates  模板列表；GET /printers  打印机列表\n"
    "\n"
    "选项：\n"
    "  --port 端口  监听的端口（默认 17521）\n"
    "  --help       显示本帮助\n");

std::atomic<bool> g_stop{false};

void requestStop(int)
{
    g_stop = true;
}

int usageError(QTextStream &err, const QString &message, const QString &usage)
{
    err << message << "\n\n" << usage << Qt::flush;
    return PrintCommand::BadInput;
}

// A whole number from `min` on, or nothing.
std::optional<int> count(const QCommandLineParser &parser, const QString &name, int min)
{
    if (!parser.isSet(name))
        return min;
    bool ok = false;
    const int n = parser.value(name).toInt(&ok);
    return ok && n >= min ? std::optional<int>(n) : std::nullopt;
}

// Reads a command's options: `valued` take a value, `flags` do not (--help is always one).
// Answers the exit code when nothing more is to be done: the help shown, or a usage error told.
std::optional<int> readOptions(QCommandLineParser &parser, const QStringList &arguments,
                               std::initializer_list<const char *> valued,
                               std::initializer_list<const char *> flags, const QString &usage,
                               QTextStream &out, QTextStream &err)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char *name : valued)
        parser.addOption({QString::fromLatin1(name), {}, QStringLiteral("value")});
    for (const char *name : flags)
        parser.addOption({QString::fromLatin1(name), {}});
    parser.addOption({QStringLiteral("help"), {}});
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText(), usage);
    if (parser.isSet(QStringLiteral("help"))) {
        out << usage << Qt::flush;
        return PrintCommand::Done;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, u"多余的参数：" + parser.positionalArguments().join(u' '), usage);
    return std::nullopt;
}

int runPrint(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    if (const auto done = readOptions(
            parser, arguments,
            {"template", "values", "sheet", "from-row", "bill", "printer", "pdf", "copies"},
            {"json"}, kPrintUsage, out, err))
        return *done;

    PrintRequest request;
    request.templateText = parser.value(QStringLiteral("template")).trimmed();
    request.valuesFile = parser.value(QStringLiteral("values"));
    request.bill = parser.value(QStringLiteral("bill")).trimmed();
    request.printer = parser.value(QStringLiteral("printer"));
    request.pdf = parser.value(QStringLiteral("pdf"));
    request.json = parser.isSet(QStringLiteral("json"));
    if (request.templateText.isEmpty())
        return usageError(err, QStringLiteral("缺少 --template。"), kPrintUsage);
    if (request.valuesFile.isEmpty() == request.bill.isEmpty())
        return usageError(err, QStringLiteral("--values 和 --bill 要有一个，且只能有一个。"),
                          kPrintUsage);
    if (request.printer.isEmpty() == request.pdf.isEmpty())
        return usageError(err, QStringLiteral("--printer 和 --pdf 要有一个，且只能有一个。"),
                          kPrintUsage);
    const auto sheet = count(parser, QStringLiteral("sheet"), 1);
    const auto fromRow = count(parser, QStringLiteral("from-row"), 2);
    const auto copies = count(parser, QStringLiteral("copies"), 1);
    if (!sheet || !fromRow || !copies)
        return usageError(err,
                          QStringLiteral("--sheet 和 --copies 要写 1 以上的整数，--from-row 要写 "
                                         "2 以上的整数。"),
                          kPrintUsage);
    request.sheet = *sheet;
    request.fromRow = *fromRow;
    request.copies = *copies;

    StreamUi ui;
    AppServices services(ui, getRunPath());
    if (!services.startupProblem().isEmpty())
        return usageError(err, services.startupProblem(), QString());
    PrintCommand command(services, out, err);
    command.stopRequested = [] { return g_stop.load(); };
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    return command.run(request);
}

int runReprint(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    if (const auto done = readOptions(parser, arguments, {"bill", "printer", "pdf", "copies"},
                                      {"today-template", "json"}, kReprintUsage, out, err))
        return *done;
    ReprintRequest request;
    request.bill = parser.value(QStringLiteral("bill")).trimmed();
    request.printer = parser.value(QStringLiteral("printer"));
    request.pdf = parser.value(QStringLiteral("pdf"));
    request.todayTemplate = parser.isSet(QStringLiteral("today-template"));
    request.json = parser.isSet(QStringLiteral("json"));
    if (request.bill.isEmpty())
        return usageError(err, QStringLiteral("缺少 --bill。"), kReprintUsage);
    if (request.printer.isEmpty() == request.pdf.isEmpty())
        return usageError(err, QStringLiteral("--printer 和 --pdf 要有一个，且只能有一个。"),
                          kReprintUsage);
    const auto copies = count(parser, QStringLiteral("copies"), 1);
    if (!copies)
        return usageError(err, QStringLiteral("--copies 要写 1 以上的整数。"), kReprintUsage);
    request.copies = *copies;

    StreamUi ui;
    AppServices services(ui, getRunPath());
    if (!services.startupProblem().isEmpty())
        return usageError(err, services.startupProblem(), QString());
    return ReprintCommand(services, out, err).run(request);
}

int runServe(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    if (const auto done = readOptions(parser, arguments, {"port"}, {}, kServeUsage, out, err))
        return *done;
    const auto port = count(parser, QStringLiteral("port"), 1);
    if (!port || *port > 65535)
        return usageError(err, QStringLiteral("--port 要写 1 到 65535 的整数。"), kServeUsage);

    StreamUi ui;
    AppServices services(ui, getRunPath());
    if (!services.startupProblem().isEmpty())
        return usageError(err, services.startupProblem(), QString());
    PrintService service(services);
    const quint16 listening = service.listen(
        parser.isSet(QStringLiteral("port")) ? quint16(*port) : PrintService::kDefaultPort);
    if (listening == 0) {
        err << QStringLiteral("打印服务没有启动：端口已被占用，或令牌文件 %1 无法读写。")
                   .arg(service.tokenFile())
            << Qt::endl;
        return PrintCommand::BadInput;
    }
    err << QStringLiteral("打印服务：http://127.0.0.1:%1/ ，令牌在 %2 。按 Ctrl+C 停止。")
               .arg(listening)
               .arg(service.tokenFile())
        << Qt::endl;
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    // A signal handler may only set a flag; the event loop looks at it.
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [] {
        if (g_stop)
            QCoreApplication::quit();
    });
    stopWatch.start(200);
    QCoreApplication::exec();
    return PrintCommand::Done;
}

int runDb(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    return DbCommand::run(arguments, getRunPath(), out, err, [] { return g_stop.load(); });
}

} // namespace

bool isCommand(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString &first = arguments.at(1);
    return first == u"print" || first == u"reprint" || first == u"serve" || first == u"db" ||
           first == u"--help" || first == u"-h" || first == u"help";
}

QString fileToOpen(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (first.isEmpty() || first.startsWith(u'-') || isCommand(arguments))
        return {};
    return QFileInfo(first).absoluteFilePath();
}

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString command = arguments.value(1);
    if (command == u"print")
        return runPrint(arguments.mid(1), out, err);
    if (command == u"reprint")
        return runReprint(arguments.mid(1), out, err);
    if (command == u"serve")
        return runServe(arguments.mid(1), out, err);
    if (command == u"db")
        return runDb(arguments.mid(1), out, err);
    out << kUsage << Qt::flush;
    return PrintCommand::Done;
}

} // namespace Commands
