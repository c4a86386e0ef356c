#include "parties/AddressRecognizer.h"

#include "base/Gbk.h"
#include "parties/AddressChoice.h"

#include <QRegularExpression>

namespace {

using Gbk::gbkLength;

// The rules were written for an engine where \w is ASCII only, matching is case-sensitive and
// ^ and $ see the whole text: QRegularExpression's defaults, without Unicode properties.
QRegularExpression rx(const char *pattern)
{
    QRegularExpression re(QString::fromUtf8(pattern));
    re.optimize();
    return re;
}

// ---- the rule sets, in the order they are tried --------------------------------------------

const QRegularExpression &contactRule(int i)
{
    static const QRegularExpression rules[] = {
        rx(R"(([姓][名]|[收][货][人]|[联][系][人])[:][^ \n]{2,15})"),
        rx(R"([:|,|\r|\n][^ ]{2,5}[,])"),
        rx(R"(([李]|[王]|[张]|[刘]|[陈]|[杨]|[黄]|[赵]|[周]|[吴]|[徐]|[孙]|[朱]|[马]|[胡]|[郭]|[林]|[何]|[高]|[梁]|[郑]|[罗]|[宋]|[谢]|[唐]|[韩]|[曹]|[许]|[邓]|[萧]|[冯]|[曾]|[程]|[蔡]|[彭]|[潘]|[袁]|[于]|[董]|[余]|[苏]|[叶]|[吕]|[魏]|[蒋]|[田]|[杜]|[丁]|[沈]|[姜]|[范]|[傅]|[钟]|[卢]|[江]|[汪]|[戴]|[崔]|[任]|[陆]|[廖]|[姚]|[方]|[金]|[邱]|[夏]|[谭]|[韦]|[贾]|[邹]|[石]|[熊]|[孟]|[秦]|[阎]|[薛]|[侯]|[雷]|[白]|[龙]|[段]|[郝]|[孔]|[邵]|[史]|[毛]|[常]|[万]|[顾]|[赖]|[武]|[康]|[贺]|[严]|[尹]|[钱]|[施]|[牛]|[洪]|[龚]|[栾]|[肖]|[詹]|[翁]){1}[\W]{1,3}(\n|[ ]){1})"),
        rx(R"([\s|\n| |:]{1}[^\n0-9a-zA-Z ]{2,5}[ ])"), // fallback
    };
    return rules[i];
}

const QRegularExpression kCountry = rx(R"(([国][家]|[地][区])[:][^ \n]{2,24})");
const QRegularExpression kMobile = rx(R"([1]{1}[0-9]{10,13})");

const QRegularExpression kPhoneRules[] = {
    rx(R"([电][话][:]([0-9]|-|\(|\)|\+){7,18})"),
    rx(R"([,| ]{1}[0-9]{7,8}[,| ]{1})"),
    rx(R"([0-9]{3,4}-[0-9]{7,8}[-]{0,1}[0-9]{0,6})"),
    rx(R"([\(]{0,1}[0-9]{3,4}[\)]{0,1}[0-9]{7,8}[-]{0,1}[0-9]{0,6})"),
};
// Wide enough for an area code, a number and a six-digit extension: 15 cut extensions short.
const QRegularExpression kPhonePart = rx(R"([^,\s]{7,21})");
const QRegularExpression kPhoneFallback = rx(R"([0-9]{7,8}[-]{0,1}[0-9]{4,6})");

const QRegularExpression kZipRules[] = {
    rx(R"(([邮][编][:]){1}[0-9]{6})"),
    rx(R"(([:|[\(]|[ ]|[,]|[\r]|[\n]){1}[0-9]{6}([\)]|[,]|[\s]|[\r]|[\n]){1})"),
};
const QRegularExpression kSixDigits = rx(R"([0-9]{6})");

const QRegularExpression kAddressRules[] = {
    rx(R"([^,:]{2,30}([房]|[座]|[楼]|[樓]|([大][厦])|([旁][边])|([对][面])|([商][厦])|[苑]|[室]|[#]|[号]|[路]|[栋]|[幢]|[村]|[镇]|[乡]|[街]|[园]|([校][区])|([单][元])|([宿][舍])|([公][寓])|[道]){1,}([^,:\r\n]{2,30}))"),
    rx(R"([ |,|:]{1}[^\n,:]{2,4}([省]|[自][治][区]|[盟]){1}[^\n,:]{2,5}([市]|[县]|[旗]){1}[^\n,:]{4,60}[,|\s|\n]{0,1})"),
};
const QRegularExpression kAddressPart = rx(R"([^:,]{5,70})");
const QRegularExpression kPaiPaiAddress = rx(R"(([ ][^\n]{5,45}[ ][^\n\(]{5,35}))");
const QRegularExpression kPaiPaiAddressPart = rx(
    R"([^\n]{3,}([座]|[楼]|[厦]|[号]|[室]|[路]|[栋]|[幢]|[舍]|[街]|[园]|[道]|[村]|[#]|([宿][舍])|([校][区])|([单][元])|[段]|[乡]){1,}([^\n]{0,60}))");
const QRegularExpression kAddressWithCompany = rx(R"([^\s\n| ]{1}[^ ,]{7,30}[\s|\n| |,]{0,1})");
const QRegularExpression kJunk = rx("[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f\\x7f\\x{fffd}]");
const QString kWordEnds = QStringLiteral(" ,\r\n");
const QRegularExpression kLoneSeparator = rx(R"((^|\s)[/、;；]+(?=\s|$))");
const QRegularExpression kAddressLastResort = rx(R"([^\n,\r:]{5,40})");

const QRegularExpression kCompanyRules[] = {
    rx(R"(([ ]|[:]|\n|\r|,){1}[^:, \s]{4,}(([公][司])|([事][务][所])|([经][销][部])|([分][行])|([大][学])|([中][学])|([小][学])|([学][院])|([人][事][处])|([委][员][会])|([组][织][部])|([卫][生][院])|([分][院])|[校]|[厅]|[办]|[局]|[站]|([营][业][部])|([办][事][处])))"),
    rx(R"(([ ]|[:]|\n|\r|,){1}[^:, \s]{2,}(([检][察][院])|([法][院])|([医][院])|([公][安][局])|([税][务][局])))"),
};
const QRegularExpression kCompanyPart = rx(R"([^,\r\n:]{4,})");

#define LANYAN_PROVINCES                                                                                                 \
    "[广][东]|[福][建]|[北][京]|[天][津]|[河][北]|[上][海]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|["    \
    "吉]"                                                                                                               \
    "[林]|[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|[广][西]["     \
    "壮]"                                                                                                               \
    "[族][自][治][区]|[广][西]|[新][疆][维][吾][尔][族][自][治][区]|[新][疆]|[西][藏][自][治][区]" \
    "|"                                                                                                                  \
    "[西][藏]|[内][蒙][古][自][治][区]|[内][蒙][古]|[宁][夏][回][族][自][治][区]|[宁][夏]|[重]["    \
    "庆]|"                                                                                                              \
    "[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|[四][川]"

const QRegularExpression kProvinceRules[] = {
    rx("(" LANYAN_PROVINCES
       "|[香][港][特][别][行][政][区]|[香][港]|[澳][门][特][别][行][政][区]|[澳]"
       "[门]|[台][湾]){1}([省]|[市]){0,1}"),
    rx(R"((省:)([^ \n,]){2,10})"),
    rx(R"(([上][海][市]|[重][庆][市]|[北][京][市]|[天][津][市]))"),
};
const QRegularExpression kProvinceInBlock =
    rx("(" LANYAN_PROVINCES "|[香][港]|[澳][门]|[台][湾]){1}([省]|[市]){0,1}");
#undef LANYAN_PROVINCES

const QRegularExpression kCityRules[] = {
    rx(R"((([ ]|[\n]|[省])){1}[^ \s]{2,16}([市]|[县]|[盟]){1})"),
    rx(R"(([市]|[县]){1}[:]{1}[^ \s]{2,16}([市]|[县]|[盟]){0,1})"),
    rx(R"(([上][海]|[重][庆]|[北][京]|[天][津]){1}([市]){1})"),
};
const QRegularExpression kCityPart = rx(R"([^省]{1,})");

const QRegularExpression kTownRules[] = {
    rx(R"((([镇]|[区])[:]){0,1}[^ 0-9a-zA-Z]{2,4}([镇]|[区]|[旗]){1})"),
    rx(R"((([镇]|[区])[:]){1}[^ 0-9a-zA-Z]{2,4}([镇]|[区]|[旗]){0,1})"),
};
const QRegularExpression kTownPart = rx(R"(([^市]{1,5}))");

// Region blocks such as 广东省深圳市南山区, tried before the separate province, city and town.
const std::vector<QRegularExpression> &regionRules()
{
    static const std::vector<QRegularExpression> rules = [] {
        std::vector<QRegularExpression> list{
            rx(R"(([上][海]|[北][京]|[天][津]|[重][庆]){1}[市]{0,1}[^0-9a-zA-Z区]{2,6}([区]){1})"),
            rx(R"(([香][港]|[澳][门]){1}[[特][别][行][政][区]]{1}[^0-9a-zA-Z区]{2,6}([区]){1})"),
        };
        const char *provinces[] = {
            R"([^ :,\s]{2,6}([自][治][区]){1})",
            R"([^ :,\s]{0,1}([广][东]|[福][建]|[河][北]|[江][苏]|[浙][江]|[山][西]|[辽][宁]|[吉][林]|[黑][龙][江]|[安][徽]|[江][西]|[山][东]|[河][南]|[湖][北]|[湖][南]|[海][南]|[广][西]|[新][疆]|[西][藏]|[内][蒙][古]|[宁][夏]|[贵][州]|[云][南]|[陕][西]|[甘][肃]|[青][海]|[四][川]|[香][港]|[澳][门]|[台][湾]){1}([省]){0,1})",
        };
        const char *cities[] = {
            R"([^0-9a-zA-Z市]{2,5}([盟]|[地][区]|[行][政][区]|[市]){1})",
            R"([^0-9a-zA-Z省]{4,8}([自][治][州]){1})",
        };
        const char *towns[] = {
            R"([^0-9a-zA-Z区市]{2,5}([区]|[市]){1})",
            R"([^0-9a-zA-Z省]{2,8}([自][治][旗]|[旗]){1})",
            R"([^0-9a-zA-Z省市]{2,11}([自][治][县]){1})",
            R"([^0-9a-zA-Z省市]{1,4}([县]){1})",
        };
        for (const char *a : provinces)
            for (const char *b : cities)
                for (const char *c : towns)
                    list.push_back(rx(QByteArray(QByteArray(a) + b + c).constData()));
        return list;
    }();
    return rules;
}

const QRegularExpression kRegionName = rx(R"([^,.\\0-9a-zA-Z]{2,20})");
const QRegularExpression kBlockCity = rx(R"([,]{1}[^0-9a-zA-Z]{2,4}([市]|[盟]|[地][区]))");
const QRegularExpression kBlockPrefecture = rx(R"([,]{1}[^0-9a-zA-Z]{4,8}([自][治][州]))");
const QRegularExpression kBlockName = rx(R"([^,.\\0-9a-zA-Z]{2,16})");

// ---- text helpers --------------------------------------------------------------------------

// Trims control characters and ASCII blanks only: a full-width space is text here.
QString trim32(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && s.at(end - 1).unicode() <= 32)
        --end;
    return s.mid(begin, end - begin);
}

