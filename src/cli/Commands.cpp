#include "cli/Commands.h"

#include "base/RunPath.h"
#include "cli/PrintCommand.h"
#include "cli/StreamUi.h"
#include "services/AppServices.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace Commands {

namespace {

const QString kUsage = QStringLiteral(
    "用法：lanyan [命令] [选项]\n"
    "\n"
    "不带命令时打开程序窗口。命令：\n"
    "  print    按模板打印表格中的每一行，或打印一张保存过的票据，不打开窗口\n"
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

int runPrint(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char *name : {"template", "values", "sheet", "from-row", "bill", "printer", "pdf",
                             "copies"})
        parser.addOption({QString::fromLatin1(name), {}, QStringLiteral("value")});
    for (const char *name : {"json", "help"})
        parser.addOption({QString::fromLatin1(name), {}});
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText(), kPrintUsage);
    if (parser.isSet(QStringLiteral("help"))) {
        out << kPrintUsage << Qt::flush;
        return PrintCommand::Done;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, u"多余的参数：" + parser.positionalArguments().join(u' '),
                          kPrintUsage);

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

} // namespace

bool isCommand(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString &first = arguments.at(1);
    return first == u"print" || first == u"--help" || first == u"-h" || first == u"help";
}

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString command = arguments.value(1);
    if (command == u"print")
        return runPrint(arguments.mid(1), out, err);
    out << kUsage << Qt::flush;
    return PrintCommand::Done;
}

} // namespace Commands
