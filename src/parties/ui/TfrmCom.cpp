#include "parties/ui/TfrmCom.h"

#include "base/Ui.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kDone = QStringLiteral("成功");
const QString kFailed = QStringLiteral("失败");

QString quoted(const QString &s)
{
    return u'"' + s + u'"';
}

} // namespace

TfrmCom::TfrmCom(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmCom"));
    setWindowTitle(QStringLiteral("币种设置"));

    auto *grid = new QGridLayout(this);
    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("cb_biz"));
    m_names->setMinimumWidth(160);
    m_codes = new QComboBox(this);
    m_codes->setObjectName(QStringLiteral("cb_bzCode"));
    m_codes->hide();
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("ed_bz"));
    m_name->setMaxLength(8);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("ed_jm"));
    m_code->setMaxLength(3);
    grid->addWidget(new QLabel(QStringLiteral("币种名称："), this), 0, 0);
    grid->addWidget(m_names, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("输入新币种："), this), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("输入新简码："), this), 2, 0);
    grid->addWidget(m_code, 2, 1);

    const struct
    {
        const char *name;
        const char *caption;
        std::function<void()> action;
    } buttons[] = {
        {"btadd", "增加", [this] { add(); }},         {"btdel", "删除", [this] { remove(); }},
        {"btmod", "修改", [this] { modify(); }},      {"btMoveUp", "上移", [this] { move(+1); }},
        {"btMoveDown", "下移", [this] { move(-1); }}, {"btReset", "重置", [this] { resetOrder(); }},
        {"btClose", "关闭", [this] { accept(); }},
    };
    int row = 0;
    for (const auto &b : buttons) {
        auto *pb = new QPushButton(QString::fromUtf8(b.caption), this);
        pb->setObjectName(QString::fromLatin1(b.name));
        pb->setAutoDefault(false);
        connect(pb, &QPushButton::clicked, this, b.action);
        grid->addWidget(pb, row++, 2);
    }
    findChild<QPushButton *>(QStringLiteral("btReset"))->setToolTip(QStringLiteral("重置顺序"));
    grid->setRowStretch(row, 1);

    connect(m_names, &QComboBox::activated, this, &TfrmCom::choose);
    reload();
}

void TfrmCom::reload(const QString &keep)
{
    m_names->clear();
    m_codes->clear();
    for (const Currency &c : m_services.dictionaries().currencies()) {
        m_names->addItem(c.name);
        m_codes->addItem(c.code);
    }
    const int index = keep.isEmpty() ? -1 : m_names->findText(keep);
    m_names->setCurrentIndex(index);
    m_codes->setCurrentIndex(index);
}

QString TfrmCom::chosenName() const
{
    return m_names->currentIndex() >= 0 ? m_names->currentText() : QString();
}

void TfrmCom::choose(int index)
{
    m_names->setCurrentIndex(index);
    m_codes->setCurrentIndex(index);
    m_name->setText(m_names->currentText());
    m_code->setText(m_services.dictionaries().getMoneyCodeByName(m_names->currentText()));
}

void TfrmCom::add()
{
    Ui &ui = m_services.ui();
    const QString name = m_name->text().trimmed();
    const QString code = m_code->text().trimmed();
    const QString incomplete = QStringLiteral("输入不完整");
    if (name.isEmpty()) {
        ui.alert(QStringLiteral("请填写要添加的币种名称！"), incomplete);
        m_name->setFocus();
        return;
    }
    if (code.isEmpty()) {
        ui.alert(QStringLiteral("请填写要添加的币种简码！"), incomplete);
        m_code->setFocus();
        return;
    }
    if (m_names->findText(name) >= 0) {
        ui.alert(u"币种" + quoted(name) + u"已经存在！", QStringLiteral("存在的币种"));
        return;
    }
    if (m_codes->findText(code) >= 0) {
        ui.alert(u"币种简码" + quoted(code) + u"已经存在！", QStringLiteral("存在的币种简码"));
        return;
    }
    if (!m_services.dictionaries().addCurrency(name, code)) {
        ui.warn(QStringLiteral("添加失败！"), kFailed);
        return;
    }
    ui.alert(QStringLiteral("新币种添加成功！"), kDone);
    reload();
}

void TfrmCom::remove()
{
    Ui &ui = m_services.ui();
    const QString name = chosenName();
    if (name.isEmpty()) {
        ui.alert(QStringLiteral("请先选中要删除的币种！"), kPrompt);
        return;
    }
    if (!m_services.dictionaries().deleteCurrency(name)) {
        ui.warn(QStringLiteral("币种删除失败！"), kFailed);
        return;
    }
    ui.alert(u"币种" + quoted(name) + u"删除成功！", kDone);
    m_name->clear();
    m_code->clear();
    reload();
}

void TfrmCom::modify()
{
    Ui &ui = m_services.ui();
    const QString name = chosenName();
    if (name.isEmpty()) {
        ui.alert(QStringLiteral("请先选中要修改的币种名称！"), kPrompt);
        return;
    }
    if (m_name->text().trimmed() != name) {
        ui.alert(QStringLiteral("修改不能改变币种名称！"), kPrompt);
        m_name->setText(name);
        return;
    }
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) {
        ui.alert(QStringLiteral("请输入新的币种简码！"), kPrompt);
        return;
    }
    // A code names one currency: the draft finds its currency back by it.
    const int owner = m_codes->findText(code);
    if (owner >= 0 && m_names->itemText(owner) != name) {
        ui.alert(u"币种简码" + quoted(code) + u"已经存在！", QStringLiteral("存在的币种简码"));
        return;
    }
    if (!m_services.dictionaries().setCurrencyCode(name, code)) {
        ui.warn(QStringLiteral("币种修改失败！"), kFailed);
        return;
    }
    ui.alert(u"币种" + quoted(name) + u"修改成功！", kDone);
    reload(name);
}

void TfrmCom::move(int step)
{
    Ui &ui = m_services.ui();
    const QString name = chosenName();
    if (name.isEmpty()) {
        ui.alert(QStringLiteral("请先选中要移动的币种名称！"), kPrompt);
        return;
    }
    const QString way = step > 0 ? QStringLiteral("上移") : QStringLiteral("下移");
    if (!m_services.dictionaries().moveCurrency(name, step)) {
        ui.warn(u"显示顺序" + way + u"失败！", kFailed);
        return;
    }
    ui.alert(u"显示顺序" + way + u"成功！", kDone);
    // The user usually moves the same currency several steps.
    reload(name);
}

void TfrmCom::resetOrder()
{
    Ui &ui = m_services.ui();
    if (!m_services.dictionaries().resetCurrencyOrder()) {
        ui.warn(QStringLiteral("顺序重置失败！"), kFailed);
        return;
    }
    ui.alert(QStringLiteral("顺序重置成功！"), kDone);
    reload();
}