QString lastMatch(const QRegularExpression &re, const QString &text)
{
    QString last;
    for (auto it = re.globalMatch(text); it.hasNext();)
        last = it.next().captured(0);
    return last;
}

QString findOne(const QRegularExpression &re, const QString &text)
{
    return trim32(lastMatch(re, text));
}

// Every match, trimmed, cut after its first ':', reduced to the last match of `part`.
QStringList findAll(const QRegularExpression &re, const QString &text,
                    const QRegularExpression *part = nullptr)
{
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        QString value = trim32(it.next().captured(0));
        const qsizetype colon = value.indexOf(u':');
        if (colon >= 0)
            value = value.mid(colon + 1);
        if (part)
            value = lastMatch(*part, value);
        value = trim32(value);
        if (!value.isEmpty())
            found << value;
    }
    return found;
}

// An empty text is in nothing: a missing field never matches.
bool holds(const QString &haystack, const QString &needle)
{
    return !needle.isEmpty() && haystack.contains(needle);
}

void replaceAll(QString &text, const QString &what, const QString &with)
{
    if (!what.isEmpty())
        text.replace(what, with);
}

void removeFirst(QString &text, const QString &what)
{
    const qsizetype at = what.isEmpty() ? -1 : text.indexOf(what);
    if (at >= 0)
        text.remove(at, what.size());
}

