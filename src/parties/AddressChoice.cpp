#include "parties/AddressChoice.h"

#include <QRegularExpression>

namespace {

QRegularExpression rx(const QString &pattern)
{
    QRegularExpression re(pattern);
    re.optimize();
    return re;
}

// 11 digits from 1, written with blanks or dashes between groups, maybe behind +86 or 86-.
const QRegularExpression kMobile =
    rx(QStringLiteral("(?<![0-9])(?:\\+?86[-\\s]?)?(1[3-9][0-9](?:[-\\s]?[0-9]){8})(?![0-9])"));
// A fixed line with its area code (Hong Kong's and Macao's country code), and an extension
// after "-" or "转"; kept as written.
const QRegularExpression kFixedLine = rx(QStringLiteral(
    "(?<![0-9+])(?:\\(0[0-9]{2,3}\\)\\s?|0[0-9]{2,3}[-\\s]?|\\+?85[23][-\\s]?)[2-9][0-9]{6,7}"
    "(?:(?:-|转|分机)[0-9]{1,6})?(?![0-9])"));
// A local number alone between separators.
const QRegularExpression kLocalLine =
    rx(QStringLiteral("(?<=^|[\\s,:;])[2-9][0-9]{6,7}(?=$|[\\s,;])"));
const QRegularExpression kZipLabelled =
    rx(QStringLiteral("[(（]?(?:邮编|邮政编码)[:]?\\s*([0-9]{6})(?![0-9])[)）]?"));
const QRegularExpression kZipAlone =
    rx(QStringLiteral("(?<=^|[\\s,:;(（])[0-9]{6}(?=$|[\\s,;)）])"));

// Words that end a block's address: what follows is a remark or another field.
const QRegularExpression kRemark = rx(QStringLiteral("(?:备注|买家留言|留言|附言)[:]?.*$"));
// Labels the address can be left holding once its number is gone ("…20楼邮编").
const QRegularExpression kLeftLabels =
    rx(QStringLiteral("(?:邮编|邮政编码|联系电话|电话|手机号码|手机号|手机|收货人|收件人|联系人|"
                      "姓名|详细地址|收货地址|地址)"
                      "[:]?"));
const QRegularExpression kBlanks = rx(QStringLiteral("\\s+"));
const QRegularExpression kEdgeJunk =
    rx(QStringLiteral("^[\\s,;:/|()（）【】\\-]+|[\\s,;:/|(（【\\-]+$"));
const QRegularExpression kEmptyBrackets = rx(QStringLiteral("[(（]\\s*[)）]|【\\s*】"));
// "(女士)", "（先生）": how the shop addresses the person, no part of the name.
const QRegularExpression kSalutation = rx(QStringLiteral("[(（](?:女士|先生|小姐)[)）]"));

// The value behind a label, to the end of its line.
QRegularExpression labelRule(const char *labels)
{
    return rx(QStringLiteral("(?:^|[\\s,;【】])(?:") + QString::fromUtf8(labels) +
              QStringLiteral(")[:】]\\s*([^\\n]*)"));
}
const QRegularExpression kPersonLabels =
    labelRule("收货人姓名|收件人姓名|收货人|收件人|联系人|姓名|名字");
const QRegularExpression kAddressLabels = labelRule("收货地址|详细地址|地址");
const QRegularExpression kCompanyLabels = labelRule("公司名称|单位名称|公司|单位");
const QRegularExpression kValueEnd = rx(QStringLiteral("[\\s,;【]"));
const QRegularExpression kWordSeparators = rx(QStringLiteral("[\\s,;:|/、【】()（）]+"));
const QRegularExpression kNotDigits = rx(QStringLiteral("[^0-9]"));
// The clean-up breaks "详细地址:" before its "地址:".
const QRegularExpression kBrokenLabel =
    rx(QStringLiteral("(详细|收货|收件|所在|联系)\n(地址|电话):"));
const QRegularExpression kDigitOrColon = rx(QStringLiteral("[0-9:]"));

// Pieces of places, buildings and labels: a word holding one is no person's name.
const QStringList kNotInNames{
    QStringLiteral("省"),   QStringLiteral("市"),   QStringLiteral("区"),   QStringLiteral("县"),
    QStringLiteral("镇"),   QStringLiteral("乡"),   QStringLiteral("村"),   QStringLiteral("号"),
    QStringLiteral("楼"),   QStringLiteral("室"),   QStringLiteral("栋"),   QStringLiteral("幢"),
    QStringLiteral("苑"),   QStringLiteral("厦"),   QStringLiteral("街道"), QStringLiteral("大道"),
    QStringLiteral("单元"), QStringLiteral("广场"), QStringLiteral("公寓"), QStringLiteral("花园"),
    QStringLiteral("公司"), QStringLiteral("中心"), QStringLiteral("收货"), QStringLiteral("收件"),
    QStringLiteral("电话"), QStringLiteral("手机"), QStringLiteral("地址"), QStringLiteral("邮编"),
    QStringLiteral("备注"), QStringLiteral("详细"), QStringLiteral("所在"), QStringLiteral("区域"),
    QStringLiteral("地区"), QStringLiteral("联系"), QStringLiteral("姓名"), QStringLiteral("快递"),
    QStringLiteral("订单"), QStringLiteral("信息"), QStringLiteral("买家"), QStringLiteral("留言"),
    QStringLiteral("中国"), QStringLiteral("国家")};
const QString kSurnames = QStringLiteral(
    "王李张刘陈杨黄赵周吴徐孙朱马胡郭林何高梁郑罗宋谢唐韩曹许邓萧冯曾程蔡彭潘袁于董余苏叶吕魏蒋田"
    "杜丁沈姜范傅钟卢江汪戴崔任陆廖姚方金邱夏谭韦贾邹石熊孟秦阎薛侯雷白龙段郝孔邵史毛常万顾赖武康"
    "贺严尹钱施牛洪龚栾肖詹翁闫欧司上诸东慕申付葛蓝柳孔鲁岳齐易庞单覃关俞樊左祝涂包殷安陶杭凌");

bool isHan(QChar c)
{
    return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff;
}

void addCandidate(RecognizedField &field, const QString &value)
{
    if (!value.isEmpty() && !field.candidates.contains(value))
        field.candidates.prepend(value);
    field.text = value;
}

QString tidy(QString s)
{
    s.replace(kBlanks, QStringLiteral(" "));
    s.remove(kEdgeJunk);
    return s.trimmed();
}

} // namespace

