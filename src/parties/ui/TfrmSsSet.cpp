#include "parties/ui/TfrmSsSet.h"

#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "parties/ui/DialogPlacement.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");

QString quotedPair(const QString &province, const QString &city)
{
    return u'"' + province + u"--" + city + u'"';
}

} // namespace

TfrmSsSet::TfrmSsSet(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmSsSet"));
    setWindowTitle(QStringLiteral("省市代码设置"));
    resize(520, 460);
    buildLayout();
    reload();
}

void TfrmSsSet::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("省市代码设置"), this);
    makeHeading(heading, 1.5);
    layout->addWidget(heading);

    m_pickers = new QWidget(this);
    auto *pickers = new QVBoxLayout(m_pickers);
    pickers->setContentsMargins(0, 0, 0, 0);
    auto *provinceRow = new QHBoxLayout;
    provinceRow->addWidget(new QLabel(QStringLiteral("省(直辖市)："), m_pickers));
    m_provinces = new QComboBox(m_pickers);
    m_provinces->setObjectName(QStringLiteral("CoS"));
    m_provinces->setMinimumWidth(200);
    m_provinces->setMaxVisibleItems(20);
    provinceRow->addWidget(m_provinces);
    provinceRow->addStretch();
    pickers->addLayout(provinceRow);
    pickers->addWidget(new QLabel(QStringLiteral("市(县)："), m_pickers));
    m_cities = new QListWidget(m_pickers);
    m_cities->setObjectName(QStringLiteral("lstS"));
    // Two columns of names, read row by row and scrolled down, however many there are.
    m_cities->setFlow(QListView::LeftToRight);
    m_cities->setWrapping(true);
    m_cities->setResizeMode(QListView::Adjust);
    m_cities->setUniformItemSizes(true);
    m_cities->setGridSize(QSize(220, 20));
    pickers->addWidget(m_cities, 1);
    auto *selectedRow = new QHBoxLayout;
    auto *selectedLabel = new QLabel(QStringLiteral("当前选中："), m_pickers);
    selectedLabel->setObjectName(QStringLiteral("label10"));
    selectedRow->addWidget(selectedLabel);
    m_selected = new QLabel(m_pickers);
    m_selected->setObjectName(QStringLiteral("lblOldSx"));
    selectedRow->addWidget(m_selected, 1);
    pickers->addLayout(selectedRow);
    auto *buttons = new QHBoxLayout;
    auto *add = namedButton(m_pickers, "btAdd", QStringLiteral("添 加"));
    auto *modify = namedButton(m_pickers, "btModify", QStringLiteral("修 改"));
    auto *remove = namedButton(m_pickers, "btDel", QStringLiteral("删 除"));
    auto *quit = namedButton(m_pickers, "Button2", QStringLiteral("退 出(&X)"));
    for (QPushButton *b : {add, modify, remove, quit})
        buttons->addWidget(b);
    pickers->addLayout(buttons);
    layout->addWidget(m_pickers, 1);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFrameShape(QFrame::StyledPanel);
    auto *form = new QFormLayout(m_panel);
    m_newProvince = new QLineEdit(m_panel);
    m_newProvince->setObjectName(QStringLiteral("txtNewS"));
    m_newCity = new QLineEdit(m_panel);
    m_newCity->setObjectName(QStringLiteral("txtNewSx"));
    form->addRow(QStringLiteral("输入省（直辖市）："), m_newProvince);
    form->addRow(QStringLiteral("输入新的市（县）："), m_newCity);
    auto *panelButtons = new QHBoxLayout;
    auto *sure = namedButton(m_panel, "btSure", QStringLiteral("确 定"));
    auto *cancel = namedButton(m_panel, "Button1", QStringLiteral("取 消"));
    panelButtons->addStretch();
    panelButtons->addWidget(sure);
    panelButtons->addWidget(cancel);
    form->addRow(panelButtons);
    m_panel->hide();
    layout->addWidget(m_panel);

    connect(m_provinces, &QComboBox::currentIndexChanged, this, &TfrmSsSet::listCities);
    connect(m_cities, &QListWidget::currentItemChanged, this,
            [this] { m_selected->setText(selectedCity()); });
    connect(add, &QPushButton::clicked, this, &TfrmSsSet::startAdd);
    connect(modify, &QPushButton::clicked, this, &TfrmSsSet::startModify);
    connect(remove, &QPushButton::clicked, this, &TfrmSsSet::deleteCity);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(sure, &QPushButton::clicked, this, &TfrmSsSet::confirm);
    connect(cancel, &QPushButton::clicked, this, &TfrmSsSet::cancelEdit);
}

