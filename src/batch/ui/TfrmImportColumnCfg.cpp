#include "batch/ui/TfrmImportColumnCfg.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "batch/ColumnMatch.h"
#include "batch/ImportItems.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kServiceCode = QStringLiteral("2468025");

} // namespace

TfrmImportColumnCfg::TfrmImportColumnCfg(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmImportColumnCfg"));
    setWindowTitle(QStringLiteral("导入列匹配-设置"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(720, 520);

    auto *layout = new QVBoxLayout(this);
    auto *scenarioRow = new QHBoxLayout;
    auto *scenario = new QComboBox(this);
    scenario->setObjectName(QStringLiteral("cbMatchType"));
    scenario->addItem(ImportItems::kMatchType);
    scenario->setEnabled(false);
    scenarioRow->addWidget(namedLabel(this, "Label1", QStringLiteral("配置场景：")));
    scenarioRow->addWidget(scenario);
    scenarioRow->addStretch();
    layout->addLayout(scenarioRow);

    m_model = new QSqlQueryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->setVisible(false);
    layout->addWidget(m_grid, 1);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmImportColumnCfg::rowChanged);

    auto *edit = new QGroupBox(QStringLiteral("编辑区"), this);
    auto *form = new QFormLayout(edit);
    edShowOrd = new QLineEdit(edit);
    edShowOrd->setObjectName(QStringLiteral("edShowOrd"));
    connect(edShowOrd, &QLineEdit::textEdited, this, &TfrmImportColumnCfg::orderChanged);
    edItemName = new QLineEdit(edit);
    edItemName->setObjectName(QStringLiteral("edItemName"));
    edItemName->setReadOnly(true);
    edSourceName = new QLineEdit(edit);
    edSourceName->setObjectName(QStringLiteral("edSourceName"));
    form->addRow(QStringLiteral("顺序号："), edShowOrd);
    form->addRow(QStringLiteral("项目名："), edItemName);
    form->addRow(QStringLiteral("Excel、CSV对应列名："), edSourceName);
    form->addRow(new QLabel(
        QStringLiteral("提示：多个列名以逗号分隔(例如： 联系人,收货人,收件人 ) 。"), edit));
    auto *buttons = new QHBoxLayout;
    btAdd = namedButton(edit, "btAdd", QStringLiteral("添加"));
    btDelete = namedButton(edit, "btDelete", QStringLiteral("删除"));
    auto *submit = namedButton(edit, "btSubmit", QStringLiteral("提交修改"));
    btAdd->setVisible(false);
    btDelete->setVisible(false);
    connect(btAdd, &QPushButton::clicked, this, &TfrmImportColumnCfg::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmImportColumnCfg::btDeleteClick);
    connect(submit, &QPushButton::clicked, this, &TfrmImportColumnCfg::btSubmitClick);
    buttons->addStretch();
    buttons->addWidget(btAdd);
    buttons->addWidget(btDelete);
    buttons->addWidget(submit);
    form->addRow(buttons);
    layout->addWidget(edit);

    reload(-1);
}

void TfrmImportColumnCfg::reload(int selectId)
{
    QSqlQuery query = m_services.database().query();
    execBound(
        query,
        QStringLiteral("SELECT Id AS \"ID\", ItemName AS \"项目名\", SourceName AS "
                       "\"Excel/CSV源列名\" FROM MatchColumn WHERE MatchType = ? ORDER BY Id"),
        {ImportItems::kMatchType});
    m_model->setQuery(std::move(query));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    m_grid->setColumnWidth(0, 50);
    m_grid->setColumnWidth(1, 110);
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_model->index(r, 0).data().toInt() == selectId)
            row = r;
    }
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(row, 1));
    rowChanged();
}

int TfrmImportColumnCfg::currentId() const
{
    const QModelIndex at = m_grid->currentIndex();
    return at.isValid() ? m_model->index(at.row(), 0).data().toInt() : -1;
}

void TfrmImportColumnCfg::rowChanged()
{
    const int id = currentId();
    QSqlQuery query = m_services.database().query();
    const bool found =
        id >= 0 &&
        execBound(
            query,
            QStringLiteral("SELECT ShowOrd, ItemName, SourceName FROM MatchColumn WHERE Id = ?"),
            {id}) &&
        query.next();
    edShowOrd->setText(found ? query.value(0).toString() : QString());
    edItemName->setText(found ? query.value(1).toString() : QString());
    edSourceName->setText(found ? query.value(2).toString() : QString());
    orderChanged(edShowOrd->text());
}

void TfrmImportColumnCfg::orderChanged(const QString &text)
{
    const bool service = text == kServiceCode;
    btAdd->setVisible(service);
    btDelete->setVisible(service);
    edItemName->setReadOnly(!service);
}

void TfrmImportColumnCfg::btSubmitClick()
{
    const int id = currentId();
    if (id < 0 || edItemName->text().trimmed().isEmpty())
        return;
    const QString patterns = ColumnMatch::cleanPatterns(edSourceName->text());
    if (patterns.isEmpty()) {
        m_services.ui().warn(QStringLiteral("请输入有效的Excel/csv列名"), QStringLiteral("提示"));
        edSourceName->setFocus();
        return;
    }
    // The order box doubles as the service code box; only a number is an order.
    bool isNumber = false;
    const int order = edShowOrd->text().trimmed().toInt(&isNumber);
    QSqlQuery query = m_services.database().query();
    const bool ok =
        execBound(query,
                  QStringLiteral("UPDATE MatchColumn SET SourceName = ?, ItemName = ?, ShowOrd = "
                                 "CASE WHEN ? THEN ? ELSE ShowOrd END WHERE Id = ?"),
                  {patterns, edItemName->text().trimmed(),
                   isNumber && edShowOrd->text() != kServiceCode, order, id});
    if (!ok) {
        m_services.ui().error(u"列匹配规则未能保存：" + query.lastError().text());
        return;
    }
    reload(id);
}

void TfrmImportColumnCfg::btAddClick()
{
    Database &db = m_services.database();
    QSqlQuery query = db.query();
    const QVariant id = db.insertReturningKey(
        query,
        QStringLiteral("INSERT INTO MatchColumn (MatchType, ItemName, SourceName, ShowOrd) "
                       "VALUES (?, '', '', 0)"),
        {ImportItems::kMatchType}, QStringLiteral("Id"));
    if (!id.isValid()) {
        m_services.ui().error(u"列匹配规则未能添加：" + query.lastError().text());
        return;
    }
    reload(id.toInt());
    edShowOrd->setText(kServiceCode);
    orderChanged(kServiceCode);
    edItemName->setFocus();
}

void TfrmImportColumnCfg::btDeleteClick()
{
    const int id = currentId();
    if (id < 0)
        return;
    QSqlQuery query = m_services.database().query();
    if (!execBound(query, QStringLiteral("DELETE FROM MatchColumn WHERE Id = ?"), {id})) {
        m_services.ui().error(u"列匹配规则未能删除：" + query.lastError().text());
        return;
    }
    reload(-1);
}