void select(RecognizedField &field, QStringList candidates)
{
    field.candidates = std::move(candidates);
    field.text = field.candidates.value(0);
}

// ---- the recognition, step by step ---------------------------------------------------------

class Recognition
{
public:
    Recognition(const QString &text, const AddressRecognitionOptions &options)
        : m_source(text)
        , t(text)
        , m_options(options)
    {}

    RecognizedAddress run()
    {
        mobile();
        phone();
        select(r.country, findAll(kCountry, t));
        if (!regionBlock()) {
            province();
            city();
            town();
        }
        streetAddress();
        zipcode();
        contact();
        company();
        lastResortAddress();
        r.address.text = containRule(r.address.text);
        townFromCity();
        dropAddressCandidates();
        phoneFromMobile();
        shortenProvince();
        cleanAddress();
        dropContactsInAddress();
        if (!r.company.text.isEmpty() && r.address.text.isEmpty())
            r.address.text = r.company.text;
        const bool chosen = AddressChoice(m_source, RegionIndex::shipped()).apply(r);
        // A chosen address is the detail behind the places already: only "含省市" adds them.
        if (m_options.containProvinceCity || !chosen)
            r.address.text = containRule(r.address.text);
        return r;
    }

private:
    QString containRule(const QString &address) const
    {
        return containRule(address, m_options.containProvinceCity);
    }
    QString containRule(const QString &address, bool contain) const
    {
        return applyContainProvinceCity(address, r.province.text, r.city.text, r.town.text,
                                        contain);
    }

