#pragma once

#include "data/PartyBlocks.h"
#include "data/TPerson.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

class AppServices;
class BillPrintJob;
class IniFile;
class PartyFrame;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class BillHost;

// The express slip form: one slip filled in over the picture of its blank form, saved as one
// row of DataKDDTable and printed through the print engine. At most one is open at a time.
class TfmCheckKDD : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *kKind = "快递单";

    explicit TfmCheckKDD(BillHost &frame, QWidget *parent = nullptr);
    ~TfmCheckKDD() override;

    // The one open form, or null.
    static TfmCheckKDD *instance();
    // False when the kind has no template: the form cannot open.
    bool hasTemplate() const { return m_defaultTemplate > 0; }

    // Operations other windows call.
    void BrowseOldCheck(const QString &templateName, const QString &billIdText);
    void setSender(const std::optional<TPerson> &party);
    void setReceiver(const std::optional<TPerson> &party);
    void zdJEDX1Exit();
    void zdSKRXSChange();
    bool filling = false;

    // The print job of the form's current template.
    bool PrintPrepare();
    bool PrinterTransBegin(int copies);
    bool SendCheckToPrinter(int unused = 0);
    bool NewCheckPage();
    bool PrinterTransEnd();

    // The commands of the tool bar.
    void btSaveCheckClick();
    void btNewClick();
    void btSaveAsClick();
    void btPrint1Click();
    void btPrintAndSaveClick();
    void btMultiPrintFClick();
    void btRmemberClick();
    void btSaveSKRenClick();

    int billId() const { return m_billId; }
    bool isSaved() const { return m_saved; }
    bool isHistory() const { return m_history; }
    int currentTemplate() const { return m_currentTemplate; }
    QWidget *field(const QString &name) const;
    QString fieldText(const QString &name) const;
    void setFieldText(const QString &name, const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void buildTemplatePanel();
    void buildPicturePanel();
    void buildFields();
    void buildFloatingLists();
    void buildOptionsBar();
    QToolButton *addButton(const char *name, const QString &caption, const QString &hint,
                           void (TfmCheckKDD::*slot)());
    void connectChangeTracking(QWidget *w);

    void reloadTypeNameList();
    void buildCommonBlocks();
    bool setCurrentCheckType(const QString &name);
    void cbFirstTypeNameChange();
    void tbcCheckTypeNameChange(int index);
    void initFormType();
    void loadParam();
    void loadCheckBox(const QString &captions);
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString &titles);
    void loadCheckBoxsConfig();
    void applyLayout(const QStringList &names);
    void applyPrintDate();
    void applyPrintSenderOnly();
    void applyPrintReceiverOnly();
    void applyHandset2Phone();
    void updateMemoFonts();
    void updateDateFields();
    void updateCaption();
    void markModified();

    enum class SaveOutcome { Saved, Declined, Failed };
    SaveOutcome save();
    void loadRow(const QHash<QString, QString> &row);
    QHash<QString, QString> rowValues() const;
    bool printCopies(int copies);
    void openFloatingList(QComboBox *list, QWidget *target);
    void closeFloatingLists();
    void fillBlock(PartyBlock block, const std::optional<TPerson> &party);
    void pickParty(bool sender);
    void lookUpParty(bool sender, bool byFullName);
    void loadSiteLists();
    void fillDictionary(QComboBox *box, const QString &name, const QString &idList);
    void moveToolBar();
    void placePartyFrames();
    QString identifierList(bool templateFirst) const;

    BillHost &m_frame;
    AppServices &m_services;
    std::unique_ptr<BillPrintJob> m_printJob;

    int m_currentTemplate = 0;
    int m_defaultTemplate = 0;
    int m_initialisedTemplate = 0;
    std::unique_ptr<IniFile> m_cache;
    int m_billId = -1;
    bool m_saved = false;
    bool m_history = false;
    bool m_saveMessages = true;
    bool m_loading = false; // suppresses change tracking while fields are filled in code
    std::optional<TPerson> m_senderParty;
    std::optional<TPerson> m_receiverParty;
    QHash<QComboBox *, QPointer<QWidget>> m_floatingTargets; // the field each list serves
    QString m_amountTyped; // what the user last typed into the amount field
    QString m_amountShown; // the converted text the amount field shows
    bool m_barAtBottom = false;

    QVBoxLayout *m_layout = nullptr;
    QToolBar *toolBarCheck = nullptr;
    QWidget *panelTab = nullptr;
    QTabBar *tbcCheckTypeName = nullptr;
    QComboBox *cbFirstTypeName = nullptr;
    QWidget *panelImgBg = nullptr;
    QLabel *bgImage = nullptr;
    QWidget *shortbar = nullptr;
    PartyFrame *shpHKR = nullptr;
    PartyFrame *shpskr = nullptr;
    QDateEdit *SelDate = nullptr;
    QComboBox *cb_zdWPNR = nullptr;
    QComboBox *Cb_S = nullptr;
    QComboBox *Cb_XS = nullptr;
    QComboBox *cbCountry = nullptr;
    QComboBox *cbBZ = nullptr;
    QCheckBox *cfgWantPrintRQ = nullptr;
    QCheckBox *ckHandset2Phone = nullptr;
    QCheckBox *ckPrintFJROnly = nullptr;
    QCheckBox *ckPrintSJROnly = nullptr;
    QCheckBox *cfgDestSiteIsCity = nullptr;
    QComboBox *cfgJEDXFormat = nullptr;
    QHash<QString, QWidget *> m_fields; // upper-cased name -> bill field
    QHash<QString, QAction *> m_buttonActions;
    QList<QCheckBox *> m_optionBoxes;
};
