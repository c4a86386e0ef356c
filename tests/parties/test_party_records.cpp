#include "TestHome.h"
#include "data/Parties.h"
#include "data/PartyBlocks.h"
#include "data/TPersonKDD.h"

#include <QMap>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// A party by its stored ID alone, to read it.
TPerson withId(int id)
{
    TPerson p;
    p.ID = id;
    return p;
}

TPerson party(const QString &name, const QString &code = {}, const QString &contact = {},
              const QString &account = {})
{
    TPerson p;
    p.FullName = name;
    p.InputCode = code;
    p.Contactor = contact;
    p.BankAcct = account;
    p.AcountType = TPerson::kCounterparty;
    return p;
}

// Saves the parties in order; their IDs are 1, 2, 3, ...
void store(Parties &parties, const std::vector<TPerson> &list)
{
    for (const TPerson &p : list)
        ASSERT_TRUE(parties.Save(p).isEmpty());
}

int rowCount(Database &db, const QString &where = QStringLiteral("1 = 1"))
{
    QSqlQuery q = db.query();
    q.exec(u"SELECT count(*) FROM CKPersonalInfoTable WHERE " + where);
    q.next();
    return q.value(0).toInt();
}

} // namespace

TEST(Parties, FindByInputCodeTakesOnlyPercentAsWildcard)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    store(parties, {party("甲公司", "JGS"), party("乙公司", "Y_GS"), party("丙公司", "B%X"),
                    party("O'Brien's", "O'B")});
    const struct
    {
        const char *code;
        const char *found; // null: none
    } cases[] = {
        {"%", "甲公司"},      // "%%" matches every mnemonic: the first row
        {"J%G", "甲公司"},    // the two letters side by side
        {"JG%", "甲公司"},    // a trailing "%" searches for what precedes it
        {"jgs", "甲公司"},    // mnemonics are typed in either case
        {"_%", "乙公司"},     // "_" is a character, not "any one character"
        {"B%%X", nullptr},    // every "%" is removed: "BX" is in no mnemonic
        {"O'B", "O'Brien's"}, // a quote is just a character
        {"JG", nullptr},      // without "%" the whole mnemonic must match
        {"", nullptr},
    };
    for (const auto &c : cases) {
        const std::optional<TPerson> found = parties.FindByInputCode(QString::fromUtf8(c.code));
        SCOPED_TRACE(c.code);
        if (!c.found) {
            EXPECT_FALSE(found);
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(found->FullName, QString::fromUtf8(c.found));
    }
}

TEST(Parties, FindsByNameAccountAndContactWithQuotesAndPercentSigns)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    store(parties, {party("100%'纯'公司", {}, "老王's", "6222_01"), party("第二", {}, "%")});

    EXPECT_EQ(parties.FindByFullName("100%'纯'公司")->ID, 1);
    EXPECT_EQ(parties.FindByNameAndAccount("100%'纯'公司", "6222_01")->ID, 1);
    EXPECT_FALSE(parties.FindByNameAndAccount("100%'纯'公司", "6222x01"));
    EXPECT_EQ(parties.FindByNameAndContactor("100%'纯'公司", "老王's")->ID, 1);
    EXPECT_EQ(parties.FindByContactor("%")->ID, 2);
    EXPECT_FALSE(parties.FindByFullName("100%"));
    EXPECT_FALSE(parties.FindByFullName(""));
    EXPECT_FALSE(parties.FindByContactor(""));
    EXPECT_EQ(parties.loadAccountsByCompany("  100%'纯'公司 "), QStringList{"6222_01"});
    EXPECT_TRUE(parties.loadAccountsByCompany("  ").isEmpty());
}