    bool isPlace(const QString &s) const
    {
        return s == r.province.text || s == r.city.text || s == r.town.text;
    }

    void mobile()
    {
        select(r.handset, findAll(kMobile, t));
        replaceAll(t, QStringLiteral("手机:") + r.handset.text, QStringLiteral(" "));
        if (r.handset.candidates.size() == 1)
            replaceAll(t, r.handset.text, QStringLiteral(" "));
    }

    void phone()
    {
        // A later rule that matches replaces what an earlier one found.
        for (const QRegularExpression &rule : kPhoneRules) {
            QStringList found = findAll(rule, t, &kPhonePart);
            if (found.isEmpty())
                continue;
            select(r.phone, found);
            replaceAll(t, QStringLiteral("电话:") + r.phone.text, QStringLiteral(" "));
            if (r.phone.candidates.size() == 1) {
                replaceAll(t, r.phone.text, QStringLiteral(" "));
                r.phone.text.replace(u'\'', u' ');
            }
        }
    }

    bool regionBlock()
    {
        for (const QRegularExpression &rule : regionRules()) {
            QString block = findOne(rule, t);
            if (block.isEmpty() || block.contains(u':'))
                continue;
            replaceAll(t, block, {});
            QString name = findOne(kProvinceInBlock, block);
            if (!name.isEmpty()) {
                removeFirst(name, QStringLiteral("市"));
                r.province.text = findOne(kRegionName, name);
                removeFirst(block, name);
            }
            // "香港特别行政区" names its province twice: the rest is not a town.
            if (block.startsWith(u"特别行政区"))
                block.remove(0, 5);
            splitProvCityArea(block);
            return true;
        }
        return false;
    }

