#include "app/ui/TfrmDatabaseMove.h"

#include "app/ui/SharedDatabaseFields.h"
#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "data/DatabaseChoice.h"
#include "services/AppServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <climits>

TfrmDatabaseMove::TfrmDatabaseMove(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_server(new SharedDatabaseFields(this))
    , m_progress(new QProgressBar(this))
    , m_state(namedLabel(this, "lbMoveState", {}))
    , m_start(namedButton(this, "btStartMove", QStringLiteral("开始迁移")))
    , m_stop(namedButton(this, "btStopMove", QStringLiteral("中止")))
    , m_close(namedButton(this, "btClose", QStringLiteral("关闭")))
{
    setObjectName(QStringLiteral("frmDatabaseMove"));
    setWindowTitle(QStringLiteral("迁移到共享数据库"));
    auto *about = namedLabel(
        this, "lbMoveAbout",
        u"把本机数据库 " + m_services.home().databasePath() +
            u" 的全部数据复制到一个空的共享数据库（PostgreSQL），逐表核对行数；全部相符后，"
            u"本工作站下次启动程序时改用共享数据库。本机数据库文件保留不动。");
    about->setWordWrap(true);
    m_progress->setObjectName(QStringLiteral("pbMove"));
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_progress->setValue(0);
    m_state->setWordWrap(true);
    m_stop->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(m_server);
    layout->addWidget(m_progress);
    layout->addWidget(m_state);
    layout->addLayout(buttons);
    setMinimumWidth(480);
    m_server->setAddress(
        DatabaseChoice::read(m_services.settings().userIni(), m_services.home()).server);
    connect(m_start, &QPushButton::clicked, this, &TfrmDatabaseMove::start);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_stopRequested = true;
        m_state->setText(QStringLiteral("正在中止……"));
    });
    connect(m_close, &QPushButton::clicked, this, &TfrmDatabaseMove::reject);
}

TfrmDatabaseMove::~TfrmDatabaseMove()
{
    if (m_thread) {
        m_stopRequested = true;
        m_thread->wait();
    }
}

void TfrmDatabaseMove::reject()
{
    if (isRunning()) {
        m_stopRequested = true;
        m_state->setText(QStringLiteral("正在中止……"));
        return;
    }
    QDialog::reject();
}

void TfrmDatabaseMove::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_server->setEnabled(!running);
    m_stop->setEnabled(running);
    m_close->setEnabled(!running);
}

void TfrmDatabaseMove::start()
{
    if (const QString why = m_server->missing(); !why.isEmpty()) {
        m_services.ui().warn(why, QStringLiteral("提示"));
        return;
    }
    const ServerAddress target = m_server->address();
    const QString file = m_services.home().databasePath();
    m_stopRequested = false;
    setRunning(true);
    m_progress->setRange(0, 0);
    m_state->setText(u"正在迁移到 " + target.displayUrl() + u" ……");
    auto result = std::make_shared<DatabaseMove::Result>();
    m_thread.reset(QThread::create([this, result, target, file] {
        DatabaseMove move;
        move.progress = [this](qint64 done, qint64 total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
        };
        move.stopRequested = [this] { return m_stopRequested.load(); };
        *result = move.copy(file, target);
    }));
    connect(m_thread.get(), &QThread::finished, this, [this, result, target] {
        m_thread->wait();
        m_thread.reset();
        finished(*result, target);
    });
    m_thread->start();
}

void TfrmDatabaseMove::showProgress(qint64 done, qint64 total)
{
    // The bar counts in whole rows up to its int range; a database file holds far fewer.
    m_progress->setRange(0, int(std::min<qint64>(total, INT_MAX)));
    m_progress->setValue(int(std::min<qint64>(done, INT_MAX)));
}

void TfrmDatabaseMove::finished(const DatabaseMove::Result &result, const ServerAddress &target)
{
    setRunning(false);
    Ui &ui = m_services.ui();
    if (result.stopped) {
        m_state->setText(QStringLiteral("已中止，共享数据库没有改动。"));
        return;
    }
    if (!result.ok) {
        m_state->setText(
            QStringLiteral("迁移失败，共享数据库没有改动，本工作站照旧使用本机数据库。"));
        ui.error(u"迁移失败：" + result.error);
        return;
    }
    const QString error =
        DatabaseMove::switchWorkstation(m_services.settings().userIni(), m_services.home(), target);
    if (!error.isEmpty()) {
        m_state->setText(QStringLiteral("数据已复制，但本工作站没有切换过去。"));
        ui.error(u"数据已复制到共享数据库，但本工作站没有切换过去：" + error);
        return;
    }
    const QString done = QStringLiteral("迁移完成：%1 个表、%2 行，各表行数相符。下次启动程序时使用"
                                        "共享数据库；本机数据库文件保留不动。")
                             .arg(result.counts.size())
                             .arg(result.rows);
    m_state->setText(done);
    ui.alert(done, QStringLiteral("提示"));
}
