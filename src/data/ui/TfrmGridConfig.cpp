#include "data/ui/TfrmGridConfig.h"

#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "data/Grids.h"
#include "data/ui/GridView.h"
#include "services/AppServices.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kColumnRole = Qt::UserRole;
constexpr int kShownWidth = 50;

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QListWidget *list(const char *name, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return l;
}

} // namespace

TfrmGridConfig::TfrmGridConfig(AppServices &services, QTableView &grid, QString section,
                               QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_grid(grid)
    , m_section(std::move(section))
{
    setObjectName(QStringLiteral("frmGridConfig"));
    setWindowTitle(QStringLiteral("表格栏目配置"));
    setMinimumSize(420, 450);
    setMaximumSize(480, 500);
    resize(420, 450);

    auto *group = new QGroupBox(QStringLiteral("表格数据列配置"), this);
    group->setObjectName(QStringLiteral("grpColsSet"));
    m_show = list("lstShow", group);
    m_hide = list("lstHide", group);
    auto *hideButton = button("goHidden", QStringLiteral("隐藏"), group);
    auto *showButton = button("goShowing", QStringLiteral("显示"), group);

    auto *moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(hideButton);
    moves->addWidget(showButton);
    moves->addStretch();
    auto *lists = new QGridLayout(group);
    lists->addWidget(namedLabel(group, "Label35", QStringLiteral("需要的数据列：")), 0, 0);
    lists->addWidget(namedLabel(group, "Label36", QStringLiteral("不需要的数据列：")), 0, 2);
    lists->addWidget(m_show, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_hide, 1, 2);

    auto *hint = namedLabel(this, "lbSumMoney", QStringLiteral("【技巧】*按住Ctrl键+点选 可多选 "));
    hint->hide();
    auto *saveButton = button("btSaveSet", QStringLiteral("应用修改"), this);
    auto *closeButton = button("btCloseSet", QStringLiteral("关 闭"), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(hint);
    bottom->addStretch();
    bottom->addWidget(saveButton);
    bottom->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(bottom);

    connect(hideButton, &QPushButton::clicked, this, [this] { moveSelected(m_show, m_hide); });
    connect(showButton, &QPushButton::clicked, this, [this] { moveSelected(m_hide, m_show); });
    connect(saveButton, &QPushButton::clicked, this, &TfrmGridConfig::apply);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    FormFaceLoad(*this, m_services.settings().userIni());
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    fillLists();
}

void TfrmGridConfig::fillLists()
{
    const QAbstractItemModel *model = m_grid.model();
    const QHeaderView *header = m_grid.horizontalHeader();
    for (int c = 0; model && c < model->columnCount(); ++c) {
        auto *item = new QListWidgetItem(Grids::fieldName(*model, c));
        item->setData(kColumnRole, c);
        (header->isSectionHidden(c) ? m_hide : m_show)->addItem(item);
    }
}

void TfrmGridConfig::moveSelected(QListWidget *from, QListWidget *to)
{
    for (int i = from->count() - 1; i >= 0; --i) {
        if (from->item(i)->isSelected()) {
            QListWidgetItem *item = from->takeItem(i);
            item->setSelected(false);
            to->addItem(item);
        }
    }
}

void TfrmGridConfig::apply()
{
    QHeaderView *header = m_grid.horizontalHeader();
    for (int i = 0; i < m_show->count(); ++i) {
        const int c = m_show->item(i)->data(kColumnRole).toInt();
        header->setSectionHidden(c, false);
        if (header->sectionSize(c) < 1)
            header->resizeSection(c, kShownWidth);
    }
    for (int i = 0; i < m_hide->count(); ++i)
        header->setSectionHidden(m_hide->item(i)->data(kColumnRole).toInt(), true);
    if (!GridView::GridColsWidthSave(m_services.grids(), m_grid, m_section)) {
        m_services.ui().error(u"栏目显示设置保存失败！无法写入：" +
                              m_services.settings().userIni().path());
        return;
    }
    m_services.ui().alert(QStringLiteral("栏目显示设置成功~"), QStringLiteral("提示"));
}

void TfrmGridConfig::done(int result)
{
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}
