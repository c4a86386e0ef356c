#include "batch/ui/ImportLogView.h"

#include "base/Gbk.h"
#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "batch/ImportLog.h"
#include "services/AppServices.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

void ImportLogView::open(AppServices &services, QWidget *parent)
{
    const QString path = ImportLog::fileName(services.getRunPath());
    if (services.ui().openUrl(QUrl::fromLocalFile(path)))
        return;
    auto *view = new ImportLogView(path, parent);
    view->show();
}

ImportLogView::ImportLogView(const QString &path, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImportLog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"导入日志 - " + QDir::toNativeSeparators(path));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("edtLog"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(path);
    m_text->setPlainText(file.open(QIODevice::ReadOnly)
                             ? Gbk::decode(file.readAll())
                             : u"无法读取导入日志：" + file.errorString());
    auto *close = namedButton(this, "btClose", QStringLiteral("关  闭(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(640, 480);
}
