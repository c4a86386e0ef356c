#include "templates/ui/TfrmBillImportExport.h"

#include "base/IniFile.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "data/ui/ReadingDialog.h"
#include "print/ui/TfrmImageShow.h"
#include "services/AppServices.h"
#include "templates/TemplateExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kFilter = QStringLiteral("岚砚票据包 (*.lyb)");
const QSize kPictureSize(750, 400);
// A summary lists this many failed templates by name; the rest are counted.
constexpr int kListedFailures = 20;

QListWidget *namedList(QWidget *parent, const char *name, const QString &hint = {})
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setToolTip(hint);
    return list;
}

QLabel *progressLabel(QWidget *parent, const char *name)
{
    QLabel *label = namedLabel(parent, name, {});
    label->setStyleSheet(QStringLiteral("color: red;"));
    return label;
}

QStringList texts(const QListWidget *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

QString failureList(const QStringList &failures)
{
    if (failures.isEmpty())
        return {};
    QString text = u"\n\n" + failures.mid(0, kListedFailures).join(u'\n');
    if (failures.size() > kListedFailures)
        text += QStringLiteral("\n……另有 %1 个").arg(failures.size() - kListedFailures);
    return text;
}

} // namespace

TfrmBillImportExport::TfrmBillImportExport(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_import(services.database(), services.catalogue(), services.home())
{
    setObjectName(QStringLiteral("frmBillImportExport"));
    setWindowTitle(QStringLiteral("导入、导出票据格式"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(buildImportPage(), QStringLiteral("导入岚砚票据模板"));
    m_tabs->addTab(buildExportPage(), QStringLiteral("导出岚砚票据模板"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1)
            showExportPage();
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(720, 480);
}

QWidget *TfrmBillImportExport::buildImportPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetImport"));
    m_packagePath = new QLineEdit(QStringLiteral("请选择票据包文件"), page);
    m_packagePath->setObjectName(QStringLiteral("edtImportBillsFile"));
    m_packagePath->setReadOnly(true);
    QPushButton *browse = namedButton(page, "btBrowseImport", QStringLiteral("浏览.."));
    const QString hint = QStringLiteral("鼠标双击查看单据样式");
    m_packageList = namedList(page, "lstImpFrom", hint);
    m_importList = namedList(page, "lstImpSel", hint);
    m_selectOne =
        namedButton(page, "btImpSel", QStringLiteral("->"), QStringLiteral("选中加入导入列表"));
    m_selectAll =
        namedButton(page, "btImpSelAll", QStringLiteral("->>"), QStringLiteral("全部加入导入列表"));
    m_clear = namedButton(page, "btImpClear", QStringLiteral("X"), QStringLiteral("清空导入列表"));
    auto *update = new QCheckBox(QStringLiteral("更新旧版本单据"), page);
    update->setObjectName(QStringLiteral("ckUpdateBill"));
    update->setChecked(true);
    update->setEnabled(false);
    m_importButton = namedButton(page, "btImport", QStringLiteral("3.开始导入(&D)"));
    QPushButton *close = namedButton(page, "btImpClose", QStringLiteral("完成退出(&X)"));
    m_importProgress = progressLabel(page, "lbProcessIn");
    setListButtonsEnabled(false);

    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("1.请选择要导入的票据包来源(*.lyb)")), 0, 0, 1, 3);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_packagePath, 1);
    pathRow->addWidget(browse);
    grid->addLayout(pathRow, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("2.票据包中的新格式（双击查看票据）.")), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("3.选中了要导入的票据列表.")), 2, 2);
    grid->addWidget(m_packageList, 3, 0);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {m_selectOne, m_selectAll, m_clear}) {
        b->setFixedWidth(40);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 3, 1);
    grid->addWidget(m_importList, 3, 2);
    grid->addWidget(update, 4, 0);
    grid->addWidget(m_importProgress, 4, 2);
    auto *actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(m_importButton);
    actions->addWidget(close);
    grid->addLayout(actions, 5, 0, 1, 3);

    connect(browse, &QPushButton::clicked, this, &TfrmBillImportExport::choosePackage);
    connect(m_selectOne, &QPushButton::clicked, this, &TfrmBillImportExport::selectOne);
    connect(m_selectAll, &QPushButton::clicked, this, &TfrmBillImportExport::selectAll);
    connect(m_clear, &QPushButton::clicked, this, &TfrmBillImportExport::clearSelection);
    connect(m_importButton, &QPushButton::clicked, this, &TfrmBillImportExport::importSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_packageList, &QListWidget::itemDoubleClicked, this,
            &TfrmBillImportExport::showPackagePicture);
    connect(m_importList, &QListWidget::itemDoubleClicked, this,
            &TfrmBillImportExport::showPackagePicture);
    return page;
}

