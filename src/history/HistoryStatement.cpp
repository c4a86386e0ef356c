#include "history/HistoryStatement.h"
#include "data/Database.h"

#include "data/BoundQuery.h"
#include "data/Schema.h"
#include "history/HistoryKind.h"

#include <QStringList>
#include <cstdlib>

namespace {

class Conditions
{
public:
    explicit Conditions(bool fuzzy)
        : m_fuzzy(fuzzy)
    {}

    // The value matches any of the columns: equal, or contained when fuzzy.
    void match(const QStringList &columns, const QString &value)
    {
        if (value.isEmpty() || columns.isEmpty())
            return;
        QStringList parts;
        for (const QString &c : columns) {
            if (m_fuzzy) {
                parts << Database::likeAnyCase(Database::quoted(c));
                values << QString(u'%' + likeLiteral(value) + u'%');
            } else {
                parts << Database::quoted(c) + u" = ?";
                values << value;
            }
        }
        add(parts.size() == 1 ? parts.first() : u'(' + parts.join(u" OR ") + u')');
    }

    void compare(const QString &expression, const char *op, const QVariant &value)
    {
        add(expression + u' ' + QLatin1String(op) + u" ?");
        values << value;
    }

    QString where() const
    {
        return m_parts.isEmpty() ? QString() : u" WHERE " + m_parts.join(u" AND ");
    }

    QVariantList values;

private:
    void add(const QString &part) { m_parts << part; }

    bool m_fuzzy;
    QStringList m_parts;
};

bool isColumn(const QString &table, const QString &column)
{
    const SchemaTable *t = Schema::table(table);
    if (!t || column.isEmpty())
        return false;
    for (const SchemaColumn &c : t->columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

HistoryStatement HistoryStatement::build(const HistoryKind &kind, const HistoryFilter &filter,
                                         Database::Backend backend)
{
    const QString amount = Database::leadingNumber(backend, Database::quoted(kind.amountColumn));
    Conditions c(filter.fuzzy);
    c.match({kind.numberColumn}, filter.number);
    c.match(kind.senderColumns, filter.sender);
    c.match(kind.receiverColumns, filter.receiver);
    if (filter.from && filter.to) {
        // Dates are stored as ISO text, with or without a time: the whole last day is in.
        const QString column = Database::quoted(kind.dateColumn);
        c.compare(column, ">=", filter.from->toString(Qt::ISODate));
        c.compare(column, "<", filter.to->addDays(1).toString(Qt::ISODate));
    }
    if (!kind.templateColumn.isEmpty())
        c.match({kind.templateColumn}, filter.templateName);
    if (filter.amountFrom)
        c.compare(amount, ">=", *filter.amountFrom);
    if (filter.amountTo)
        c.compare(amount, "<=", *filter.amountTo);

    HistoryStatement s;
    s.table = kind.table;
    s.key = kind.key;
    s.amountColumn = kind.amountColumn;
    s.where = c.where();
    s.values = c.values;
    s.backend = backend;
    const QString sort = isColumn(kind.table, filter.sortColumn) ? filter.sortColumn : kind.key;
    // Equal values of another column keep the newest bill first, the same every time.
    s.orderBy = u" ORDER BY " + Database::quoted(sort) + u" DESC";
    if (sort.compare(kind.key, Qt::CaseInsensitive) != 0)
        s.orderBy += u", " + Database::quoted(kind.key) + u" DESC";
    return s;
}

QString HistoryStatement::sql() const
{
    return u"SELECT * FROM " + Database::quoted(table) + rowsWhere() + orderBy;
}

QString HistoryStatement::rowsWhere() const
{
    if (where.isEmpty())
        return where;
    return u" WHERE " + Database::quoted(key) + u" IN (SELECT " + Database::quoted(key) +
           u" FROM " + Database::quoted(table) + where + u')';
}

QString HistoryStatement::summarySql() const
{
    // Summed as whole ten-thousandths: a sum of binary fractions drifts off the cent.
    const QString amount = Database::quoted(amountColumn);
    return u"SELECT COUNT(*), SUM(CASE WHEN TRIM(" + amount + u") <> '' THEN CAST(ROUND(" +
           Database::leadingNumber(backend, amount) + u" * " +
           QString::number(HistoryStatement::kSumScale) + u") AS BIGINT) END) FROM " +
           Database::quoted(table) + where;
}

QString HistoryStatement::identity() const
{
    QStringList parts{sql()};
    for (const QVariant &v : values)
        parts << QString::fromLatin1(v.typeName()) + u':' + v.toString();
    return parts.join(QChar(0x1f));
}

namespace HistoryText {

std::optional<double> amountBound(const QString &text)
{
    int digits = 0;
    int points = 0;
    for (const QChar ch : text) {
        if (ch >= u'0' && ch <= u'9')
            ++digits;
        else if (ch == u'.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    return text.toDouble();
}

QString sumText(const QVariant &sum)
{
    if (sum.isNull() || !sum.isValid())
        return {};
    const qint64 scaled = sum.toLongLong();
    const qint64 whole = std::abs(scaled / HistoryStatement::kSumScale);
    const qint64 fraction = std::abs(scaled % HistoryStatement::kSumScale);
    QString text = (scaled < 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
    if (fraction > 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QChar(u'0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return text;
}

} // namespace HistoryText
