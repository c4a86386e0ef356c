// Draws the shipped template pictures and writes the seed rows of the item dictionaries and the
// templates, from one description of each paper form, so that picture, on-screen boxes and print
// positions cannot disagree.
// Run by hand: QT_QPA_PLATFORM=offscreen build/tools/lanyan_make_templates resources
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <cmath>
#include <vector>

namespace {

// Pictures are drawn at 3.5 pixels per millimetre: a box at x tenths of a millimetre on paper
// is at 0.35 x pixels on screen.
constexpr double kPixelsPerTenth = 0.35;
constexpr int kPad = 8; // inner margin of an edit box, 0.1 mm

int px(int tenths)
{
    return qRound(tenths * kPixelsPerTenth);
}

// The print engine draws a text two average character widths (one font size) to the right of
// its position, so a position sits that far left of where the text is to appear.
int emTenths(int points)
{
    return qRound(points * 254.0 / 72.0);
}

struct DictEntry
{
    const char *name;
    const char *label;
    const char *sample;
    const char *group;
    bool printable = true;
};

const std::vector<DictEntry> &expressDict()
{
    static const std::vector<DictEntry> d{
        {"ZDHKR", "寄件单位", "岚砚科技有限公司", "寄件人"},
        {"ZDHKRLXR", "寄件联系人", "张明", "寄件人"},
        {"ZDHKRDH", "寄件电话", "0755-26881234", "寄件人"},
        {"HKRHANDSET", "寄方手机", "13800138000", "寄件人"},
        {"EDTCOUNTRYFROM", "寄件国家", "中国", "寄件人"},
        {"ZDHKRS", "寄件省", "广东省", "寄件人"},
        {"ZDHKRXS", "寄件市县", "深圳市", "寄件人"},
        {"EDTFJRTOWN", "寄件镇区", "南山区", "寄件人"},
        {"ZDHKRDZ", "寄件地址", "科技园高新南一道8号创新大厦12楼", "寄件人"},
        {"ZDHKRYB", "寄方邮编", "518057", "寄件人"},
        {"CBFROMSITE", "始发站", "深圳", "寄件人"},
        {"ZDJFKHBM", "寄方客户编号", "JF20180001", "寄件人"},
        {"ZDSIGN", "寄件人签名", "张明", "寄件人"},
        {"ZDSKR", "收件单位", "北京远景贸易有限公司", "收件人"},
        {"ZDSKRLXR", "收件联系人", "李华", "收件人"},
        {"ZDSKRDH", "收件电话", "010-62345678", "收件人"},
        {"SKRHANDSET", "收方手机", "13900139000", "收件人"},
        {"EDTCOUNTRYDEST", "收件国家", "中国", "收件人"},
        {"ZDSKRS", "收件省", "北京市", "收件人"},
        {"ZDSKRXS", "收件市县", "北京市", "收件人"},
        {"EDTSJRTOWN", "收件镇区", "海淀区", "收件人"},
        {"ZDSKRDZ", "收件地址", "中关村大街27号中关村大厦9层", "收件人"},
        {"ZDSKRYB", "收方邮编", "100080", "收件人"},
        {"CBDESTSITE", "目的站", "北京", "收件人"},
        {"ZDSFKHBM", "收方客户编号", "SF20180002", "收件人"},
        {"SELDATE", "寄件日期", "2024-05-20", "日期", false},
        {"ZDNIAN", "寄出年", "2024", "日期"},
        {"ZDYUE", "寄出月", "05", "日期"},
        {"ZDRI", "寄出日", "20", "日期"},
        {"ZDTIME", "寄出时", "16", "日期"},
        {"ZDWPNR", "物品内容", "文件资料", "物品"},
        {"EDTAMOUNT", "件数", "1", "物品"},
        {"EDTWEIGHT", "重量", "0.5", "物品"},
        {"ZDTIJI", "体积", "0.01", "物品"},
        {"ZDBZ", "备注", "请尽快派送", "物品"},
        {"EDTMONEY", "总费用", "22", "费用"},
        {"ZDJEDX1", "金额大写1", "贰拾贰元整", "费用"},
        {"ZDYUNFEE", "运费", "18", "费用"},
        {"ZDBJJE", "保价金额", "1000", "费用"},
        {"ZDBJFEE", "保价费", "4", "费用"},
        {"ZDDAISJE", "代收金额", "500", "费用"},
        {"ZDSHOUXUFEE", "手续费", "0", "费用"},
        {"ZDBAOZFEE", "包装费", "0", "费用"},
        {"ZDJIAJIFEE", "加急费", "0", "费用"},
        {"ZDQITAFEE", "其他费", "0", "费用"},
        {"ZDSONGHFEE", "送货费", "0", "费用"},
        {"ZDPJBH", "快递单号", "FY1234567890", "单号"},
        {"ZDUSERCODE", "快递帐号", "7550012345", "单号"},
        {"ZDDEF1", "自定义1", "自定义1", "自定义"},
        {"ZDDEF2", "自定义2", "自定义2", "自定义"},
        {"ZDDEF3", "自定义3", "自定义3", "自定义"},
        {"ZDDEF4", "自定义4", "自定义4", "自定义"},
        {"ZDDEF5", "自定义5", "自定义5", "自定义"},
        {"ZDTXT1", "固定文字1", "固定文字", "自定义"},
        {"ZDTXT2", "固定文字2", "固定文字", "自定义"},
    };
    return d;
}

const std::vector<DictEntry> &draftDict()
{
    static const std::vector<DictEntry> d{
        {"ZDOUTCOMP", "出票人全称", "岚砚科技有限公司", "出票人"},
        {"ZDOUTBANKACCT", "出票人账号", "4000021009200123456", "出票人"},
        {"ZDOUTBANK", "付款行名称", "中国工商银行深圳科技园支行", "出票人"},
        {"ZDOUTBANKNO", "付款行行号", "102584002107", "出票人"},
        {"ZDOUTBANKADDR", "付款行地址", "深圳市南山区科技园", "出票人"},
        {"ZDINCOMP", "收款人全称", "北京远景贸易有限公司", "收款人"},
        {"ZDINBANKACCT", "收款人账号", "11001028600056012345", "收款人"},
        {"ZDINBANK", "收款人开户行", "中国建设银行北京中关村支行", "收款人"},
        {"ZDPJBH", "票据编号", "10200052 20457788", "票据"},
        {"ZDCDXYBH", "承兑协议号", "CD2024-0015", "票据"},
        {"SELDATE", "出票日期", "2024-05-20", "日期", false},
        {"ZDNIAN", "出票年", "贰零贰肆", "日期"},
        {"ZDYUE", "出票月", "零伍", "日期"},
        {"ZDRI", "出票日", "贰拾", "日期"},
        {"ZDTIMEOUTDATE", "汇票到期日", "贰零贰肆年壹拾壹月贰拾日", "日期"},
        {"ZDJEXX", "小写金额", "123456.78", "金额"},
        {"ZDJEDX", "大写金额", "人民币壹拾贰万叁仟肆佰伍拾陆元柒角捌分", "金额"},
        {"INPUTJEXX", "金额输入", "", "金额", false},
        {"ZDYY", "亿", "", "金额格"},
        {"ZDQW", "仟万", "", "金额格"},
        {"ZDBW", "佰万", "￥", "金额格"},
        {"ZDSW", "拾万", "1", "金额格"},
        {"ZDWY", "万", "2", "金额格"},
        {"ZDQY", "仟", "3", "金额格"},
        {"ZDBY", "佰", "4", "金额格"},
        {"ZDSY", "拾", "5", "金额格"},
        {"ZDY", "元", "6", "金额格"},
        {"ZDJ", "角", "7", "金额格"},
        {"ZDF", "分", "8", "金额格"},
        {"ZDREMARK", "备注", "货款", "票据"},
        {"ZDDEF1", "自定义1", "自定义1", "自定义"},
        {"ZDDEF2", "自定义2", "自定义2", "自定义"},
        {"ZDDEF3", "自定义3", "自定义3", "自定义"},
        {"ZDDEF4", "自定义4", "自定义4", "自定义"},
        {"ZDDEF5", "自定义5", "自定义5", "自定义"},
    };
    return d;
}

// A field placed on a form: its box on paper (0.1 mm), which is also its box on screen.
struct Field
{
    QString name;
    QRect box;
    int points = 10;
    QString breakNum;
    QString fitParam;
    QString initValue;
    bool centred = false; // one character centred in a pre-printed cell
};

// One paper form: draws its picture and collects its fields from the same coordinates.
class Sheet
{
public:
    Sheet(int pWidth, int pHeight, QColor ink)
        : image(px(pWidth), px(pHeight), QImage::Format_RGB32)
        , m_ink(ink)
    {
        image.fill(QColor(255, 255, 252));
        m_p.begin(&image);
        m_p.setRenderHint(QPainter::Antialiasing);
        m_p.setRenderHint(QPainter::TextAntialiasing);
        m_p.setPen(QPen(m_ink, 1.0));
    }

