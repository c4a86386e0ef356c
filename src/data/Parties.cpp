#include "data/Parties.h"

#include "base/Ui.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QString kSelectAll = QStringLiteral("SELECT * FROM CKPersonalInfoTable WHERE ");

// A stored text is never NULL: an absent value is the empty string.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace

Parties::Parties(Database &db, Ui &ui)
    : m_db(db)
    , m_ui(ui)
{}

std::optional<TPerson> Parties::findFirst(const QString &where, const QVariantList &values) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, kSelectAll + where, values) || !q.next())
        return std::nullopt;
    TPerson person;
    person.ReadFromRow(q.record());
    return person;
}

QStringList Parties::firstColumn(const QString &sql, const QVariantList &values) const
{
    QStringList list;
    QSqlQuery q = m_db.query();
    if (!execBound(q, sql, values))
        return list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

int Parties::LoadByID(TPerson &person) const
{
    if (person.ID <= 0)
        return -1;
    QSqlQuery q = m_db.query();
    if (!execBound(q, kSelectAll + u"ID = ?", {person.ID}))
        return -1;
    if (!q.next())
        return 0;
    person.ReadFromRow(q.record());
    return 1;
}

QString Parties::Save(const TPerson &person)
{
    return store(person).error;
}

PartySave Parties::store(const TPerson &person)
{
    QStringList columns;
    QVariantList values;
    for (const TPerson::Column &c : TPerson::textColumns()) {
        columns << QString::fromUtf8(c.name);
        values << text(person.*c.field);
    }
    PartySave result;
    QSqlQuery q = m_db.query();
    auto failed = [&] {
        result.error = q.lastError().text();
        return result;
    };
    if (person.ID > 0) {
        const bool checked = person.RowVersion >= 0;
        QString sql = u"UPDATE CKPersonalInfoTable SET " + columns.join(u" = ?, ") +
                      u" = ?, RowVersion = RowVersion + 1 WHERE ID = ?";
        QVariantList where{person.ID};
        if (checked) {
            sql += u" AND RowVersion = ?";
            where << person.RowVersion;
        }
        if (!execBound(q, sql + u" RETURNING RowVersion", values + where))
            return failed();
        if (q.next()) {
            result.id = person.ID;
            result.rowVersion = q.value(0).toInt();
            return result;
        }
        if (checked &&
            (!execBound(q, QStringLiteral("SELECT 1 FROM CKPersonalInfoTable WHERE ID = ?"),
                        {person.ID})))
            return failed();
        if (checked && q.next()) {
            result.changedElsewhere = true;
            result.error = QStringLiteral("该单位资料已被其他工作站修改，本次没有保存。");
            return result;
        }
    }
    // Not stored yet, or its row was deleted meanwhile: the party becomes a new row.
    const QString sql = u"INSERT INTO CKPersonalInfoTable (" + columns.join(u", ") + u") VALUES (" +
                        QStringList(columns.size(), QStringLiteral("?")).join(u", ") + u')';
    const QVariant id = m_db.insertReturningKey(q, sql, values, QStringLiteral("ID"));
    if (!id.isValid())
        return failed();
    result.id = id.toInt();
    result.rowVersion = 0;
    return result;
}

std::optional<TPerson> Parties::FindByInputCode(const QString &code) const
{
    if (code.isEmpty())
        return std::nullopt;
    if (code.contains(u'%')) {
        // "%" is the user's "contains"; every other character, "_" included, is literal.
        const QString part = likeLiteral(QString(code).remove(u'%'));
        return findFirst(Database::likeAnyCase(QStringLiteral("助记码")),
                         {QString(u'%' + part + u'%')});
    }
    // Mnemonics are typed in either case, as the old database compared them; the comparison
    // is the one the mnemonic's index is built on.
    return findFirst(Database::caseless(m_db.backend(), QStringLiteral("助记码")) + u" = " +
                         Database::caseless(m_db.backend(), QStringLiteral("?")),
                     {code});
}

std::optional<TPerson> Parties::FindByFullName(const QString &name) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称 = ?"), {name});
}

std::optional<TPerson> Parties::FindByNameAndAccount(const QString &name,
                                                     const QString &account) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称 = ? AND 开户行账号 = ?"), {name, text(account)});
}

std::optional<TPerson> Parties::FindByNameAndContactor(const QString &name,
                                                       const QString &contact) const
{
    if (name.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("全称 = ? AND 联系人 = ?"), {name, text(contact)});
}

std::optional<TPerson> Parties::FindByContactor(const QString &contact) const
{
    if (contact.isEmpty())
        return std::nullopt;
    return findFirst(QStringLiteral("联系人 = ?"), {contact});
}

std::optional<TPerson> Parties::LoadDefaultDrawer() const
{
    return findFirst(QStringLiteral("分组 = ?"), {TPerson::kDefaultDrawerGroup});
}