TEST(Parties, SaveAppendsUnstoredAndVanishedPartiesWithoutTouchingOthers)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    store(parties, {party("一"), party("二"), party("三")});
    home.db().query().exec("DELETE FROM CKPersonalInfoTable WHERE ID = 2");

    // Each becomes a new row with a fresh ID; none keeps the ID it came with.
    for (const auto &[id, stored] : {std::pair{0, 4}, {-1, 5}, {2, 6}}) {
        TPerson p = party(QStringLiteral("新%1").arg(id));
        p.ID = id;
        ASSERT_TRUE(parties.Save(p).isEmpty());
        const std::optional<TPerson> found = parties.FindByFullName(p.FullName);
        ASSERT_TRUE(found) << id;
        EXPECT_EQ(found->ID, stored) << id;
    }
    EXPECT_EQ(rowCount(home.db()), 5);
    EXPECT_EQ(rowCount(home.db(), "ID <= 0"), 0);
    EXPECT_EQ(rowCount(home.db(), "ID = 2"), 0); // the vanished row is not brought back
    EXPECT_EQ(rowCount(home.db(), "全称 IN ('一', '三')"), 2);
    TPerson first;
    first.ID = 1;
    EXPECT_EQ(parties.LoadByID(first), 1);
    EXPECT_EQ(first.FullName, QStringLiteral("一"));
}

TEST(Parties, SaveWritesEveryTextColumnSoAbsentValuesBecomeEmpty)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    TPerson full = party("全称", "QC", "联系人", "账号");
    for (const TPerson::Column &c : TPerson::textColumns())
        if ((full.*c.field).isEmpty())
            full.*c.field = QString::fromUtf8(c.name) + u"值";
    store(parties, {full});
    home.db().query().exec("UPDATE CKPersonalInfoTable SET 排序 = 7");

    TPerson onlyName;
    onlyName.ID = 1;
    onlyName.FullName = QStringLiteral("改名");
    ASSERT_TRUE(parties.Save(onlyName).isEmpty());

    TPerson stored;
    stored.ID = 1;
    ASSERT_EQ(parties.LoadByID(stored), 1);
    EXPECT_EQ(stored.FullName, QStringLiteral("改名"));
    EXPECT_EQ(stored.Remark, QString());
    EXPECT_EQ(rowCount(home.db(), "地址 = '' AND 扩展信息 = '' AND 单位类型 = '' AND 排序 = 7"), 1);

    TPerson missing;
    EXPECT_EQ(parties.LoadByID(missing), -1);
    missing.ID = 99;
    EXPECT_EQ(parties.LoadByID(missing), 0);
}

TEST(Parties, SaveReportsTheDatabaseError)
{
    TestHome home;
    home.db().query().exec("DROP TABLE CKPersonalInfoTable");
    EXPECT_FALSE(Parties(home.db(), home.ui).Save(party("甲")).isEmpty());
}

TEST(Parties, SavePersonFromBillLooksUpByTheFirstRuleThatApplies)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    TPerson byAccount = party("甲", {}, {}, "111");
    byAccount.Address = QStringLiteral("旧地址");
    byAccount.Remark = QStringLiteral("老客户");
    store(parties, {byAccount, party("甲", {}, "李四"), party("甲"), party({}, {}, "王五")});

    std::vector<PartyDetailRequest> opened;
    parties.setDetailWindow([&](const PartyDetailRequest &r) { opened.push_back(r); });
    const struct
    {
        TPerson bill;
        int storedId;
    } cases[] = {
        {party("甲", {}, "李四", "111"), 1}, // name and account win over name and contact
        {party("甲", {}, "李四"), 2},
        {party("甲", {}, {}, {}), 1}, // name alone: the first of that name
        {party("甲", {}, "张三"), 0}, // name and an unknown contact: none
        {party({}, {}, "王五"), 4},
        {party({}, {}, {}), 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(parties.savePersonFromBill(&c.bill), -1);
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.back().storedId, c.storedId) << c.bill.FullName.toStdString();
    }
    EXPECT_EQ(opened.size(), std::size(cases));

    // The bill's values cover the stored ones; what the bill leaves empty stays in view.
    TPerson bill = party("甲", {}, {}, "111");
    bill.Phone = QStringLiteral("020-1234");
    bill.AcountType.clear();
    parties.savePersonFromBill(&bill);
    const TPerson &shown = opened.back().values;
    EXPECT_EQ(shown.Phone, QStringLiteral("020-1234"));
    EXPECT_EQ(shown.Address, QStringLiteral("旧地址"));
    EXPECT_EQ(shown.Remark, QStringLiteral("老客户"));
    EXPECT_EQ(shown.AcountType, TPerson::kOwnUnit); // anything but a counterparty
    EXPECT_EQ(rowCount(home.db()), 4);              // the window saves, not the look-up

    EXPECT_EQ(parties.savePersonFromBill(nullptr), -1);
}