    QRectF area(int x, int y, int w, int h) const
    {
        return QRectF(x * kPixelsPerTenth, y * kPixelsPerTenth, w * kPixelsPerTenth,
                      h * kPixelsPerTenth);
    }
    void frame(int x, int y, int w, int h, double width = 1.0)
    {
        m_p.setPen(QPen(m_ink, width));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(area(x, y, w, h));
    }
    void fill(int x, int y, int w, int h, QColor colour) { m_p.fillRect(area(x, y, w, h), colour); }
    // Printed text of the form; `size` is the letter height in 0.1 mm.
    void text(int x, int y, int w, int h, const QString &s, int size, int align = Qt::AlignCenter,
              bool bold = false, const char *family = "AR PL UMing CN")
    {
        QFont f(QString::fromUtf8(family));
        f.setPixelSize(qMax(8, px(size)));
        f.setBold(bold);
        m_p.setFont(f);
        m_p.setPen(m_ink);
        m_p.drawText(area(x, y, w, h), align | Qt::TextWordWrap, s);
    }
    // The fine wavy security print of bank paper, under everything else.
    void tint()
    {
        m_p.setPen(QPen(QColor(m_ink.red(), m_ink.green(), m_ink.blue(), 28), 0.8));
        for (int row = 0; row < image.height(); row += 6) {
            QPainterPath wave(QPointF(0, row));
            for (int x = 0; x <= image.width(); x += 4)
                wave.lineTo(x, row + 3.0 * std::sin(x / 9.0 + row / 5.0));
            m_p.drawPath(wave);
        }
    }
    void vertical(int x, int y, int w, int h, const QString &s)
    {
        fill(x, y, w, h, QColor(m_ink.red(), m_ink.green(), m_ink.blue(), 50));
        frame(x, y, w, h);
        QString stacked;
        for (QChar c : s)
            stacked += c + QStringLiteral("\n");
        text(x, y, w, h, stacked.trimmed(), 36, Qt::AlignCenter, true);
    }
    // A ruled cell with its caption at the left; the field takes the rest.
    QRect cell(int x, int y, int w, int h, const QString &caption)
    {
        frame(x, y, w, h);
        const int captionWidth = caption.isEmpty() ? 0 : int(caption.size()) * 30 + 24;
        text(x + 10, y, captionWidth, h, caption, 28, Qt::AlignLeft | Qt::AlignVCenter);
        return QRect(x + captionWidth + 6, y + 12, w - captionWidth - 16, h - 24);
    }
    // A tick box with its caption; the check box field covers both.
    QRect tick(int x, int y, const QString &caption)
    {
        frame(x, y + 10, 40, 40);
        text(x + 50, y, int(caption.size()) * 32 + 10, 60, caption, 28,
             Qt::AlignLeft | Qt::AlignVCenter);
        return QRect(x, y, int(caption.size()) * 32 + 70, 60);
    }

