#include "batch/ReceiverList.h"

#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/TPersonKDD.h"

#include <QSqlError>

ReceiverList::ReceiverList(Database &db)
    : m_db(db)
{}

ReceiverList::Added ReceiverList::addReceiverAndGoods(const TPersonKDD &p, QString *error)
{
    // Blanks count as empty: a row of spaces would print an empty slip.
    if (p.FullName.trimmed().isEmpty() && p.Contactor.trimmed().isEmpty() &&
        p.Address.trimmed().isEmpty())
        return Added::Nothing;
    QSqlQuery q = m_db.query();
    const bool ok = execBound(
        q,
        QStringLiteral("INSERT INTO ReceiverList (全称, 省, 市, 地址, 镇区, 电话, 联系人, 邮编, "
                       "手机, 国家, 内件说明, 备注, 目的站, 批打分组) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '')"),
        {p.FullName, p.Province, p.City, p.Address, p.Town, p.Phone, p.Contactor, p.Zipcode,
         p.Handset, p.Country, p.GoodsDesc, p.Remark, p.DestSite});
    if (ok)
        return Added::Row;
    if (error)
        *error = q.lastError().text();
    return Added::Failed;
}
