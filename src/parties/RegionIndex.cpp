#include "parties/RegionIndex.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Their districts sit right under them: the form's city is the region itself.
bool isCityRegion(const QString &provinceCode)
{
    static const QStringList codes{QStringLiteral("11"), QStringLiteral("12"),
                                   QStringLiteral("31"), QStringLiteral("50"),
                                   QStringLiteral("81"), QStringLiteral("82")};
    return codes.contains(provinceCode);
}

// How people write a province or a prefecture without its suffix: 浙江, 广西, 杭州.
QString shortName(const QString &name, RegionIndex::Level level)
{
    static const QRegularExpression province(
        QStringLiteral("(省|市|特别行政区|壮族自治区|回族自治区|维吾尔自治区|自治区)$"));
    static const QRegularExpression prefecture(QStringLiteral("(市|地区|盟)$"));
    if (level == RegionIndex::County)
        return {};
    QString s = name;
    s.remove(level == RegionIndex::Province ? province : prefecture);
    return s.size() >= 2 && s != name ? s : QString();
}

// Between two names of one place: blanks, punctuation, and the labels of a labelled block
// ("省:浙江 市:杭州市").
const QRegularExpression kGap(QStringLiteral(
    "^(?:[\\s,;:/"
    "|()（）【】\\[\\]\\-]|(?:省份|城市|区县|省|市|区|县|所在地区|区域|地区|收货地址|详细"
    "地址|地址):)*$"));

bool isBoundary(QChar c)
{
    return c.isSpace() || QStringLiteral(",;:/|()（）【】[]-").contains(c);
}

} // namespace

RegionIndex::RegionIndex(const QString &table)
{
    for (const QString &line : table.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        Division d;
        d.code = line.left(tab).trimmed();
        d.name = line.mid(tab + 1).trimmed();
        if (d.name.isEmpty() || d.code.size() % 2 || d.code.size() > 6)
            continue;
        d.level = Level(d.code.size() / 2);
        m_byCode.insert(d.code, int(m_divisions.size()));
        m_divisions.push_back(d);
    }
    for (int i = 0; i < int(m_divisions.size()); ++i) {
        const Division &d = m_divisions[i];
        addName(d.name, i);
        addName(shortName(d.name, d.level), i);
    }
    // What the clean-up of pasted text makes of Xinjiang's name.
    if (const int xj = m_byCode.value(QStringLiteral("65"), -1); xj >= 0)
        addName(QStringLiteral("新疆维吾尔族自治区"), xj);
    for (auto &names : m_byFirstChar)
        std::stable_sort(names.begin(), names.end(), [](const Name &a, const Name &b) {
            return a.text.size() > b.text.size();
        });
}

const RegionIndex &RegionIndex::shipped()
{
    static const RegionIndex index = [] {
        QFile file(QStringLiteral(":/regions/divisions.tsv"));
        file.open(QIODevice::ReadOnly);
        return RegionIndex(QString::fromUtf8(file.readAll()));
    }();
    return index;
}

void RegionIndex::addName(const QString &text, int division)
{
    if (!text.isEmpty())
        m_byFirstChar[text.at(0)].push_back({text, division});
}

std::vector<RegionIndex::Hit> RegionIndex::hits(const QString &text) const
{
    std::vector<Hit> found;
    const QStringView view(text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto names = m_byFirstChar.constFind(text.at(i));
        if (names == m_byFirstChar.constEnd())
            continue;
        for (const Name &n : *names)
            if (view.mid(i).startsWith(n.text))
                found.push_back({i, i + n.text.size(), n.division});
    }
    return found;
}

const RegionIndex::Division *RegionIndex::parentOf(const Division &d) const
{
    for (qsizetype len = d.code.size() - 2; len > 0; len -= 2)
        if (const int i = m_byCode.value(d.code.left(len), -1); i >= 0)
            return &m_divisions[i];
    return nullptr;
}

bool RegionIndex::isAncestor(const Division &above, const Division &below) const
{
    return above.level < below.level && below.code.startsWith(above.code);
}

RegionIndex::Place RegionIndex::find(const QString &text) const
{
    const std::vector<Hit> all = hits(text);
    // Best chain ending at each hit: most names, then most characters, then the earliest.
    struct Chain
    {
        int count = 0;
        qsizetype length = 0;
        int previous = -1;
    };
    std::vector<Chain> best(all.size());
    int winner = -1;
    for (int i = 0; i < int(all.size()); ++i) {
        const Hit &h = all[i];
        const Division &d = m_divisions[h.division];
        best[i] = {1, h.end - h.begin, -1};
        for (int j = 0; j < i; ++j) {
            const Hit &p = all[j];
            if (p.end > h.begin || !isAncestor(m_divisions[p.division], d) ||
                !kGap.match(QStringView(text).mid(p.end, h.begin - p.end)).hasMatch())
                continue;
            const Chain c{best[j].count + 1, best[j].length + (h.end - h.begin), j};
            if (c.count > best[i].count || (c.count == best[i].count && c.length > best[i].length))
                best[i] = c;
        }
        // A lone name inside a word is part of a street or a shop ("科技园南区", "北京路").
        if (best[i].count == 1) {
            const bool standsAlone = (h.begin == 0 || isBoundary(text.at(h.begin - 1))) &&
                                     (d.name.size() == h.end - h.begin || h.end == text.size() ||
                                      isBoundary(text.at(h.end)));
            if (!standsAlone)
                continue;
        }
        if (winner < 0 || best[i].count > best[winner].count ||
            (best[i].count == best[winner].count && best[i].length > best[winner].length))
            winner = i;
    }
    if (winner < 0)
        return {};

    std::vector<int> chain;
    for (int i = winner; i >= 0; i = best[i].previous)
        chain.insert(chain.begin(), all[i].division);
    Place place;
    // One name that several places bear (朝阳区): only that name is certain.
    const Hit &last = all[winner];
    const bool ambiguous =
        chain.size() == 1 && std::count_if(all.begin(), all.end(), [&](const Hit &h) {
                                 return h.begin == last.begin && h.end == last.end;
                             }) > 1;
    if (ambiguous) {
        const Division &d = m_divisions[last.division];
        (d.level == County       ? place.town
         : d.level == Prefecture ? place.city
                                 : place.province) = d.name;
    } else {
        place = placeOf(chain);
    }
    place.begin = all[winner].begin;
    for (int i = winner; i >= 0; i = best[i].previous)
        place.begin = all[i].begin;
    place.end = last.end;
    return place;
}

RegionIndex::Place RegionIndex::placeOf(const std::vector<int> &chain) const
{
    const Division &deepest = m_divisions[chain.back()];
    const Division *county = deepest.level == County ? &deepest : nullptr;
    const Division *prefecture = deepest.level == Prefecture ? &deepest : nullptr;
    if (county) {
        const Division *up = parentOf(*county);
        if (up && up->level == Prefecture)
            prefecture = up;
    }
    const int root = m_byCode.value(deepest.code.left(2), -1);
    Place place;
    if (root < 0)
        return place;
    const Division &province = m_divisions[root];
    place.province = province.name;
    if (isCityRegion(province.code)) {
        place.city = province.name;
        place.town = county ? county->name : QString();
    } else if (prefecture) {
        place.city = prefecture->name;
        place.town = county ? county->name : QString();
    } else if (county) {
        // A county-level city governed by the province itself (仙桃市): it is the city.
        place.city = county->name;
    }
    return place;
}
