#include "data/TPerson.h"

#include <QSqlRecord>
#include <QVariant>

const std::array<TPerson::Column, 22> &TPerson::textColumns()
{
    static const std::array<Column, 22> columns{{
        {"全称", &TPerson::FullName},
        {"识别号", &TPerson::Identity},
        {"助记码", &TPerson::InputCode},
        {"联系人", &TPerson::Contactor},
        {"开户银行", &TPerson::Bank},
        {"开户行账号", &TPerson::BankAcct},
        {"开户行地址", &TPerson::BankAddr},
        {"开户行行号", &TPerson::BankNo},
        {"电话", &TPerson::Phone},
        {"手机", &TPerson::Handset},
        {"邮编", &TPerson::Zipcode},
        {"国家", &TPerson::Country},
        {"地址", &TPerson::Address},
        {"省", &TPerson::Province},
        {"市", &TPerson::City},
        {"镇区", &TPerson::Town},
        {"分组", &TPerson::Group},
        {"单位类型", &TPerson::AcountType},
        {"自定义1", &TPerson::Def1},
        {"自定义2", &TPerson::Def2},
        {"自定义3", &TPerson::Def3},
        {"扩展信息", &TPerson::Remark},
    }};
    return columns;
}

void TPerson::ReadFromRow(const QSqlRecord &row)
{
    ID = row.value(QStringLiteral("ID")).toInt();
    const int version = row.indexOf(QStringLiteral("RowVersion"));
    RowVersion = version < 0 ? -1 : row.value(version).toInt();
    for (const Column &c : textColumns())
        this->*c.field = row.value(QString::fromUtf8(c.name)).toString();
}