    void splitProvCityArea(QString rest)
    {
        rest.prepend(u',');
        QString city = findOne(kBlockCity, rest);
        if (city.isEmpty())
            city = findOne(kBlockPrefecture, rest);
        static const QStringList municipalities{QStringLiteral("北京"), QStringLiteral("上海"),
                                                QStringLiteral("天津"), QStringLiteral("重庆")};
        if (!city.isEmpty()) {
            r.city.text = findOne(kBlockName, city);
            removeFirst(rest, city);
            rest = trim32(rest);
            removeFirst(rest, QStringLiteral(","));
            rest = trim32(rest);
        } else if (municipalities.contains(r.province.text)) {
            r.city.text = r.province.text + QStringLiteral("市");
            removeFirst(rest, QStringLiteral(",市"));
            removeFirst(rest, QStringLiteral(","));
        }
        r.town.text = findOne(kBlockName, rest);
    }

    void province()
    {
        for (const QRegularExpression &rule : kProvinceRules)
            if (QStringList found = findAll(rule, t); !found.isEmpty())
                select(r.province, found);
    }

    void city()
    {
        for (const QRegularExpression &rule : kCityRules)
            if (QStringList found = findAll(rule, t, &kCityPart); !found.isEmpty())
                select(r.city, found);
        if (gbkLength(r.city.text) > 6)
            removeFirst(r.city.text, r.province.text);
    }

    void town()
    {
        static const QStringList notTowns{
            QStringLiteral("小区"),   QStringLiteral("自治区"), QStringLiteral("风景区"),
            QStringLiteral("名胜区"), QStringLiteral("工业区"), QStringLiteral("工业园区"),
            QStringLiteral("行政区"),
        };
        QStringList found;
        for (const QRegularExpression &rule : kTownRules)
            found += findAll(rule, t, &kTownPart);
        found.removeIf([](const QString &c) {
            return c == QStringLiteral("区") ||
                   std::any_of(notTowns.begin(), notTowns.end(),
                               [&](const QString &word) { return c.contains(word); });
        });
        select(r.town, found);
    }

    void streetAddress()
    {
        QStringList found;
        for (const QRegularExpression &rule : kAddressRules)
            found += findAll(rule, t, &kAddressPart);
        QString chosen;
        if (m_options.format == AddressFormat::PaiPai)
            for (const QString &c : findAll(kPaiPaiAddress, t, &kPaiPaiAddressPart))
                if (gbkLength(c) > 6) {
                    found << c;
                    chosen = c;
                }
        found.removeIf([this](const QString &c) { return isPlace(c); });
        r.address.candidates = found;
        // The longest wins; of two equally long ones the later.
        int longest = -1;
        for (qsizetype i = found.size() - 1; i >= 0; --i)
            if (gbkLength(found[i]) > longest) {
                longest = gbkLength(found[i]);
                chosen = found[i];
            }
        removeFirst(chosen,
                    m_options.contactHint.isEmpty() ? QString() : m_options.contactHint + u' ');
        removeFirst(chosen, QStringLiteral("(邮编"));
        r.address.text = containRule(chosen);
    }

    void zipcode()
    {
        for (const QRegularExpression &rule : kZipRules)
            if (QStringList found = findAll(rule, t); !found.isEmpty())
                select(r.zipcode, findAll(kSixDigits, found.first()));
        replaceAll(t, QStringLiteral("(邮编:") + r.zipcode.text + u')', QStringLiteral(" "));
        if (!r.zipcode.text.isEmpty())
            replaceAll(t, u'(' + r.zipcode.text + u')', QStringLiteral(" "));
    }

    void contact()
    {
        static const QStringList falseNames{QStringLiteral("龙江省"), QStringLiteral("江区"),
                                            QStringLiteral("江省"), QStringLiteral("江镇"),
                                            QStringLiteral("江市")};
        QStringList found;
        for (int i = 0; i < 3; ++i)
            found += findAll(contactRule(i), t);
        found.removeIf([this](const QString &c) {
            return c.isEmpty() || falseNames.contains(c) || isPlace(c) || gbkLength(c) <= 2;
        });
        if (found.isEmpty())
            found = findAll(contactRule(3), t);
        QString chosen = found.value(0);
        if (found.size() > 1) {
            static const QString placeWords = QStringLiteral("省市区县镇村组");
            for (qsizetype i = found.size() - 1; i >= 0; --i) {
                const QString &c = found[i];
                const bool place = std::any_of(placeWords.begin(), placeWords.end(),
                                               [&](QChar w) { return c.contains(w); });
                if (!place && c != r.province.text && c != r.city.text) {
                    chosen = c;
                    break;
                }
            }
        }
        for (QString &c : found)
            c.remove(u',');
        chosen.remove(u',');
        r.contact.candidates = found;
        r.contact.text = chosen;
    }