AddressChoice::AddressChoice(const QString &normalizedText, const RegionIndex &regions)
    : m_regions(regions)
    , m_text(QString(normalizedText)
                 .remove(u'\r')
                 // Read "详细地址:" whole again.
                 .replace(kBrokenLabel, QStringLiteral("\\1\\2:")))
    , m_rest(m_text)
{}

bool AddressChoice::apply(RecognizedAddress &r)
{
    choosePhones(r);
    chooseZipcode(r);
    choosePlace(r);
    chooseContact(r);
    const bool address = chooseAddress(r);
    chooseCompany(r);
    return address;
}

void AddressChoice::blank(qsizetype at, qsizetype length)
{
    m_rest.replace(at, length, QString(length, u' '));
}

void AddressChoice::choosePhones(RecognizedAddress &r)
{
    QStringList mobiles;
    for (auto it = kMobile.globalMatch(m_rest); it.hasNext();) {
        const auto m = it.next();
        mobiles << m.captured(1).remove(u' ').remove(u'-').remove(u'\t');
        blank(m.capturedStart(), m.capturedLength());
    }
    QString fixed;
    for (const QRegularExpression *re : {&kFixedLine, &kLocalLine})
        for (auto it = re->globalMatch(m_rest); it.hasNext();) {
            const auto m = it.next();
            if (fixed.isEmpty())
                fixed = m.captured(0).trimmed();
            blank(m.capturedStart(), m.capturedLength());
        }
    for (auto i = mobiles.size() - 1; i >= 0; --i)
        addCandidate(r.handset, mobiles[i]);
    // The phone box holds a fixed line only: a mobile there would be dialled twice.
    r.phone.candidates.removeIf([&](const QString &c) {
        return c.size() >= 11 && std::any_of(mobiles.begin(), mobiles.end(), [&](const QString &m) {
                   return QString(c).remove(kNotDigits).endsWith(m);
               });
    });
    // With no fixed line, a second mobile of the person is the other number to call.
    if (fixed.isEmpty() && mobiles.size() > 1 && mobiles[1] != mobiles[0])
        fixed = mobiles[1];
    addCandidate(r.phone, fixed);
}

void AddressChoice::chooseZipcode(RecognizedAddress &r)
{
    QString zip;
    if (const auto m = kZipLabelled.match(m_rest); m.hasMatch()) {
        zip = m.captured(1);
        blank(m.capturedStart(), m.capturedLength());
    }
    for (auto it = kZipAlone.globalMatch(m_rest); it.hasNext();) {
        const auto m = it.next();
        if (zip.isEmpty())
            zip = m.captured(0);
        blank(m.capturedStart(), m.capturedLength());
    }
    addCandidate(r.zipcode, zip);
}

