#include "batch/SpreadsheetImport.h"

#include "batch/ImportLog.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "data/spreadsheet/SpreadsheetReader.h"

#include <QRegularExpression>
#include <QSqlError>

namespace {

const QString kName = QStringLiteral("单位全称");
const QString kContact = QStringLiteral("联系人");
const QString kPhone = QStringLiteral("电话");
const QString kMobile = QStringLiteral("手机");
const QString kRemark = QStringLiteral("备注");
const QString kOrder = QStringLiteral("订单号");
const QString kMember = QStringLiteral("会员ID");
const QString kGroup = QStringLiteral("批打分组");
const QString kUnitType = QStringLiteral("单位类型");
const QString kOurUnit = QStringLiteral("我方单位");
const QString kOtherUnit = QStringLiteral("往来单位");

// The declared width of a text column, "TEXT(50)" -> 50; 0 when it has none.
int widthOf(const SchemaTable *table, const QString &column)
{
    static const QRegularExpression width(QStringLiteral(R"(^TEXT\((\d+)\))"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!table)
        return 0;
    for (const SchemaColumn &c : table->columns) {
        if (c.name == column)
            return width.match(c.type).captured(1).toInt();
    }
    return 0;
}

// Empty cells are stored as empty text, never NULL, as the lists and searches expect.
QString notNull(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

SpreadsheetImport::SpreadsheetImport(Database &db, const SpreadsheetReader &sheet, ImportLog &log,
                                     ImportOptions options, std::vector<int> columns,
                                     Questions questions)
    : m_db(db)
    , m_sheet(sheet)
    , m_log(log)
    , m_options(std::move(options))
    , m_items(ImportItems::of(m_options.scenario))
    , m_columns(std::move(columns))
    , m_questions(std::move(questions))
    , m_table(ImportItems::table(m_options.scenario))
    , m_total(std::max(0, sheet.usedRows() - m_options.firstRow + 1))
{
    m_columns.resize(m_items.size(), -1);
    m_tally.next = m_options.firstRow;
}

int SpreadsheetImport::columnOf(const QString &item) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].item == item)
            return m_columns[i];
    }
    return -1;
}

QString SpreadsheetImport::cell(int row, const QString &item) const
{
    const int column = columnOf(item);
    return column > 0 ? m_sheet.cellText(row, column).trimmed() : QString();
}

bool SpreadsheetImport::begin(const QString &sourcePath)
{
    const SchemaTable *schema = Schema::table(m_table);
    QStringList columns, marks;
    for (const ImportItem &item : m_items) {
        if (item.column.isEmpty())
            continue;
        m_targets.push_back({item.column, item.item, widthOf(schema, item.column)});
        columns << Database::quoted(item.column);
        marks << QStringLiteral("?");
    }
    if (m_options.scenario == ImportScenario::AddressBook) {
        columns << Database::quoted(QStringLiteral("排序"));
        marks << QStringLiteral("0");
    }
    m_insert = m_db.query();
    if (!m_insert.prepare(u"INSERT INTO " + Database::quoted(m_table) + u" (" +
                          columns.join(u", ") + u") VALUES (" + marks.join(u", ") + u')'))
        return fail(m_insert.lastError().text());

    QString condition;
    if (m_options.byName)
        condition += QStringLiteral(" AND 全称 = ?");
    if (m_options.byContact)
        condition += QStringLiteral(" AND 联系人 = ?");
    if (m_options.byPhone)
        condition += QStringLiteral(" AND 电话 = ?");
    // Without a criterion nothing is ever a duplicate, so there is nothing to look up.
    m_checkDuplicates = m_options.judgeRepeated && !condition.isEmpty();
    // Two people who share a name and a phone are still two when their mobiles differ.
    condition += QStringLiteral(" AND (? = '' OR 手机 = ?)");
    if (m_checkDuplicates) {
        m_duplicate = m_db.query();
        if (!m_duplicate.prepare(u"SELECT 1 FROM " + Database::quoted(m_table) + u" WHERE 1 = 1" +
                                 condition + u" LIMIT 1"))
            return fail(m_duplicate.lastError().text());
    }

    m_log.info(QStringLiteral("File"), u"数据文件来源:" + sourcePath);
    m_log.info(QStringLiteral("Total"), u"本次任务数据共有：" + QString::number(m_total) + u"行");
    if (m_total == 0)
        m_state = State::Finished;
    return true;
}