    void company()
    {
        for (const QRegularExpression &rule : kCompanyRules)
            if (QStringList found = findAll(rule, t, &kCompanyPart); !found.isEmpty())
                select(r.company, found);
        if (r.company.text.isEmpty() || !r.address.text.isEmpty())
            return;
        for (const QString &c : findAll(kAddressWithCompany, t))
            if (c != r.phone.text && c != r.handset.text)
                r.address.candidates << c;
        r.address.text = r.address.candidates.value(0);
    }

    // A text without any street keyword still gives an address: any long enough piece.
    void lastResortAddress()
    {
        if (!r.address.candidates.isEmpty())
            return;
        for (const QString &c : findAll(kAddressLastResort, t))
            if (!holds(c, r.phone.text) && !holds(c, r.handset.text) && !holds(c, r.zipcode.text))
                r.address.candidates << c;
        r.address.text = r.address.candidates.value(0);
    }

    void townFromCity()
    {
        if (!r.town.text.isEmpty()) {
            if (r.address.text.startsWith(r.town.text))
                r.address.text = trim32(r.address.text.mid(r.town.text.size()));
        } else if (r.city.candidates.size() > 1 && r.city.candidates[1].contains(u"县")) {
            r.town.text = r.city.candidates[1];
        }
    }

    void dropAddressCandidates()
    {
        QStringList &list = r.address.candidates;
        const int provinceLength = gbkLength(r.province.text);
        QStringList withNumbers;
        bool dropped = false;
        for (qsizetype i = list.size() - 1; i >= 0; --i) {
            const QString &c = list[i];
            bool drop;
            if (!m_options.containProvinceCity && holds(c, r.province.text)) {
                drop = gbkLength(c) <= provinceLength + 3;
            } else if (c.contains(u"电话号码") || c.contains(u"手机号码") || c.contains(u"邮箱")) {
                drop = true;
            } else {
                drop =
                    holds(c, r.phone.text) || holds(c, r.handset.text) || holds(c, r.zipcode.text);
                if (drop)
                    withNumbers.prepend(c);
            }
            if (drop) {
                list.removeAt(i);
                dropped = true;
            }
        }
        // One-line blocks ("姓名 手机 地址 邮编") hold the numbers in their only address
        // candidate: rather than no address, take it without the numbers.
        if (list.isEmpty())
            for (QString c : std::as_const(withNumbers)) {
                for (const QStringList *numbers : {&r.phone.candidates, &r.handset.candidates})
                    for (const QString &n : *numbers)
                        replaceAll(c, n, QStringLiteral(" "));
                replaceAll(c, r.zipcode.text, QStringLiteral(" "));
                c = trim32(c.replace(kLoneSeparator, QStringLiteral(" ")));
                if (!c.isEmpty())
                    list << c;
            }
        if (dropped)
            r.address.text = list.value(0);
    }

    void phoneFromMobile()
    {
        if (holds(r.handset.text, r.phone.text))
            r.phone.text = r.handset.text;
        if (r.phone.text.isEmpty())
            select(r.phone, findAll(kPhoneFallback, t));
    }

    void shortenProvince()
    {
        static const std::pair<const char16_t *, const char16_t *> shortNames[] = {
            {u"广西壮族自治区", u"广西"},     {u"宁夏回族自治区", u"宁夏"},
            {u"西藏自治区", u"西藏"},         {u"新疆维吾尔自治区", u"新疆"},
            {u"新疆维吾尔族自治区", u"新疆"}, {u"内蒙古自治区", u"内蒙古"},
        };
        for (const auto &[full, shortName] : shortNames)
            r.province.text.replace(QString::fromUtf16(full), QString::fromUtf16(shortName));
    }