void Parties::holdDefaultDrawer(bool useDefaultDrawer)
{
    m_holdsDefaultDrawer = useDefaultDrawer;
    m_defaultDrawer = useDefaultDrawer ? LoadDefaultDrawer() : std::nullopt;
}

QString Parties::setDefaultDrawer(int id)
{
    QString error;
    const bool ok = m_db.inTransaction([&] {
        QSqlQuery q = m_db.query();
        if (!execBound(q, QStringLiteral("UPDATE CKPersonalInfoTable SET 分组 = '' WHERE 分组 = ?"),
                       {TPerson::kDefaultDrawerGroup}) ||
            !execBound(q,
                       QStringLiteral(
                           "UPDATE CKPersonalInfoTable SET 分组 = ?, 单位类型 = ? WHERE ID = ?"),
                       {TPerson::kDefaultDrawerGroup, TPerson::kOwnUnit, id})) {
            error = q.lastError().text();
            return false;
        }
        // A party deleted meanwhile must not cost the user the default drawer they had.
        if (q.numRowsAffected() == 0) {
            error = QStringLiteral("找不到该单位，ID=%1").arg(id);
            return false;
        }
        return true;
    });
    if (!ok && error.isEmpty())
        error = m_db.connection().lastError().text();
    if (ok && m_holdsDefaultDrawer)
        m_defaultDrawer = LoadDefaultDrawer();
    return ok ? QString() : error;
}

int Parties::addressBookTab(const QString &unitType)
{
    if (unitType == TPerson::kCounterparty)
        return 1;
    if (unitType == TPerson::kOwnUnit)
        return 0;
    return 2;
}

std::optional<TPerson> Parties::fetchOnePerson(const QString &unitType, const QString &title) const
{
    if (!m_addressBook)
        return std::nullopt;
    return m_addressBook(unitType, title);
}

QStringList Parties::loadCompanyList(const QString &unitType) const
{
    if (unitType.isEmpty())
        return firstColumn(QStringLiteral("SELECT DISTINCT 全称 FROM CKPersonalInfoTable"), {});
    return firstColumn(
        QStringLiteral("SELECT DISTINCT 全称 FROM CKPersonalInfoTable WHERE 单位类型 = ?"),
        {unitType});
}

QStringList Parties::loadAccountsByCompany(const QString &fullName) const
{
    const QString name = fullName.trimmed();
    if (name.isEmpty())
        return {};
    return firstColumn(
        QStringLiteral("SELECT DISTINCT 开户行账号 FROM CKPersonalInfoTable WHERE 全称 = ?"),
        {name});
}

QStringList Parties::loadBankNamesByAccount(const QString &account) const
{
    const QString acct = account.trimmed();
    if (acct.isEmpty())
        return {};
    return firstColumn(
        QStringLiteral("SELECT DISTINCT 开户银行 FROM CKPersonalInfoTable WHERE 开户行账号 = ?"),
        {acct});
}

std::optional<TPerson> Parties::findStoredForBill(const TPerson &party) const
{
    const bool name = !party.FullName.isEmpty();
    const bool contact = !party.Contactor.isEmpty();
    if (name && !party.BankAcct.isEmpty())
        return FindByNameAndAccount(party.FullName, party.BankAcct);
    if (name && contact)
        return FindByNameAndContactor(party.FullName, party.Contactor);
    if (name)
        return FindByFullName(party.FullName);
    if (contact)
        return FindByContactor(party.Contactor);
    return std::nullopt;
}

int Parties::savePersonFromBill(const TPerson *party)
{
    if (!party)
        return -1;
    if (party->ID > 0) {
        const QString error = Save(*party);
        if (!error.isEmpty())
            m_ui.error(u"添加更新失败，Error=" + error);
        return -1;
    }
    PartyDetailRequest request;
    if (const std::optional<TPerson> stored = findStoredForBill(*party); stored && stored->ID > 0) {
        request.storedId = stored->ID;
        request.values = *stored;
    }
    // The bill's values win; what it leaves empty keeps the stored value in view.
    static QString TPerson::*const overlaid[] = {
        &TPerson::FullName, &TPerson::Country, &TPerson::Handset,  &TPerson::Contactor,
        &TPerson::Address,  &TPerson::Phone,   &TPerson::Province, &TPerson::City,
        &TPerson::Town,     &TPerson::Zipcode, &TPerson::Bank,     &TPerson::BankAcct,
        &TPerson::BankAddr, &TPerson::BankNo,  &TPerson::Def1,     &TPerson::Def2,
        &TPerson::Def3,
    };
    for (QString TPerson::*field : overlaid)
        if (!(party->*field).isEmpty())
            request.values.*field = party->*field;
    request.values.AcountType =
        party->AcountType == TPerson::kCounterparty ? TPerson::kCounterparty : TPerson::kOwnUnit;
    if (m_detailWindow)
        m_detailWindow(request);
    return -1;
}