TEST(Parties, SavePersonFromBillSavesAStoredPartyAtOnce)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    store(parties, {party("甲")});
    bool windowOpened = false;
    parties.setDetailWindow([&](const PartyDetailRequest &) { windowOpened = true; });
    TPerson p = party("甲改");
    p.ID = 1;
    parties.savePersonFromBill(&p);
    EXPECT_FALSE(windowOpened);
    EXPECT_TRUE(parties.FindByFullName("甲改"));
}

TEST(Parties, DefaultDrawerIsOneOwnUnit)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    TPerson drawer = party("旧出票人");
    drawer.Group = TPerson::kDefaultDrawerGroup;
    drawer.AcountType = TPerson::kOwnUnit;
    store(parties, {drawer, party("往来甲")});
    parties.holdDefaultDrawer(true);
    ASSERT_TRUE(parties.DefaultDrawer());
    EXPECT_EQ(parties.DefaultDrawer()->ID, 1);

    ASSERT_TRUE(parties.setDefaultDrawer(2).isEmpty());
    EXPECT_EQ(rowCount(home.db(), "分组 = '默认出票人'"), 1);
    TPerson chosen;
    chosen.ID = 2;
    parties.LoadByID(chosen);
    EXPECT_EQ(chosen.AcountType, TPerson::kOwnUnit);
    EXPECT_EQ(chosen.Group, TPerson::kDefaultDrawerGroup);
    EXPECT_EQ(parties.DefaultDrawer()->ID, 2);

    // A party deleted meanwhile: refused, and the default drawer stays as it was.
    EXPECT_FALSE(parties.setDefaultDrawer(42).isEmpty());
    EXPECT_EQ(parties.LoadDefaultDrawer()->ID, 2);
    EXPECT_EQ(parties.DefaultDrawer()->ID, 2);

    parties.holdDefaultDrawer(false);
    EXPECT_FALSE(parties.DefaultDrawer());
}

TEST(Parties, CompanyListsByUnitType)
{
    TestHome home;
    Parties parties(home.db(), home.ui);
    TPerson own = party("我方");
    own.AcountType = TPerson::kOwnUnit;
    own.Bank = QStringLiteral("工行");
    own.BankAcct = QStringLiteral("95588");
    store(parties, {own, party("往来"), party("往来")});
    EXPECT_EQ(parties.loadCompanyList(TPerson::kOwnUnit), QStringList{"我方"});
    EXPECT_EQ(parties.loadCompanyList(TPerson::kCounterparty), QStringList{"往来"});
    EXPECT_EQ(parties.loadCompanyList().size(), 2);
    EXPECT_EQ(parties.loadBankNamesByAccount(" 95588 "), QStringList{"工行"});
    EXPECT_FALSE(parties.fetchOnePerson(TPerson::kOwnUnit, {})); // no address book yet
}