QWidget *TfrmBillImportExport::buildExportPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetExport"));
    m_notice = new ClickableLabel(QStringLiteral("正在建设中.."), page);
    m_notice->setObjectName(QStringLiteral("lbConstraction"));
    m_notice->setCursor(Qt::ArrowCursor);
    connect(m_notice, &ClickableLabel::clicked, this, &TfrmBillImportExport::countNoticeClick);

    m_exportPanel = new QWidget(page);
    m_exportPanel->setObjectName(QStringLiteral("panelExport"));
    m_exportPanel->hide();
    m_localList = namedList(m_exportPanel, "listExpExists", QStringLiteral("鼠标双击查看单据样式"));
    m_exportList = namedList(m_exportPanel, "ListExpSel", QStringLiteral("鼠标双击查看单据样式"));
    m_localList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_localList->setSortingEnabled(true);
    m_exportList->setSortingEnabled(true);
    QPushButton *one =
        namedButton(m_exportPanel, "btESelect", QStringLiteral("->"), QStringLiteral("选中导出"));
    QPushButton *all =
        namedButton(m_exportPanel, "btESelAll", QStringLiteral("->>"), QStringLiteral("全部导出"));
    QPushButton *clear =
        namedButton(m_exportPanel, "btEClear", QStringLiteral("X"), QStringLiteral("清空选中列表"));
    m_exportPath = new QLineEdit(QDir::toNativeSeparators(QDir::homePath() + u'/'), m_exportPanel);
    m_exportPath->setObjectName(QStringLiteral("edtExportFolder"));
    m_exportPath->setReadOnly(true);
    QPushButton *browse = namedButton(m_exportPanel, "btBrowseExport", QStringLiteral("2.浏览.."));
    m_exportButton = namedButton(m_exportPanel, "btExport", QStringLiteral("3.开始导出(&D)"));
    m_exportButton->setEnabled(false);
    QPushButton *close = namedButton(m_exportPanel, "btExpClose", QStringLiteral("完成退出(&X)"));
    m_exportProgress = progressLabel(m_exportPanel, "lbProcessOut");

    auto *grid = new QGridLayout(m_exportPanel);
    grid->addWidget(new QLabel(QStringLiteral("系统已有票据列表：")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("1.选中的需要导出的票据：")), 0, 2);
    grid->addWidget(m_localList, 1, 0);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {one, all, clear}) {
        b->setFixedWidth(40);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_exportList, 1, 2);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(QStringLiteral("导出到文件夹:")));
    pathRow->addWidget(m_exportPath, 1);
    pathRow->addWidget(browse);
    grid->addLayout(pathRow, 2, 0, 1, 3);
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_exportProgress, 1);
    actions->addWidget(m_exportButton);
    actions->addWidget(close);
    grid->addLayout(actions, 3, 0, 1, 3);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_notice);
    layout->addWidget(m_exportPanel, 1);

    connect(one, &QPushButton::clicked, this, [this] {
        for (QListWidgetItem *item : m_localList->selectedItems())
            m_exportList->addItem(m_localList->takeItem(m_localList->row(item)));
    });
    connect(all, &QPushButton::clicked, this, [this] {
        while (m_localList->count() > 0)
            m_exportList->addItem(m_localList->takeItem(0));
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_exportList->clear();
        m_localList->clear();
        m_localList->addItems(TemplateExport::localTemplateNames(m_services.database()));
    });
    connect(browse, &QPushButton::clicked, this, &TfrmBillImportExport::chooseExportFile);
    connect(m_exportButton, &QPushButton::clicked, this, &TfrmBillImportExport::exportSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_localList, &QListWidget::itemDoubleClicked, this,
            &TfrmBillImportExport::showLocalPicture);
    connect(m_exportList, &QListWidget::itemDoubleClicked, this,
            &TfrmBillImportExport::showLocalPicture);
    return page;
}

void TfrmBillImportExport::showImportOnly()
{
    m_tabs->setTabVisible(1, false);
    m_tabs->setCurrentIndex(0);
}

void TfrmBillImportExport::showEvent(QShowEvent *event)
{
    FormFaceLoad(*this, m_services.settings().userIni());
    QDialog::showEvent(event);
}

void TfrmBillImportExport::done(int result)
{
    FormFaceSave(*this, m_services.settings().userIni());
    m_import.close();
    QDialog::done(result);
}

void TfrmBillImportExport::reject()
{
    // Closing during a transfer stops it after the template at hand.
    if (m_busy) {
        m_stopRequested = true;
        return;
    }
    QDialog::reject();
}

void TfrmBillImportExport::setListButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {m_selectOne, m_selectAll, m_clear})
        b->setEnabled(enabled);
    if (!enabled)
        m_importButton->setEnabled(false);
}

