#include "cli/DbCommand.h"

#include "base/DataHome.h"
#include "base/IniFile.h"
#include "cli/ProgressLine.h"
#include "data/DatabaseMove.h"

#include <QCommandLineParser>

namespace DbCommand {

const QString kUsage = QStringLiteral(
    "用法：lanyan db move --to postgresql://用户@主机:端口/数据库\n"
    "\n"
    "  move  把本工作站的本机数据库（Data/EPData.ini）全部复制到一个空的共享数据库\n"
    "        （PostgreSQL）：在一个事务中建表、复制每一行，逐表核对行数；全部相符才提交，\n"
    "        并把本工作站改为使用共享数据库（下次启动程序时生效）。有任何不符，共享数据库\n"
    "        保持为空，本工作站照旧使用本机数据库。本机数据库文件保留不动。\n"
    "        目标数据库里已有表格时不迁移。\n"
    "\n"
    "选项：\n"
    "  --to 地址   共享数据库，如 postgresql://clerk@192.168.1.10:5432/lanyan；\n"
    "              本机套接字：postgresql://clerk@/lanyan?host=/run/postgresql；\n"
    "              另用一个模式：在地址后加 ?schema=名称。\n"
    "              密码可写在地址里（postgresql://用户:密码@…），或放在环境变量 PGPASSWORD 中；\n"
    "              它只存入数据目录中仅本用户可读的 Data/SharedDatabase.pass。\n"
    "  --help      显示本帮助\n"
    "\n"
    "退出码：0 已迁移，1 迁移失败（没有改动），2 输入有误或目标数据库不能用，4 已中止。\n"
    "进度写在标准错误上。\n");

namespace {

int usageError(QTextStream &err, const QString &message)
{
    err << message << "\n\n" << kUsage << Qt::flush;
    return BadInput;
}

void printCounts(QTextStream &out, const DatabaseMove::Result &result)
{
    for (const DatabaseMove::TableCount &c : result.counts)
        out << c.table << u'\t' << c.source << u'\t'
            << (c.target < 0 ? QStringLiteral("-") : QString::number(c.target)) << u'\n';
    out << Qt::flush;
}

} // namespace

int run(const QStringList &arguments, const QString &runPath, QTextStream &out, QTextStream &err,
        const std::function<bool()> &stopRequested)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({QStringLiteral("to"), {}, QStringLiteral("value")});
    parser.addOption({QStringLiteral("help"), {}});
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    const QStringList words = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help"))) {
        out << kUsage << Qt::flush;
        return Moved;
    }
    if (words.isEmpty())
        return usageError(err, QStringLiteral("缺少命令：lanyan db move --to 地址"));
    if (words != QStringList{QStringLiteral("move")})
        return usageError(err, u"未知的命令：db " + words.join(u' '));
    if (!parser.isSet(QStringLiteral("to")))
        return usageError(err, QStringLiteral("缺少 --to。"));
    QString why;
    ServerAddress target = ServerAddress::fromUrl(parser.value(QStringLiteral("to")), &why);
    if (!target.isComplete())
        return usageError(err, why);
    if (target.password.isEmpty())
        target.password = qEnvironmentVariable("PGPASSWORD");

    const DataHome home(runPath);
    DatabaseMove move;
    ProgressLine line(err);
    move.progress = [&](qint64 done, qint64 total) { line.show(done, total); };
    move.stopRequested = stopRequested;
    err << QStringLiteral("迁移到 ") << target.displayUrl() << QStringLiteral(" ……") << Qt::endl;
    const DatabaseMove::Result result = move.copy(home.databasePath(), target);
    if (result.stopped) {
        err << QStringLiteral("已中止，共享数据库没有改动，本工作站照旧使用本机数据库。")
            << Qt::endl;
        return Stopped;
    }
    if (!result.ok) {
        err << result.error << Qt::endl;
        printCounts(out, result);
        // Nothing was copied when the target could not be used at all.
        return result.counts.empty() ? BadInput : Failed;
    }
    printCounts(out, result);
    IniFile config(home.configIniPath());
    const QString error = DatabaseMove::switchWorkstation(config, home, target);
    if (!error.isEmpty()) {
        err << QStringLiteral("数据已复制到共享数据库，但本工作站没有切换过去：") << error
            << Qt::endl;
        return Failed;
    }
    err << QStringLiteral("已迁移 %1 个表、%2 行，各表行数相符。本工作站下次启动程序时使用共享"
                          "数据库；本机数据库文件保留在 %3 。")
               .arg(result.counts.size())
               .arg(result.rows)
               .arg(home.databasePath())
        << Qt::endl;
    return Moved;
}

} // namespace DbCommand