    void field(const char *name, QRect box, int points = 10)
    {
        fields.push_back({QString::fromLatin1(name), box, points, {}, {}, {}, false});
    }
    void memo(const char *name, QRect box, int points, int breakNum)
    {
        fields.push_back(
            {QString::fromLatin1(name), box, points, QString::number(breakNum), {}, {}, false});
    }
    void digitCell(const char *name, QRect box, int pitch)
    {
        fields.push_back(
            {QString::fromLatin1(name), box, 12, {}, QString::number(pitch), {}, true});
    }
    Field &last() { return fields.back(); }

    void finish() { m_p.end(); }

    QImage image;
    std::vector<Field> fields;

private:
    QPainter m_p;
    QColor m_ink;
};

struct Layout
{
    int id;
    QString kind;
    QString describe;
    QString imgFile;
    int pWidth;
    int pHeight;
    bool isDefault;
    QString checkBoxs;
    const std::vector<DictEntry> *dict;
    int checkCount; // DEFCHECK0 .. DEFCHECKn-1 in the kind's dictionary
    Sheet sheet;
};

// One party block of the first courier's slip: a caption strip and five rows.
void partyBlockA(Sheet &s, int x, const QString &title, bool sender)
{
    s.vertical(x, 170, 80, 520, title);
    const int c = x + 80;
    auto pick = [&](const char *from, const char *to) { return sender ? from : to; };
    s.field(pick("ZDHKRLXR", "ZDSKRLXR"), s.cell(c, 170, 510, 100, sender ? "寄件人" : "收件人"));
    s.field(pick("ZDHKRDH", "ZDSKRDH"), s.cell(c + 510, 170, 510, 100, "电话"));
    s.field(pick("ZDHKR", "ZDSKR"), s.cell(c, 270, 1020, 100, "单位名称"));
    s.memo(pick("ZDHKRDZ", "ZDSKRDZ"), s.cell(c, 370, 1020, 160, "详细地址"), 10, 22);
    s.field(pick("ZDHKRS", "ZDSKRS"), s.cell(c, 530, 340, 80, "省"));
    s.field(pick("ZDHKRXS", "ZDSKRXS"), s.cell(c + 340, 530, 340, 80, "市"));
    s.field(pick("EDTFJRTOWN", "EDTSJRTOWN"), s.cell(c + 680, 530, 340, 80, "区"));
    s.field(pick("HKRHANDSET", "SKRHANDSET"), s.cell(c, 610, 510, 80, "手机"));
    s.field(pick("ZDHKRYB", "ZDSKRYB"), s.cell(c + 510, 610, 510, 80, "邮编"));
}

// Date of dispatch: 年 月 日 时 after their fields, and the date picker below them.
void dateRow(Sheet &s, int x, int y, int pickerY)
{
    const std::pair<const char *, const char *> parts[] = {
        {"ZDNIAN", "年"}, {"ZDYUE", "月"}, {"ZDRI", "日"}, {"ZDTIME", "时"}};
    int at = x;
    for (const auto &[name, unit] : parts) {
        const int w = QByteArray(name) == "ZDNIAN" ? 130 : 75;
        s.field(name, QRect(at, y, w, 60));
        s.text(at + w, y, 40, 60, QString::fromUtf8(unit), 30);
        at += w + 40;
    }
    s.field("SELDATE", QRect(x, pickerY, 400, 65));
}

void drawExpressA(Sheet &s)
{
    s.frame(50, 50, 2200, 1170, 2.0);
    s.text(80, 60, 420, 100, QStringLiteral("飞燕速递"), 70, Qt::AlignLeft | Qt::AlignVCenter, true,
           "WenQuanYi Micro Hei");
    s.text(500, 60, 600, 100, QStringLiteral("国内快递运单\nFEIYAN EXPRESS WAYBILL"), 34);
    s.text(1200, 60, 380, 100, QStringLiteral("客服热线 400-000-0000"), 28);
    s.text(1600, 60, 620, 40, QStringLiteral("运单号码"), 26, Qt::AlignLeft);
    s.field("ZDPJBH", QRect(1600, 95, 620, 65), 11);
    partyBlockA(s, 50, QStringLiteral("寄件人"), true);
    partyBlockA(s, 1150, QStringLiteral("收件人"), false);

    s.field("ZDWPNR", s.cell(50, 690, 730, 110, "托寄物内容"));
    s.cell(780, 690, 370, 110, {});
    s.field("DEFCHECK0", s.tick(800, 715, QStringLiteral("文件")));
    s.field("DEFCHECK1", s.tick(970, 715, QStringLiteral("物品")));
    s.field("EDTAMOUNT", s.cell(50, 800, 280, 90, "件数"));
    s.last().initValue = QStringLiteral("1");
    s.field("EDTWEIGHT", s.cell(330, 800, 280, 90, "重量"));
    s.field("ZDTIJI", s.cell(610, 800, 270, 90, "体积"));
    s.field("CBFROMSITE", s.cell(880, 800, 270, 90, "始发"));
    s.field("ZDBJJE", s.cell(50, 890, 550, 90, "保价金额"));
    s.field("ZDBJFEE", s.cell(600, 890, 550, 90, "保价费"));
    s.field("ZDDAISJE", s.cell(50, 980, 550, 90, "代收货款"));
    s.field("ZDUSERCODE", s.cell(600, 980, 550, 90, "月结账号"));
    s.memo("ZDBZ", s.cell(50, 1070, 1100, 150, "备注"), 10, 28);

    s.field("ZDYUNFEE", s.cell(1150, 690, 550, 110, "运费"));
    s.field("EDTMONEY", s.cell(1700, 690, 550, 110, "总费用"));
    s.field("ZDJEDX1", s.cell(1150, 800, 1100, 90, "费用合计(大写)"));
    s.field("CBDESTSITE", s.cell(1150, 890, 550, 90, "目的地"));
    s.field("ZDJFKHBM", s.cell(1700, 890, 550, 90, "客户编号"));
    s.cell(1150, 980, 550, 240, {});
    s.text(1160, 985, 300, 40, QStringLiteral("寄件人签名"), 26, Qt::AlignLeft);
    s.field("ZDSIGN", QRect(1170, 1060, 510, 80), 12);
    s.cell(1700, 980, 550, 240, {});
    s.text(1710, 985, 300, 40, QStringLiteral("寄件日期"), 26, Qt::AlignLeft);
    dateRow(s, 1715, 1035, 1125);
}

// One party block of the second courier's slip: stacked, four rows.
void partyBlockB(Sheet &s, int y, bool sender)
{
    s.vertical(50, y, 80, 420, sender ? QStringLiteral("寄件方") : QStringLiteral("收件方"));
    auto pick = [&](const char *from, const char *to) { return sender ? from : to; };
    s.field(pick("ZDHKR", "ZDSKR"), s.cell(130, y, 735, 90, sender ? "寄件公司" : "收件公司"));
    s.field(pick("ZDHKRLXR", "ZDSKRLXR"), s.cell(865, y, 735, 90, "联系人"));
    s.field(pick("ZDHKRS", "ZDSKRS"), s.cell(130, y + 90, 490, 90, "省份"));
    s.field(pick("ZDHKRXS", "ZDSKRXS"), s.cell(620, y + 90, 490, 90, "城市"));
    s.field(pick("EDTFJRTOWN", "EDTSJRTOWN"), s.cell(1110, y + 90, 490, 90, "区县"));
    s.memo(pick("ZDHKRDZ", "ZDSKRDZ"), s.cell(130, y + 180, 1470, 150, "详细地址"), 10, 36);
    s.field(pick("ZDHKRDH", "ZDSKRDH"), s.cell(130, y + 330, 490, 90, "电话"));
    s.field(pick("HKRHANDSET", "SKRHANDSET"), s.cell(620, y + 330, 490, 90, "手机"));
    s.field(pick("ZDHKRYB", "ZDSKRYB"), s.cell(1110, y + 330, 490, 90, "邮编"));
}

void drawExpressB(Sheet &s)
{
    s.frame(50, 50, 2300, 1300, 2.0);
    s.fill(50, 50, 2300, 130, QColor(225, 234, 250));
    s.text(80, 55, 520, 120, QStringLiteral("远航快运"), 80, Qt::AlignLeft | Qt::AlignVCenter, true,
           "AR PL UKai CN");
    s.text(600, 55, 700, 120, QStringLiteral("快 件 详 情 单"), 55, Qt::AlignCenter, true);
    for (int i = 0; i < 46; ++i) // a printed bar code stands above the waybill number
        s.fill(1650 + i * 14, 62, (i % 3 == 0) ? 8 : 4, 50, QColor(30, 30, 30));
    s.field("ZDPJBH", QRect(1650, 115, 660, 60), 11);
    partyBlockB(s, 180, true);
    partyBlockB(s, 600, false);
    s.field("ZDWPNR", s.cell(50, 1020, 1050, 110, "内件品名"));
    s.field("EDTAMOUNT", s.cell(1100, 1020, 500, 110, "件数"));
    s.last().initValue = QStringLiteral("1");
    s.memo("ZDBZ", s.cell(50, 1130, 1550, 220, "备注"), 10, 40);

    s.field("ZDUSERCODE", s.cell(1600, 180, 750, 90, "付款账号"));
    s.field("CBFROMSITE", s.cell(1600, 270, 375, 90, "始发地"));
    s.field("CBDESTSITE", s.cell(1975, 270, 375, 90, "目的地"));
    s.field("EDTWEIGHT", s.cell(1600, 360, 375, 90, "重量"));
    s.field("ZDTIJI", s.cell(1975, 360, 375, 90, "体积"));
    s.field("ZDBJJE", s.cell(1600, 450, 750, 90, "声明价值"));
    s.field("ZDBJFEE", s.cell(1600, 540, 375, 90, "保价费"));
    s.field("ZDBAOZFEE", s.cell(1975, 540, 375, 90, "包装费"));
    s.field("ZDYUNFEE", s.cell(1600, 630, 375, 90, "运费"));
    s.field("ZDQITAFEE", s.cell(1975, 630, 375, 90, "其他"));
    s.field("EDTMONEY", s.cell(1600, 720, 750, 90, "费用总计"));
    s.field("ZDJEDX1", s.cell(1600, 810, 750, 90, "大写"));
    s.cell(1600, 900, 750, 120, {});
    s.text(1610, 900, 160, 120, QStringLiteral("服务\n类型"), 28);
    s.field("DEFCHECK0", s.tick(1790, 930, QStringLiteral("标准快递")));
    s.field("DEFCHECK1", s.tick(2070, 930, QStringLiteral("次日达")));
    s.cell(1600, 1020, 750, 170, {});
    s.text(1610, 1025, 400, 40, QStringLiteral("寄件人签名"), 26, Qt::AlignLeft);
    s.field("ZDSIGN", QRect(1620, 1080, 700, 80), 12);
    s.cell(1600, 1190, 750, 160, {});
    s.text(1610, 1190, 120, 160, QStringLiteral("寄件\n日期"), 28);
    dateRow(s, 1740, 1200, 1275);
}

void drawDraft(Sheet &s)
{
    s.fill(40, 40, 2220, 970, QColor(248, 240, 232));
    s.tint();
    s.frame(40, 40, 2220, 970, 2.5);
    s.text(700, 50, 900, 100, QStringLiteral("银 行 承 兑 汇 票"), 75, Qt::AlignCenter, true);
    s.text(1700, 50, 540, 40, QStringLiteral("汇票号码"), 26, Qt::AlignLeft);
    s.field("ZDPJBH", QRect(1700, 85, 540, 60), 11);
    s.text(330, 150, 270, 60, QStringLiteral("出票日期（大写）"), 28,
           Qt::AlignRight | Qt::AlignVCenter);
    s.field("ZDNIAN", QRect(610, 150, 230, 60));
    s.text(840, 150, 50, 60, QStringLiteral("年"), 30);
    s.field("ZDYUE", QRect(890, 150, 160, 60));
    s.text(1050, 150, 50, 60, QStringLiteral("月"), 30);
    s.field("ZDRI", QRect(1100, 150, 160, 60));
    s.text(1260, 150, 50, 60, QStringLiteral("日"), 30);
    s.field("SELDATE", QRect(1360, 148, 330, 65));

    s.vertical(40, 220, 70, 230, QStringLiteral("出票人"));
    s.field("ZDOUTCOMP", s.cell(110, 220, 1040, 77, "全    称"));
    s.field("ZDOUTBANKACCT", s.cell(110, 297, 1040, 77, "出票人账号"));
    s.field("ZDOUTBANK", s.cell(110, 374, 1040, 76, "付款行全称"));
    s.vertical(1150, 220, 70, 230, QStringLiteral("收款人"));
    s.field("ZDINCOMP", s.cell(1220, 220, 1040, 77, "全    称"));
    s.field("ZDINBANKACCT", s.cell(1220, 297, 1040, 77, "账    号"));
    s.field("ZDINBANK", s.cell(1220, 374, 1040, 76, "开户银行"));

    // Amount: the capital text and the digit cells 亿 to 分.
    s.frame(40, 450, 220, 140);
    s.text(40, 450, 220, 140, QStringLiteral("出票金额"), 34);
    s.frame(260, 450, 1505, 140);
    s.text(270, 450, 150, 140, QStringLiteral("人民币\n（大写）"), 26);
    s.field("ZDJEDX", QRect(430, 485, 1320, 75), 11);
    const char *cells[] = {"ZDYY", "ZDQW", "ZDBW", "ZDSW", "ZDWY", "ZDQY",
                           "ZDBY", "ZDSY", "ZDY",  "ZDJ",  "ZDF"};
    const QString units = QStringLiteral("亿千百十万千百十元角分");
    constexpr int pitch = 45;
    const int x0 = 2260 - 11 * pitch;
    for (int i = 0; i < 11; ++i) {
        const int x = x0 + i * pitch;
        s.frame(x, 450, pitch, 60);
        s.text(x, 450, pitch, 60, units.mid(i, 1), 30);
        s.frame(x, 510, pitch, 80, i == 8 ? 1.8 : 1.0);
        s.digitCell(cells[i], QRect(x, 515, pitch, 70), pitch);
    }

    s.field("ZDTIMEOUTDATE", s.cell(40, 590, 1110, 110, "汇票到期日（大写）"));
    s.frame(1150, 590, 230, 110);
    s.text(1150, 590, 230, 110, QStringLiteral("付款行"), 32);
    s.field("ZDOUTBANKNO", s.cell(1380, 590, 880, 55, "行号"));
    s.field("ZDOUTBANKADDR", s.cell(1380, 645, 880, 55, "地址"));
    s.field("ZDCDXYBH", s.cell(40, 700, 1110, 90, "承兑协议编号"));
    s.cell(1150, 700, 1110, 90, QStringLiteral("密押"));

    s.frame(40, 790, 1110, 110);
    s.text(60, 795, 700, 100, QStringLiteral("本汇票请你行承兑，到期无条件付款。"), 28,
           Qt::AlignLeft | Qt::AlignVCenter);
    s.text(800, 795, 330, 100, QStringLiteral("出票人签章"), 28, Qt::AlignRight | Qt::AlignBottom);
    s.memo("ZDREMARK", s.cell(40, 900, 1110, 110, "备注"), 10, 26);
    s.frame(1150, 790, 1110, 220);
    s.text(1170, 800, 1070, 60, QStringLiteral("本汇票已经承兑，到期日由本行付款。"), 28,
           Qt::AlignLeft | Qt::AlignVCenter);
    s.text(1170, 870, 500, 60, QStringLiteral("承兑行签章"), 28, Qt::AlignLeft);
    s.text(1170, 940, 1070, 60, QStringLiteral("承兑日期        年      月      日"), 28,
           Qt::AlignLeft);
    s.text(1700, 870, 540, 60, QStringLiteral("复核        记账"), 28, Qt::AlignRight);
}

QImage defaultPicture()
{
    Sheet s(2300, 1270, QColor(120, 120, 120));
    s.frame(50, 50, 2200, 1170, 1.5);
    for (int y = 200; y < 1200; y += 120)
        s.frame(100, y, 2100, 0, 0.6);
    s.text(50, 560, 2200, 150, QStringLiteral("未设置底图的单据模板"), 60);
    s.text(50, 700, 2200, 100, QStringLiteral("请在【设计模式】中为模板选择底图"), 34);
    s.finish();
    return s.image;
}

QString sqlText(const QString &s)
{
    QString quoted = s;
    return u'\'' + quoted.replace(u'\'', QStringLiteral("''")) + u'\'';
}

struct Written
{
    QString name;
    QString label;
    QString sample;
    QString group;
    bool printable;
    QString ctlType;
    int showOrd;
};

// The kind's dictionary rows: the fields of the form, then its option boxes.
std::vector<Written> dictRows(const Layout &l)
{
    std::vector<Written> rows;
    int ord = 10;
    for (const DictEntry &e : *l.dict) {
        rows.push_back({QString::fromLatin1(e.name), QString::fromUtf8(e.label),
                        QString::fromUtf8(e.sample), QString::fromUtf8(e.group), e.printable,
                        QStringLiteral("TEXT"), ord});
        ord += 10;
    }
    for (int i = 0; i < l.checkCount; ++i) {
        rows.push_back({QStringLiteral("DEFCHECK%1").arg(i), QStringLiteral("勾选%1").arg(i),
                        QStringLiteral("√"), QStringLiteral("勾选"), true,
                        QStringLiteral("CHECKBOX"), ord});
        ord += 10;
    }
    return rows;
}

void writeDictionary(QTextStream &out, const Layout &l)
{
    for (const Written &w : dictRows(l)) {
        out << "INSERT INTO NameDict (CheckTypeName, CtlName, CtlLabel, CtlData, CtlType, "
               "PrintItem, ShowOrd, Groups) VALUES ("
            << sqlText(l.kind) << ", " << sqlText(w.name) << ", " << sqlText(w.label) << ", "
            << sqlText(w.sample) << ", " << sqlText(w.ctlType) << ", " << (w.printable ? 1 : 0)
            << ", " << w.showOrd << ", " << sqlText(w.group) << ");\n";
    }
}

void writeTemplate(QTextStream &out, const Layout &l)
{
    const QImage &img = l.sheet.image;
    out << "INSERT INTO ckTypeTable (CheckTypeID, TypeName, TypeFirstName, TypeDescribe, "
           "IsDefault, IsCommon, Visiable, ImgFile, IniFile, XMove, YMove, HVPrint, THeight, "
           "TWidth, PHeight, PWidth, CheckBoxs, ShowOrd, InputBgColor, InputFtColor, PreImgURL) "
           "VALUES ("
        << l.id << ", " << sqlText(l.kind + u"（" + l.describe + u"）") << ", " << sqlText(l.kind)
        << ", " << sqlText(l.describe) << ", " << sqlText(l.isDefault ? u"默认"_qs : u"0"_qs)
        << ", '是', '启用', " << sqlText(l.imgFile) << ", '', 0, 0, '0', " << img.height() << ", "
        << img.width() << ", " << l.pHeight << ", " << l.pWidth << ", " << sqlText(l.checkBoxs)
        << ", " << l.id << ", '', '', '');\n";

    for (const Written &w : dictRows(l)) {
        const QString &name = w.name;
        auto placed = std::find_if(l.sheet.fields.begin(), l.sheet.fields.end(),
                                   [&](const Field &f) { return f.name == name; });
        const bool shown = placed != l.sheet.fields.end();
        // Fields this paper has no place for wait, hidden, in the top-left corner.
        Field f;
        if (shown) {
            f = *placed;
        } else {
            f.name = name;
            f.box = QRect(60, 60, 400, 60);
        }
        const int em = emTenths(f.points);
        const int textLeft =
            f.centred ? f.box.x() + (f.box.width() - em / 2) / 2 : f.box.x() + kPad;
        const bool multiLine = !f.breakNum.isEmpty();
        const int textTop =
            multiLine ? f.box.y() + kPad : f.box.y() + qMax(0, (f.box.height() - em) / 2);
        const int breakPoints = multiLine ? f.points - 1 : f.points;
        out << "INSERT INTO CKControl (CheckTypeID, CtlName, CtlCName, CtlType, CtlX, CtlY, CtlH, "
               "CtlW, CtlLH, SrcX, SrcY, SrcH, SrcW, NeedPrint, NeedShow, CtlFontName, "
               "CtlFontSize, CtlFontColor, BreakFontSize, Bold, Italic, UnderLine, FitParam, "
               "BreakNum, ShowOrd, InitValue) VALUES ("
            << l.id << ", " << sqlText(name) << ", " << sqlText(w.label) << ", "
            << sqlText(w.ctlType) << ", " << textLeft - em << ", " << textTop << ", "
            << f.box.height() << ", " << f.box.width() << ", "
            << qRound(emTenths(breakPoints) * 1.25) << ", " << px(f.box.x()) << ", "
            << px(f.box.y()) << ", " << px(f.box.height()) << ", " << px(f.box.width()) << ", "
            << (shown && w.printable ? 1 : 0) << ", " << (shown ? 1 : 0) << ", '宋体', " << f.points
            << ", '0', " << breakPoints << ", 0, 0, 0, " << sqlText(f.fitParam) << ", "
            << sqlText(f.breakNum) << ", " << w.showOrd << ", " << sqlText(f.initValue) << ");\n";
    }
}

bool writeFile(const QString &path, const QString &header, const std::vector<Layout *> &layouts,
               void (*write)(QTextStream &, const Layout &))
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << header;
    for (const Layout *l : layouts)
        write(out, *l);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    const QString kdd = QStringLiteral("快递单");
    const QString cdhp = QStringLiteral("承兑汇票");
    Layout a{1,
             kdd,
             QStringLiteral("飞燕速递"),
             QStringLiteral("kdd_feiyan.jpg"),
             2300,
             1270,
             true,
             QStringLiteral("文件,物品"),
             &expressDict(),
             13,
             Sheet(2300, 1270, QColor(190, 30, 40))};
    Layout b{2,
             kdd,
             QStringLiteral("远航快运"),
             QStringLiteral("kdd_yuanhang.jpg"),
             2400,
             1400,
             false,
             QStringLiteral("标准快递,次日达"),
             &expressDict(),
             13,
             Sheet(2400, 1400, QColor(20, 70, 160))};
    Layout c{3,
             cdhp,
             QStringLiteral("银行承兑汇票"),
             QStringLiteral("cdhp_bank.jpg"),
             2300,
             1050,
             true,
             QString(),
             &draftDict(),
             6,
             Sheet(2300, 1050, QColor(150, 40, 40))};
    drawExpressA(a.sheet);
    drawExpressB(b.sheet);
    drawDraft(c.sheet);
    bool ok = true;
    for (Layout *l : {&a, &b, &c}) {
        l->sheet.finish();
        ok = ok && l->sheet.image.save(root + u"/images/" + l->imgFile, "JPG", 92);
    }
    ok = ok && defaultPicture().save(root + u"/images/dhd_default.jpg", "JPG", 90);
    const QString note = QStringLiteral("-- Generated by tools/make_templates.cpp; do not edit.\n");
    ok = ok && writeFile(root + u"/seed/10_namedict.sql", note + u"-- Item dictionaries.\n",
                         {&a, &c}, writeDictionary);
    ok = ok &&
         writeFile(root + u"/seed/10_templates.sql",
                   note + u"-- Shipped templates and their items.\n", {&a, &b, &c}, writeTemplate);
    return ok ? 0 : 1;
}