void TfrmBillImportExport::choosePackage()
{
    const QString path =
        m_services.ui().chooseOpenFile(QStringLiteral("选择票据包"), kFilter, QDir::homePath());
    if (path.isEmpty()) {
        setListButtonsEnabled(false);
        return;
    }
    openPackage(path);
}

void TfrmBillImportExport::openPackage(const QString &path)
{
    m_packagePath->setText(path);
    if (!path.contains(u".lyn", Qt::CaseInsensitive) &&
        !path.contains(u".lyb", Qt::CaseInsensitive)) {
        m_packagePath->clear();
        setListButtonsEnabled(false);
        m_services.ui().alert(QStringLiteral("请选择标准的岚砚票据包，例如：中国银行进账单.lyb"),
                              kPrompt);
        return;
    }
    m_packageList->clear();
    m_importList->clear();
    setListButtonsEnabled(false);
    QString error;
    ReadingDialog reading(QStringLiteral("正在读取票据包，请稍候……"), this);
    const bool opened = m_import.open(path, &error, reading.progress());
    reading.hide();
    if (!opened && reading.aborted()) {
        m_packagePath->clear();
        m_importProgress->setText(QStringLiteral("已中止读取票据包"));
        return;
    }
    if (!opened) {
        recordError(error);
        m_services.ui().alert(u":),数据包访问异常！\n" + error, kPrompt);
        return;
    }
    listPackage(true);
}

void TfrmBillImportExport::listPackage(bool moveFirst)
{
    m_packageList->clear();
    QStringList names;
    QString error;
    if (!m_import.templateNames(&names, &error)) {
        recordError(error);
        m_services.ui().alert(u":),数据包访问异常！\n" + error, kPrompt);
        return;
    }
    if (names.isEmpty()) {
        m_services.ui().alert(QStringLiteral("抱歉,岚砚从包里找不到可用于导入的票据！"), kPrompt);
        return;
    }
    m_packageList->addItems(names);
    setListButtonsEnabled(true);
    if (moveFirst)
        selectOne();
}

void TfrmBillImportExport::selectOne()
{
    if (m_packageList->count() == 0)
        return;
    const int row = m_packageList->currentRow() >= 0 ? m_packageList->currentRow() : 0;
    m_importList->addItem(m_packageList->takeItem(row));
    m_importButton->setEnabled(true);
}

void TfrmBillImportExport::selectAll()
{
    while (m_packageList->count() > 0)
        m_importList->addItem(m_packageList->takeItem(0));
    m_importButton->setEnabled(m_importList->count() > 0);
}

void TfrmBillImportExport::clearSelection()
{
    m_importList->clear();
    listPackage(false);
    m_importButton->setEnabled(false);
}

bool TfrmBillImportExport::keepGoing()
{
    QCoreApplication::processEvents();
    return !m_stopRequested;
}

void TfrmBillImportExport::importSelected()
{
    const QStringList names = texts(m_importList);
    if (names.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择要导入的票据！"), kPrompt);
        return;
    }
    m_busy = true;
    m_stopRequested = false;
    m_tabs->setEnabled(false);
    const int total = int(names.size());
    int succeeded = 0;
    QStringList failures;
    QStringList settingsFailures;
    QStringList kinds;
    m_importProgress->setText(QStringLiteral("0/%1").arg(total));
    for (int i = 0; i < total && keepGoing(); ++i) {
        const TemplateImport::Result r = m_import.importOne(names[i]);
        if (r.imported) {
            ++succeeded;
            if (!kinds.contains(r.kind))
                kinds << r.kind;
        } else
            failures << u"导入失败，单据：" + names[i] +
                            (r.error.isEmpty() ? QString() : u"（" + r.error + u"）");
        if (r.imported && !r.settingsError.isEmpty())
            settingsFailures << u"导入配置项目失败-" + names[i];
        m_importProgress->setText(QStringLiteral("%1/%2").arg(i + 1).arg(total));
    }
    m_tabs->setEnabled(true);
    m_busy = false;
    if (!failures.isEmpty())
        recordError(failures.last());
    const QStringList madeDefault = m_import.giveKindsADefault(kinds);
    if (succeeded > 0)
        m_services.catalogue().notifyTemplatesChanged();
    const int failed = int(failures.size());
    QString summary;
    if (failed == 0)
        summary = QStringLiteral("导入结束，成功导入单据%1个!").arg(succeeded);
    else if (succeeded > 0)
        summary =
            QStringLiteral("导入结束，成功导入单据%1个，失败%2个!").arg(succeeded).arg(failed);
    else
        summary = QStringLiteral("导入结束，失败%1个!").arg(failed);
    if (succeeded + failed < total)
        summary += QStringLiteral("\n已停止，未导入%1个。").arg(total - succeeded - failed);
    for (const QString &name : madeDefault)
        summary += u"\n" + name + u" 已设为默认模板（该种类原先没有默认模板）。";
    m_services.ui().alert(summary + failureList(failures + settingsFailures), kPrompt);
}