    void cleanAddress()
    {
        QString &a = r.address.text;
        const QString &zip = r.zipcode.text;
        if (!zip.isEmpty()) {
            a.replace(u'(' + zip + u')', QString());
            a.replace(u',' + zip, QString());
            a.replace(zip, QString());
        }
        a = trim32(a);
        const auto dropTrailingComma = [](QString &s) {
            const qsizetype comma = s.indexOf(u',');
            if (comma >= 0 && comma == s.size() - 1)
                s.chop(1);
        };
        for (QString &c : r.address.candidates)
            dropTrailingComma(c);
        dropTrailingComma(a);
        // The contact often heads the address, on order pages after the company; with "含省市"
        // both sit behind province and city.
        const QString &name = r.contact.text;
        const QString &company = r.company.text;
        QString head = m_options.containProvinceCity ? containRule(a, false) : a;
        // Only a whole word: "四川大学望江校" is found inside "四川大学望江校区".
        const bool companyStandsAlone =
            !company.isEmpty() && std::any_of(kWordEnds.begin(), kWordEnds.end(), [&](QChar end) {
                return m_source.contains(company + end);
            });
        bool cut = false;
        for (bool again = true; again;) {
            again = false;
            if (!name.isEmpty() && head.startsWith(name)) {
                head = trim32(head.remove(name));
                again = cut = true;
            }
            if (companyStandsAlone && head.startsWith(company) && head.size() > company.size()) {
                head = trim32(head.mid(company.size()));
                again = cut = true;
            }
        }
        if (cut)
            a = head;
    }

    // A "name" found inside the address text is a piece of the address.
    void dropContactsInAddress()
    {
        QStringList &list = r.contact.candidates;
        if (list.isEmpty() || r.address.text.isEmpty())
            return;
        const qsizetype i = r.province.text.isEmpty() ? -1 : m_source.indexOf(r.province.text);
        bool dropped = false;
        for (qsizetype k = list.size() - 1; k >= 0; --k) {
            const qsizetype j = m_source.indexOf(list[k]);
            const bool inside = i >= 0 && i < j && j < i + r.address.text.size();
            if (isPlace(list[k]))
                r.contact.text.clear();
            if (inside || isPlace(list[k])) {
                list.removeAt(k);
                dropped = true;
            }
        }
        if (dropped)
            r.contact.text = list.value(0);
    }

    const QString m_source;
    QString t; // the working copy: what a step has recognised is taken out of it
    const AddressRecognitionOptions &m_options;
    RecognizedAddress r;
};

} // namespace

bool RecognizedAddress::isEmpty() const
{
    for (const RecognizedField *f : {&company, &contact, &phone, &handset, &country, &province,
                                     &city, &town, &address, &zipcode})
        if (!f->text.isEmpty() || !f->candidates.isEmpty())
            return false;
    return true;
}

QString normalizeAddressText(const QString &text, const std::vector<TextReplacement> &replacements)
{
    QStringList lines = QString(text)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .replace(u'\r', u'\n')
                            .split(u'\n');
    for (qsizetype i = lines.size() - 2; i >= 0; --i)
        if (trim32(lines[i]).isEmpty())
            lines.removeAt(i);
    QString s = lines.join(QStringLiteral("\r\n"));
    // Control characters and undecodable bytes are never part of an address.
    s.replace(kJunk, QStringLiteral(" "));
    if (trim32(s).isEmpty())
        return s;

    const auto swap = [&s](const char16_t *from, const char16_t *to) {
        s.replace(QString::fromUtf16(from), QString::fromUtf16(to));
    };
    const auto label = [&s](const char16_t *word, const char16_t *withColon) {
        if (!s.contains(QString::fromUtf16(withColon)))
            s.replace(QString::fromUtf16(word), QString::fromUtf16(withColon));
    };
    swap(u"旺旺在线", u",");
    swap(u"旺旺离线", u",");
    swap(u"手机在线", u",");
    swap(u"\u3000", u" ");
    swap(u"－", u"-");
    swap(u"：", u":");
    swap(u"  ", u" ");
    swap(u": ", u":");
    label(u"地址", u"地址:");
    label(u"姓名", u"姓名:");
    label(u"联系人", u"联系人:");
    swap(u"，", u",");
    swap(u", ", u",");
    swap(u" ,", u",");
    swap(u"旺旺在线", u",");
    swap(u"地区:", u"区域:");
    const qsizetype xj = s.indexOf(u"新疆维吾尔自治区");
    if (xj >= 0)
        s.replace(xj, 8, QStringLiteral("新疆维吾尔族自治区"));

    for (const auto &[from, to] : replacements)
        replaceAll(s, from, to);

    for (const char16_t *labelText : {u"地址:", u"电话:"}) {
        const QString l = QString::fromUtf16(labelText);
        if (!s.contains(QStringLiteral("\r\n") + l))
            s.replace(l, QStringLiteral("\r\n") + l);
    }
    return QStringLiteral("\n\r") + s + QStringLiteral("\n\r");
}