void TfrmSsSet::showEvent(QShowEvent *event)
{
    FormFaceLoad(*this, m_services.settings().userIni());
    placeCentredNearTop(*this);
    QDialog::showEvent(event);
}

void TfrmSsSet::done(int result)
{
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

void TfrmSsSet::reload()
{
    const QSignalBlocker blocker(m_provinces);
    m_provinces->clear();
    m_provinces->addItems(m_services.dictionaries().regionProvinces());
    m_provinces->setCurrentIndex(m_provinces->count() > 0 ? 0 : -1);
    listCities();
}

void TfrmSsSet::listCities()
{
    m_cities->clear();
    m_selected->clear();
    const QString province = m_provinces->currentText();
    if (province.isEmpty())
        return;
    for (const QString &city : m_services.dictionaries().regionCities(province))
        m_cities->addItem(u' ' + city);
}

void TfrmSsSet::chooseProvince(const QString &province)
{
    const int index = m_provinces->findText(province);
    if (index >= 0 && index != m_provinces->currentIndex())
        m_provinces->setCurrentIndex(index); // lists its cities
    else
        listCities();
}

QString TfrmSsSet::selectedCity() const
{
    const QListWidgetItem *item = m_cities->currentItem();
    return item && item->isSelected() ? item->text().trimmed() : QString();
}

void TfrmSsSet::openPanel(Mode mode, const QString &city)
{
    m_mode = mode;
    m_oldCity = city;
    m_newProvince->setText(m_provinces->currentText());
    m_newCity->setText(city);
    m_pickers->setEnabled(false);
    m_panel->show();
    m_newCity->setFocus();
}

void TfrmSsSet::closePanel()
{
    m_mode = Mode::None;
    m_panel->hide();
    m_pickers->setEnabled(true);
}

void TfrmSsSet::startAdd()
{
    openPanel(Mode::Add, QString());
}

void TfrmSsSet::startModify()
{
    const QString city = selectedCity();
    if (city.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请先选中要修改的市(县)！"), kPrompt);
        return;
    }
    openPanel(Mode::Modify, city);
}

void TfrmSsSet::cancelEdit()
{
    closePanel();
}

void TfrmSsSet::confirm()
{
    Ui &ui = m_services.ui();
    Dictionaries &regions = m_services.dictionaries();
    const QString province = m_newProvince->text().trimmed();
    const QString city = m_newCity->text().trimmed();
    if (province.isEmpty() || city.isEmpty()) {
        ui.alert(QStringLiteral("省和市输入不能为空！"), kPrompt);
        return;
    }
    if (m_mode == Mode::Add) {
        if (regions.regionExists(province, city)) {
            ui.alert(quotedPair(province, city) + u" 已经存在，不需要添加！", kPrompt);
            m_newCity->setFocus();
            return;
        }
        closePanel();
        if (!regions.addRegion(province, city)) {
            ui.warn(QStringLiteral("意外错误！插入数据失败！"), kPrompt);
            return;
        }
        ui.alert(quotedPair(province, city) + u"代码添加成功！", kPrompt);
        reload();
        chooseProvince(province);
        return;
    }
    closePanel();
    if (!regions.renameRegion(province, m_oldCity, city)) {
        ui.warn(QStringLiteral("修改失败！"), kPrompt);
        return;
    }
    ui.alert(QStringLiteral("修改成功！"), kPrompt);
    listCities();
}

void TfrmSsSet::deleteCity()
{
    Ui &ui = m_services.ui();
    const QString city = selectedCity();
    // Without a chosen city nothing would be deleted, and that is no success to report.
    if (city.isEmpty()) {
        ui.alert(QStringLiteral("请先选中要删除的市(县)！"), kPrompt);
        return;
    }
    if (!m_services.dictionaries().deleteRegion(m_provinces->currentText(), city)) {
        ui.warn(QStringLiteral("删除失败！"), kPrompt);
        return;
    }
    ui.alert(QStringLiteral("删除成功！"), kPrompt);
    listCities();
}