void TfrmBillImportExport::showExportPage()
{
    m_notice->setText(QStringLiteral("\n\n\n\n\n正在建设中.."));
    m_localList->clear();
    m_localList->addItems(TemplateExport::localTemplateNames(m_services.database()));
    for (const QString &chosen : texts(m_exportList))
        qDeleteAll(m_localList->findItems(chosen, Qt::MatchExactly));
}

void TfrmBillImportExport::countNoticeClick()
{
    if (!(windowState() & Qt::WindowMaximized))
        return;
    if (++m_noticeClicks >= kClicksToExport) {
        m_notice->hide();
        m_exportPanel->show();
    }
}

void TfrmBillImportExport::chooseExportFile()
{
    const QString path = m_services.ui().chooseSaveFile(QStringLiteral("保存票据包"), kFilter,
                                                        QDir::homePath() + u"/岚砚快递模板.lyb");
    if (path.isEmpty()) {
        m_exportButton->setEnabled(false);
        return;
    }
    if (!path.contains(u".lyb", Qt::CaseInsensitive)) {
        m_exportPath->clear();
        m_exportButton->setEnabled(false);
        m_services.ui().alert(
            QStringLiteral("请选择或输入标准的票据包，例如：顺风快递07.lyb、天地达.lyb"), kPrompt);
        return;
    }
    m_exportPath->setText(path);
    m_exportButton->setEnabled(true);
}

void TfrmBillImportExport::exportSelected()
{
    const QStringList names = texts(m_exportList);
    if (names.isEmpty()) {
        m_services.ui().alert(QStringLiteral("还没有选择要导出的票据格式！"), kPrompt);
        return;
    }
    const int total = int(names.size());
    m_exportProgress->setText(QStringLiteral("0/%1").arg(total));
    TemplateExport exporter(m_services.database(), m_services.home());
    QString error;
    if (!exporter.begin(m_exportPath->text(), m_services.appVersion(), &error)) {
        recordError(error);
        m_services.ui().alert(u"导出失败，" + error, kPrompt);
        return;
    }
    m_busy = true;
    m_stopRequested = false;
    m_tabs->setEnabled(false);
    int succeeded = 0;
    QStringList failures;
    QStringList warnings;
    for (int i = 0; i < total && keepGoing(); ++i) {
        const TemplateExport::Result r = exporter.exportOne(names[i]);
        if (r.exported)
            ++succeeded;
        else
            failures << u"导出失败，单据：" + names[i] + u"（" + r.error + u"）";
        if (!r.pictureError.isEmpty())
            warnings << u"图片获取失败," + r.pictureError;
        if (!r.settingsError.isEmpty())
            warnings << u"导出配置项目失败-" + names[i];
        m_exportProgress->setText(QStringLiteral("%1/%2").arg(i + 1).arg(total));
    }
    m_tabs->setEnabled(true);
    m_busy = false;
    // A package without any template would only replace the file that was there.
    if (succeeded > 0 && !exporter.finish(&error)) {
        failures = QStringList{error};
        succeeded = 0;
    }
    if (!failures.isEmpty())
        recordError(failures.last());
    const int failed = total - succeeded;
    QString summary;
    if (failed == 0)
        summary = QStringLiteral("导出完成,成功导出%1个单据！").arg(succeeded);
    else
        summary = QStringLiteral("导出结束,失败%1个模板！").arg(failed) +
                  (succeeded == 0 ? QStringLiteral(",模板未能导出成功！")
                                  : QStringLiteral("成功导出%1个模板").arg(succeeded));
    m_services.ui().alert(summary + failureList(failures + warnings), kPrompt);
}

void TfrmBillImportExport::showPackagePicture(QListWidgetItem *item)
{
    const QByteArray bytes = m_import.picture(item->text());
    if (bytes.isEmpty())
        return;
    const QString path = m_services.home().tempDir() + u"package-picture.jpg";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return;
    auto *viewer = new TfrmImageShow(m_services, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->showPictureFile(path, kPictureSize);
}

void TfrmBillImportExport::showLocalPicture(QListWidgetItem *item)
{
    Catalogue &catalogue = m_services.catalogue();
    const std::optional<Template> t =
        catalogue.loadTemplate(catalogue.loadCheckTypeIDByTypeFullName(item->text()).toInt());
    if (!t)
        return;
    auto *viewer = new TfrmImageShow(m_services, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->showPictureFile(m_services.home().imageDir() + t->pictureFile(), kPictureSize);
}

void TfrmBillImportExport::recordError(const QString &text)
{
    IniFile &ini = m_services.settings().userIni();
    ini.writeString(QStringLiteral("ERROR"), QStringLiteral("LASTERROR"), text);
    m_services.settings().flushUserIni();
}
