#include "online/ui/TfrmUp2NewVersion.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "data/TableSource.h"
#include "online/DatabaseUpgrade.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kChoose = QStringLiteral("请选择..");

} // namespace

TfrmUp2NewVersion::TfrmUp2NewVersion(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmUp2NewVersion"));
    setWindowTitle(QStringLiteral("岚砚软件升级包"));
    setFixedSize(580, 430);
    auto *heading = namedLabel(this, "Label1", QStringLiteral("升级到V9.33"));
    heading->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold;"));
    auto *note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("Memo1"));
    note->setReadOnly(true);
    note->setPlainText(QStringLiteral(
        "把老版本软件的全部业务数据（单位及客户、已开快递单和承兑汇票、字典、票据模板及其打印"
        "项目和设置、操作员）一次转入本版本；老版本的数据库只读不改。\n转入要么全部完成，要么"
        "什么也不改。模板图片从老版本的 Image 文件夹复制过来。"));
    m_program = new QComboBox(this);
    m_program->setObjectName(QStringLiteral("cbAppFile"));
    m_program->setEnabled(false);
    m_program->addItem(kChoose);
    QPushButton *browseButton = namedButton(this, "btBrowse", QStringLiteral("浏览"));
    QPushButton *check = namedButton(this, "btEnvTest", QStringLiteral("  升级环境检测"));
    m_message = namedLabel(this, "lbMessage", QStringLiteral("进度:"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_start = namedButton(this, "btStartUpdate", QStringLiteral("3、开始升级"));
    QPushButton *close = namedButton(this, "BitBtn4", QStringLiteral("4、关   闭"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0, 1, 3);
    grid->addWidget(namedLabel(this, "Label4", QStringLiteral("升级功能说明:")), 1, 0, 1, 3);
    grid->addWidget(note, 2, 0, 1, 3);
    grid->addWidget(namedLabel(this, "Label3", QStringLiteral("1、第一步，老版本的软件路径：")), 3,
                    0, 1, 3);
    grid->addWidget(m_program, 4, 0, 1, 2);
    grid->addWidget(browseButton, 4, 2);
    grid->addWidget(namedLabel(this, "Label2", QStringLiteral("2、第二步，升级环境检测：")), 5, 0,
                    1, 2);
    grid->addWidget(check, 5, 2);
    grid->addWidget(m_message, 6, 0, 1, 3);
    grid->addWidget(m_progress, 7, 0, 1, 3);
    grid->addWidget(m_start, 8, 1);
    grid->addWidget(close, 8, 2);

    connect(browseButton, &QPushButton::clicked, this, &TfrmUp2NewVersion::browse);
    connect(check, &QPushButton::clicked, this, &TfrmUp2NewVersion::checkEnvironment);
    connect(m_start, &QPushButton::clicked, this, &TfrmUp2NewVersion::startUpgrade);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // The window keeps the focus while it shows, as the older release did.
    auto *focus = new QTimer(this);
    connect(focus, &QTimer::timeout, this, [this] {
        if (isVisible() && !QApplication::activeModalWidget())
            activateWindow();
    });
    focus->start(2000);
}

void TfrmUp2NewVersion::setProgramFile(const QString &path)
{
    m_program->clear();
    m_program->addItem(path.isEmpty() ? kChoose : path);
}

void TfrmUp2NewVersion::browse()
{
    const QString path = m_services.ui().chooseOpenFile(QStringLiteral("选择老版本的主运行程序"),
                                                        QStringLiteral("所有文件 (*)"));
    if (!path.isEmpty())
        setProgramFile(path);
}

QString TfrmUp2NewVersion::olderFolder() const
{
    return QFileInfo(m_program->currentText()).absolutePath();
}

bool TfrmUp2NewVersion::checkEnvironment()
{
    Ui &ui = m_services.ui();
    const QString program = m_program->currentText();
    if (program.isEmpty() || program == kChoose) {
        ui.alert(
            QStringLiteral("请选择岚砚快递打印软件的主运行程序(例如:D:/岚砚打印/岚砚V927.exe)~"),
            kPrompt);
        return false;
    }
    if (!QFileInfo(program).isFile()) {
        ui.alert(QStringLiteral("主程序文件无效~"), kPrompt);
        return false;
    }
    if (const QString problem = olderDatabaseProblem(); !problem.isEmpty()) {
        ui.alert(problem, kPrompt);
        return false;
    }
    ui.alert(QStringLiteral("环境OK，可以升级~"), kPrompt);
    return true;
}

QString TfrmUp2NewVersion::olderDatabaseProblem() const
{
    const QFileInfo older(DatabaseUpgrade::olderDatabasePath(olderFolder()));
    // The older release kept an Access file; an older installation of ours, an SQLite one.
    if (TableSource::detectFile(older.filePath()) == TableSource::Format::Unknown)
        return QStringLiteral("主程序数据文件无效，请重新选择符合完整的主程序文件~");
    // Taking our own tables over would empty them first: the data would be lost.
    if (older.canonicalFilePath() ==
        QFileInfo(m_services.database().filePath()).canonicalFilePath())
        return QStringLiteral("所选的是本程序正在使用的数据库，请选择老版本的主运行程序~");
    return {};
}

void TfrmUp2NewVersion::showProgress(int done, int total, const QString &note)
{
    m_progress->setMaximum(total);
    m_progress->setValue(done);
    m_message->setText(QStringLiteral("进度:%1/%2").arg(done).arg(total) +
                       (note.isEmpty() ? QString() : u" >> " + note));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString TfrmUp2NewVersion::summaryText(const DatabaseUpgrade::Summary &s, int pictures,
                                       const QList<int> &unbuilt)
{
    QString summary = QStringLiteral("恭喜，升级成功啦！\n");
    for (const auto &[table, rows] : s.rows)
        summary += QStringLiteral("\n%1：%2 行").arg(table).arg(rows);
    summary += QStringLiteral("\n模板图片：%1 个").arg(pictures);
    if (!s.mergedItems.isEmpty())
        summary += QStringLiteral("\n\n老数据库中重复的打印项目已合并（保留第一条）：\n") +
                   s.mergedItems.join(u'\n');
    if (!unbuilt.isEmpty()) {
        QStringList ids;
        for (int id : unbuilt)
            ids << QString::number(id);
        summary +=
            QStringLiteral("\n\n以下模板的布局缓存未能重建，打开时将重试：") + ids.join(u", ");
    }
    return summary;
}

void TfrmUp2NewVersion::startUpgrade()
{
    Ui &ui = m_services.ui();
    m_start->setEnabled(false);
    DatabaseUpgrade upgrade(m_services.database(), m_services.appVersion());
    if (upgrade.alreadyUpgraded()) {
        ui.alert(QStringLiteral("当前软件已经是V9.28，无需再升级！"), kPrompt);
        return;
    }
    const QString path = DatabaseUpgrade::olderDatabasePath(olderFolder());
    QString error;
    std::unique_ptr<TableSource> older;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    error = olderDatabaseProblem();
    if (error.isEmpty()) {
        showProgress(0, 0, QStringLiteral("正在读取老版本的数据库…"));
        older = TableSource::open(path, &error, [](qint64, qint64) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return true;
        });
    }
    if (!older) {
        QApplication::restoreOverrideCursor();
        ui.alert(u"升级失败，岚砚意料外错误:" + error, kPrompt);
        m_start->setEnabled(true);
        return;
    }
    const DatabaseUpgrade::Summary s =
        upgrade.upgradeFrom(*older, [this](int done, int total, const QString &note) {
            showProgress(done, total, note);
        });
    QApplication::restoreOverrideCursor();
    if (!s.ok) {
        ui.alert(u"升级失败，岚砚意料外错误:" + s.error, kPrompt);
        m_start->setEnabled(true);
        return;
    }
    const int pictures =
        DatabaseUpgrade::copyPictures(m_services.database(), olderFolder(), m_services.home());
    const QList<int> unbuilt =
        DatabaseUpgrade::rebuildLayoutCaches(m_services.database(), m_services.catalogue());
    m_services.catalogue().notifyTemplatesChanged();
    ui.alert(summaryText(s, pictures, unbuilt), kPrompt);
    accept();
}