bool SpreadsheetImport::fail(const QString &why)
{
    m_failure = why;
    m_state = State::Failed;
    return false;
}

QHash<QString, QString> SpreadsheetImport::ReadRow(int row) const
{
    QHash<QString, QString> values;
    for (const ImportItem &item : m_items)
        values.insert(item.item, cell(row, item.item));
    for (const QString &item : {kPhone, QStringLiteral("手机")}) {
        QString &value = values[item];
        const qsizetype quote = value.indexOf(u'\'');
        if (quote >= 0)
            value.remove(quote, 1);
    }
    QString &name = values[kName];
    if (!name.isEmpty() && columnOf(kName) == columnOf(kMember))
        name = u"会员ID:" + name;
    QString &remark = values[kRemark];
    if (m_options.orderIdToRemark && !values.value(kOrder).isEmpty())
        remark = QString(remark + u" 订单号:" + values.value(kOrder) + u';').trimmed();
    if (m_options.memberIdToRemark && !values.value(kMember).isEmpty())
        remark = QString(remark + u"会员ID:" + values.value(kMember)).trimmed();

    if (m_options.scenario == ImportScenario::AddressBook) {
        QString &type = values[kUnitType];
        if (m_options.fixedUnitType)
            type = m_options.unitType.isEmpty() ? kOtherUnit : m_options.unitType;
        else
            type = type == kOurUnit ? kOurUnit : kOtherUnit;
    } else if (columnOf(kGroup) < 0) {
        values[kGroup] = m_options.listName;
    }
    return values;
}

SpreadsheetImport::State SpreadsheetImport::step(int rows)
{
    if (m_state != State::Running)
        return m_state;
    if (!m_db.connection().transaction()) {
        fail(m_db.connection().lastError().text());
        return m_state;
    }
    const Tally before = m_tally;
    const int last = std::min(m_sheet.usedRows(), m_tally.next + rows - 1);
    while (m_tally.next <= last) {
        if (m_questions.stopNow && m_questions.stopNow()) {
            m_state = State::Stopped;
            break;
        }
        const bool refused =
            !savePerson(m_tally.next, ReadRow(m_tally.next)) && m_tally.failed > before.failed;
        ++m_tally.next;
        // A database that refuses a row may have dropped the whole transaction with it
        // (disk full, a trigger); the commit below tells, before more rows go in unguarded.
        if (refused)
            break;
    }
    if (!m_db.connection().commit()) {
        const QString why = m_db.connection().lastError().text();
        m_db.connection().rollback();
        m_tally = before;
        m_log.rollback();
        fail(why);
        return m_state;
    }
    m_log.commit();
    if (m_state == State::Running && m_tally.next > m_sheet.usedRows())
        m_state = State::Finished;
    return m_state;
}