RecognizedAddress recognizeAddress(const QString &normalizedText,
                                   const AddressRecognitionOptions &options)
{
    // Only digits, blanks, symbols or emoji: nothing that names a party or a place.
    if (std::none_of(normalizedText.begin(), normalizedText.end(),
                     [](QChar c) { return c.isLetter(); }))
        return {};
    return Recognition(normalizedText, options).run();
}

QString applyContainProvinceCity(const QString &address, const QString &province,
                                 const QString &city, const QString &town, bool contain)
{
    // Blanks inside the address are the user's ("8号 A座"): runs become one, none goes.
    QString a = trim32(
        QString(address).replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")));
    // A municipality's city holds its province (上海 / 上海市): the city stands for both, or
    // the address would read 上海上海市 and lose only 上海 of 上海市.
    const bool cityHoldsProvince = !province.isEmpty() && city.startsWith(province);
    if (contain) {
        QString prefix;
        for (const QString *part : {&province, &city, &town})
            if (!holds(a, *part) && !(part == &province && cityHoldsProvince))
                prefix += *part;
        return prefix + a;
    }
    const QString *order[] = {cityHoldsProvince ? &city : &province,
                              cityHoldsProvince ? &province : &city, &town};
    for (const QString *part : order) {
        if (part->isEmpty())
            continue;
        removeFirst(a, *part);
        a = trim32(a);
        while (a.startsWith(u','))
            a.remove(0, 1);
    }
    return a;
}

QString addressFormatSample(AddressFormat format)
{
    switch (format) {
    case AddressFormat::TaoBao:
        return QStringLiteral(
            "淘宝新格式（商城地址格式、发货管理地址格式也支持哦）:\n"
            "王小明，13912345678，0571-87654321，浙江省 杭州市 西湖区 文三路388号钱江科技大厦"
            "1203室，310012");
    case AddressFormat::PaiPai:
        return QStringLiteral("收货人:李华 13698765432 广东省深圳市南山区 "
                              "科技园南区高新南七道18号 (邮编:518057)");
    case AddressFormat::EachNet:
    case AddressFormat::Other:
        break;
    }
    return QStringLiteral("公司:岚砚商贸有限公司\n姓名:赵小红\n电话:021-62345678-806\n"
                          "手机:13501234567\n国家:中国\n省:上海\n市:上海市\n"
                          "地址:上海市徐汇区漕溪北路595号A座12楼\n邮编:200030");
}

QString addressFormatNote(AddressFormat format)
{
    switch (format) {
    case AddressFormat::TaoBao:
        return QStringLiteral(
            "  进入淘宝->已卖出的宝贝->鼠标移动到买主的名字：在提示框中点击【查看收货地址和留言】,"
            "复制弹出框里面的内容-粘贴过来。识别率并不能保证100%，请稍加核对~");
    case AddressFormat::EachNet:
        return QStringLiteral("  暂时不支持特别对待易趣的收货地址，请用其他地址匹配！");
    case AddressFormat::PaiPai:
        return QStringLiteral(
            "  进入拍拍->已产生的销售->全部卖出的交易->交易详情：复制收货信息，粘贴到上面的输入区");
    case AddressFormat::Other:
        break;
    }
    return QStringLiteral("  一行一项或用逗号隔开均可，如“公司:”“姓名:”“电话:”“手机:”“地址:”"
                          "“邮编:”，省市区连写（如：浙江省杭州市西湖区）识别最准，请稍加核对~");
}