TEST(PartyBlocks, FillAndBuildBack)
{
    TPerson p = party("收件公司", {}, "张三");
    p.Province = QStringLiteral("广东省");
    p.Bank = QStringLiteral("工行");
    QMap<QString, QString> boxes;
    const auto set = [&](const QString &control, const QString &text) { boxes[control] = text; };

    fillPartyBlock(PartyBlock::SlipReceiver, &p, set);
    EXPECT_EQ(boxes.size(), 10);
    EXPECT_EQ(boxes["zdSKR"], QStringLiteral("收件公司"));
    EXPECT_EQ(boxes["zdSKRS"], QStringLiteral("广东省"));
    fillPartyBlock(PartyBlock::SlipReceiver, nullptr, set);
    EXPECT_EQ(boxes["zdSKR"], QString()); // the slip empties its block

    boxes.clear();
    fillPartyBlock(PartyBlock::DraftPayee, nullptr, set);
    EXPECT_TRUE(boxes.isEmpty()); // the draft leaves its block alone
    fillPartyBlock(PartyBlock::DraftDrawer, &p, set);
    EXPECT_EQ(boxes["zdOutComp"], QStringLiteral("收件公司"));
    EXPECT_EQ(boxes["zdOutBank"], QStringLiteral("工行"));

    const QMap<QString, QString> payee{{"zdInComp", partyBlockPrompt(PartyBlock::DraftPayee)},
                                       {"zdInBank", " 工行 "},
                                       {"zdInBankAcct", " 95588\t"}};
    const TPerson back =
        partyFromBlock(PartyBlock::DraftPayee, [&](const QString &c) { return payee.value(c); });
    EXPECT_EQ(back.FullName, QString());
    EXPECT_EQ(back.Bank, QStringLiteral("工行"));
    EXPECT_EQ(back.BankAcct, QStringLiteral("95588"));
    EXPECT_EQ(back.AcountType, TPerson::kCounterparty);
    EXPECT_EQ(back.ID, 0);
}

TEST(TPersonKDD, ResetEmptiesEverything)
{
    TPersonKDD p;
    p.ID = 5;
    p.FullName = QStringLiteral("甲");
    p.GoodsDesc = QStringLiteral("文件");
    p.DestSite = QStringLiteral("广州");
    p.Reset();
    EXPECT_EQ(p.ID, -1);
    EXPECT_TRUE(p.FullName.isEmpty() && p.GoodsDesc.isEmpty() && p.DestSite.isEmpty());
}

TEST(Parties, ASaveOverAPartyAnotherWorkstationChangedIsRefusedUntilReloaded)
{
    TestHome home;
    Database other("other workstation");
    ASSERT_EQ(home.openAnother(other), Database::Status::Opened) << other.problem().toStdString();
    Parties here(home.db(), home.ui);
    Parties there(other, home.ui);
    const PartySave added = here.store(party("甲", "", "张三"));
    ASSERT_TRUE(added.error.isEmpty()) << added.error.toStdString();
    EXPECT_GT(added.id, 0);

    TPerson mine = withId(added.id);
    TPerson theirs = withId(added.id);
    ASSERT_EQ(here.LoadByID(mine), 1);
    ASSERT_EQ(there.LoadByID(theirs), 1);
    theirs.Contactor = QStringLiteral("李四");
    const PartySave theirSave = there.store(theirs);
    ASSERT_TRUE(theirSave.error.isEmpty()) << theirSave.error.toStdString();

    mine.Contactor = QStringLiteral("王五");
    const PartySave refused = here.store(mine);
    EXPECT_TRUE(refused.changedElsewhere);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(rowCount(home.db(), "联系人 = '李四'"), 1);

    // Read again, the clerk's change goes over theirs; one row all along.
    ASSERT_EQ(here.LoadByID(mine), 1);
    EXPECT_EQ(mine.Contactor, QStringLiteral("李四"));
    mine.Contactor = QStringLiteral("王五");
    const PartySave again = here.store(mine);
    EXPECT_TRUE(again.error.isEmpty()) << again.error.toStdString();
    EXPECT_FALSE(again.changedElsewhere);
    // A second save of the same screen is over the version the first one wrote.
    mine.RowVersion = again.rowVersion;
    EXPECT_TRUE(here.store(mine).error.isEmpty());
    EXPECT_EQ(rowCount(home.db()), 1);
    EXPECT_EQ(rowCount(home.db(), "联系人 = '王五'"), 1);
}