bool SpreadsheetImport::savePerson(int row, const QHash<QString, QString> &values)
{
    const QString &name = values[kName];
    const QString &contact = values[kContact];
    const QString &phone = values[kPhone];
    if (name.isEmpty() && contact.isEmpty() && phone.isEmpty()) {
        m_log.log(row, QStringLiteral("无效行，联系人、电话、全称均为空！"));
        skip(row, m_tally.invalid);
        return false;
    }
    if (isDuplicate(values)) {
        const QChar dq = u'"';
        QString question = u"单位" + dq + name;
        if (m_options.byContact)
            question += u"(联系人:" + contact + u')';
        question += dq + u"已经存在,是否跳过？点击" + dq + u"是" + dq + u"跳过,点击" + dq + u"否" +
                    dq + u"继续添加！";
        if (!m_options.askOnDuplicate || !m_questions.skipDuplicate ||
            m_questions.skipDuplicate(question)) {
            m_log.log(row, !contact.isEmpty()
                               ? QString(u"重复，单位：" + name + u",联系人：" + contact +
                                         u",电话：" + phone)
                               : QString(u"无效行，地址：" + values[QStringLiteral("地址")]));
            skip(row, m_tally.duplicates);
            return false;
        }
    }
    if (!insert(row, values)) {
        m_log.error(row, u"错误，单位：" + name + u",联系人：" + contact + u",电话：" + phone);
        skip(row, m_tally.failed);
        return false;
    }
    ++m_tally.stored;
    return true;
}

void SpreadsheetImport::skip(int row, int &counter)
{
    ++counter;
    m_tally.skipped.push_back(row);
}

bool SpreadsheetImport::isDuplicate(const QHash<QString, QString> &values)
{
    if (!m_checkDuplicates)
        return false;
    // An empty value says nothing about who a row is, so it never equals another empty one.
    QStringList criteria;
    if (m_options.byName)
        criteria << values[kName];
    if (m_options.byContact)
        criteria << values[kContact];
    if (m_options.byPhone)
        criteria << values[kPhone];
    for (const QString &value : std::as_const(criteria)) {
        if (value.isEmpty())
            return false;
        m_duplicate.addBindValue(value);
    }
    m_duplicate.addBindValue(notNull(values[kMobile]));
    m_duplicate.addBindValue(notNull(values[kMobile]));
    const bool found = m_duplicate.exec() && m_duplicate.next();
    m_duplicate.finish();
    return found;
}

bool SpreadsheetImport::insert(int row, const QHash<QString, QString> &values)
{
    QStringList cut;
    for (const Target &t : m_targets) {
        QString value = notNull(values.value(t.item));
        // A value wider than its column is cut to it rather than refused by the database.
        if (t.width > 0 && value.size() > t.width) {
            value.truncate(t.width);
            cut << t.column;
        }
        m_insert.addBindValue(value);
    }
    const bool ok = m_db.inSavepoint([&] { return m_insert.exec(); });
    m_insert.finish();
    if (ok && !cut.isEmpty())
        m_log.log(row, u"超出列宽，已截断后导入：" + cut.join(u'、'));
    return ok;
}

QString SpreadsheetImport::summary() const
{
    QString text = (m_state == State::Stopped ? u"导入已中止，共有 " : u"导入结束，共有 ") +
                   QString::number(m_tally.stored) + u" 条导入成功！\r\n";
    const std::vector<int> &skipped = m_tally.skipped;
    if (!skipped.empty()) {
        text += u" 其中跳过了" + QString::number(skipped.size()) +
                u" 条重复的或无效(单位、联系人、电话都为空)的记录！（重复 " +
                QString::number(m_tally.duplicates) + u" 条，无效 " +
                QString::number(m_tally.invalid) + u" 条";
        if (m_tally.failed > 0)
            text += u"，写入出错 " + QString::number(m_tally.failed) + u" 条";
        // The clerk finds the rows in the sheet by their numbers; a long list goes to the log.
        constexpr size_t kNamed = 20;
        QStringList rows;
        for (size_t i = 0; i < std::min(kNamed, skipped.size()); ++i)
            rows << QString::number(skipped[i]);
        text += u"）\r\n 跳过的行：第 " + rows.join(u'、') +
                (skipped.size() > kNamed ? u" 等行，全部行号见导入日志" : u" 行");
    }
    if (done() < m_total)
        text += u"\r\n 还有 " + QString::number(m_total - done()) + u" 行未导入。";
    return text;
}