void AddressChoice::choosePlace(RecognizedAddress &r)
{
    m_place = m_regions.find(m_rest);
    if (m_place.isEmpty())
        return;
    addCandidate(r.province, m_place.province);
    addCandidate(r.city, m_place.city);
    addCandidate(r.town, m_place.town);
}

QString AddressChoice::labelled(const QRegularExpression &rule) const
{
    const auto m = rule.match(m_rest);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool AddressChoice::chooseAddress(RecognizedAddress &r) const
{
    QString a;
    if (m_place.end >= 0) {
        const qsizetype lineEnd = m_rest.indexOf(u'\n', m_place.end);
        a = m_rest.mid(m_place.end, lineEnd < 0 ? -1 : lineEnd - m_place.end);
        a = tidy(a);
        if (const qsizetype comma = a.indexOf(u','); comma >= 0)
            a = a.left(comma);
    }
    // The places on a line of their own ("所在地区:"), the street on the address line.
    if (tidy(cleanAddress(a, r)).isEmpty()) {
        a = labelled(kAddressLabels);
        const RegionIndex::Place head = m_regions.find(a);
        if (!head.isEmpty() && a.left(head.begin).trimmed().isEmpty())
            a = a.mid(head.end);
        if (const qsizetype comma = a.indexOf(u','); comma >= 0)
            a = a.left(comma);
    }
    a = cleanAddress(a, r);
    if (a.isEmpty())
        return false; // nothing better than what the rules chose
    addCandidate(r.address, a);
    return true;
}

QString AddressChoice::cleanAddress(QString a, const RecognizedAddress &r) const
{
    a.remove(kRemark);
    a.remove(kLeftLabels);
    a.remove(kEmptyBrackets);
    // The contact written behind the street.
    if (const QString &name = r.contact.text; !name.isEmpty()) {
        const QStringList words = a.split(u' ');
        QStringList kept;
        for (const QString &w : words)
            if (QString(w).remove(kSalutation) != name)
                kept << w;
        a = kept.join(u' ');
    }
    return tidy(a);
}

bool AddressChoice::isNameLike(const QString &token) const
{
    const qsizetype n = token.size();
    const bool dotted = token.contains(u'·');
    if (n < 2 || n > (dotted ? 12 : 4))
        return false;
    if (!std::all_of(token.begin(), token.end(), [](QChar c) { return isHan(c) || c == u'·'; }))
        return false;
    if (std::any_of(kNotInNames.begin(), kNotInNames.end(),
                    [&](const QString &w) { return token.contains(w); }))
        return false;
    const RegionIndex::Place place = m_regions.find(token);
    return place.begin != 0 || place.end != n;
}

void AddressChoice::chooseContact(RecognizedAddress &r) const
{
    QString name = labelled(kPersonLabels);
    name = name.section(kValueEnd, 0, 0);
    name = tidy(name.remove(kSalutation));
    if (name.size() > 20 || name.contains(kDigitOrColon))
        name.clear();
    if (name.isEmpty()) {
        // Unlabelled: the words of the text outside the places; a surname first.
        QString words = m_rest;
        if (m_place.begin >= 0)
            words.replace(m_place.begin, m_place.end - m_place.begin,
                          QString(m_place.end - m_place.begin, u' '));
        words.remove(kSalutation);
        const QStringList tokens = words.split(kWordSeparators, Qt::SkipEmptyParts);
        QString first;
        for (const QString &t : tokens) {
            if (!isNameLike(t) || t == r.company.text)
                continue;
            if (first.isEmpty())
                first = t;
            if (kSurnames.contains(t.at(0))) {
                name = t;
                break;
            }
        }
        if (name.isEmpty())
            name = first;
    }
    if (name.isEmpty())
        name = tidy(QString(r.contact.text).remove(kSalutation));
    for (QString &c : r.contact.candidates)
        c.remove(kSalutation);
    addCandidate(r.contact, name);
}

void AddressChoice::chooseCompany(RecognizedAddress &r) const
{
    const QString labelledCompany = labelled(kCompanyLabels).section(kValueEnd, 0, 0);
    if (const QString company = tidy(labelledCompany); !company.isEmpty()) {
        addCandidate(r.company, company);
        return;
    }
    // A company word inside the street ("…学院路") or the places is the address's.
    const QString places =
        m_place.begin < 0 ? QString() : m_text.mid(m_place.begin, m_place.end - m_place.begin);
    r.company.candidates.removeIf([&](const QString &c) {
        return r.address.text.contains(c) ||
               (!places.isEmpty() && (places.contains(c) || c.contains(places)));
    });
    r.company.text = r.company.candidates.value(0);
}
