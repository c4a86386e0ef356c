#include "app/ui/TfrmDatabaseUnreachable.h"

#include "base/ui/InBackground.h"
#include "base/ui/NamedWidgets.h"
#include "data/DatabaseChoice.h"
#include "data/ServerProbe.h"
#include "services/AppServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmDatabaseUnreachable::TfrmDatabaseUnreachable(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_problem(namedLabel(this, "lbProblem", {}))
    , m_retry(namedButton(this, "btRetry", QStringLiteral("重试")))
    , m_local(namedButton(this, "btUseLocal", QStringLiteral("改用本机数据库")))
    , m_quit(namedButton(this, "btQuit", QStringLiteral("退出")))
{
    setObjectName(QStringLiteral("frmDatabaseUnreachable"));
    setWindowTitle(QStringLiteral("共享数据库连接失败"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *hint = namedLabel(
        this, "lbHint",
        QStringLiteral("请检查网络和数据库服务器后重试；也可以改用本机数据库继续工作（本机数据"
                       "库与共享数据库的数据互不相通，之后可在“系统选项”中改回共享数据库）。"));
    hint->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_retry);
    buttons->addWidget(m_local);
    buttons->addStretch();
    buttons->addWidget(m_quit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_problem);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    connect(m_retry, &QPushButton::clicked, this, &TfrmDatabaseUnreachable::retry);
    connect(m_local, &QPushButton::clicked, this, &TfrmDatabaseUnreachable::useLocal);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
    showProblem();
}

void TfrmDatabaseUnreachable::showProblem()
{
    m_problem->setText(m_services.startupProblem());
}

void TfrmDatabaseUnreachable::setBusy(bool busy)
{
    for (QPushButton *b : {m_retry, m_local, m_quit})
        b->setEnabled(!busy);
}

void TfrmDatabaseUnreachable::retry()
{
    // The server is asked on a thread of its own first: one that does not answer holds the
    // window up for the whole time-out otherwise. The program's own connection follows.
    setBusy(true);
    m_problem->setText(QStringLiteral("正在连接共享数据库……"));
    const DatabaseChoice choice =
        DatabaseChoice::read(m_services.settings().userIni(), m_services.home());
    inBackground(
        this, [server = choice.server] { return ServerProbe::of(server); },
        [this](const ServerProbe &probe) {
            setBusy(false);
            if (!probe.reached) {
                m_problem->setText(probe.text);
                return;
            }
            m_services.openDatabase();
            if (m_services.database().isOpen())
                accept();
            else
                showProblem();
        });
}

void TfrmDatabaseUnreachable::useLocal()
{
    if (const QString error = m_services.useLocalDatabase(); !error.isEmpty()) {
        m_problem->setText(error);
        return;
    }
    accept();
}
