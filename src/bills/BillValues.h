#pragma once

#include "bills/BillKind.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// One bill apart from any window: its kind, its template, each field's value by control name
// (compared without regard to case) and which fields are hidden. A hidden field keeps its value
// but prints nothing: the template or an option took it off the paper. The draft also carries
// its currency's abbreviation, which the amount cells print beside the highest digit.
class BillValues
{
public:
    BillValues() = default;
    BillValues(BillKind kind, int checkTypeId)
        : m_kind(kind)
        , m_checkTypeId(checkTypeId)
    {}

    BillKind kind() const { return m_kind; }
    int checkTypeId() const { return m_checkTypeId; }
    void setCheckTypeId(int id) { m_checkTypeId = id; }

    void set(const QString &ctlName, const QString &value) { m_values[key(ctlName)] = value; }
    QString value(const QString &ctlName) const { return m_values.value(key(ctlName)); }
    bool has(const QString &ctlName) const { return m_values.contains(key(ctlName)); }
    int size() const { return int(m_values.size()); }

    void setHidden(const QString &ctlName, bool hidden);
    void setHidden(const QStringList &ctlNames, bool hidden);
    bool isHidden(const QString &ctlName) const { return m_hidden.contains(key(ctlName)); }
    // What the print job prints for the field: nothing when it is hidden.
    QString printed(const QString &ctlName) const;

    QString moneyCode() const { return m_moneyCode; }
    void setMoneyCode(const QString &code) { m_moneyCode = code; }

    bool operator==(const BillValues &other) const = default;

private:
    static QString key(const QString &ctlName) { return ctlName.toUpper(); }

    BillKind m_kind = BillKind::ExpressSlip;
    int m_checkTypeId = 0;
    QHash<QString, QString> m_values;
    QSet<QString> m_hidden;
    QString m_moneyCode;
};
