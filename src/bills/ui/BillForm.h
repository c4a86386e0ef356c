#pragma once

#include "bills/BillField.h"
#include "bills/BillFormTexts.h"
#include "bills/BillValues.h"
#include "data/TPerson.h"
#include "print/PrintJob.h"

#include <QHash>
#include <QStyle>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class AppServices;
class BillHost;
class BillPrintJob;
class IniFile;
class PartyFrame;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QTabBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

// The pattern both bill forms share: one bill filled in over the picture of its blank form,
// with the template tabs and drop-down, the picture panel laid out by the template, option
// boxes, the options bar, the tool bar, the bill's states, the save flow, the print buttons,
// the close question and the remembered position. Each form adds its fields and differences.
class BillForm : public QWidget
{
    Q_OBJECT
public:
    // A tool bar button: its name, caption, hint and glyph.
    struct ToolButton
    {
        const char *name;
        const char *caption;
        const char *hint;
        QStyle::StandardPixmap icon;
    };

    ~BillForm() override;

    // The one open form of the kind, or null.
    static BillForm *openForm(BillKind kind);

    // False when the kind has no template: the form cannot open.
    bool hasTemplate() const { return m_defaultTemplate > 0; }

    // Shows a saved bill; the history windows call these.
    void BrowseOldCheck(const QString &templateName, const QString &billIdText);
    void BrowseOldCheck(int billId);
    void setSender(const std::optional<TPerson> &party);
    void setReceiver(const std::optional<TPerson> &party);
    bool filling = false;

    // The print job of the form's current template.
    bool PrintPrepare();
    bool PrinterTransBegin(int copies);
    bool SendCheckToPrinter(int unused = 0);
    bool NewCheckPage();
    bool PrinterTransEnd();
    void PrinterTransAbort();

    // The commands of the tool bar.
    void btSaveCheckClick();
    void btNewClick();
    void btSaveAsClick();
    void btPrint1Click();
    void btPrintAndSaveClick();
    void btMultiPrintFClick();
    void btRmemberClick();
    void btSaveSKRenClick();

    BillKind kind() const { return m_kind; }
    int billId() const { return m_billId; }
    bool isSaved() const { return m_saved; }
    bool isHistory() const { return m_history; }
    int currentTemplate() const { return m_currentTemplate; }
    QWidget *field(const QString &name) const;
    // The bill on screen apart from its widgets: every printable and every stored field, which
    // of them the form hides, the template and the draft's currency code.
    BillValues values();
    // Fills in the fields the bill holds a value for.
    virtual void loadValues(const BillValues &bill);
    QString fieldText(const QString &name) const;
    void setFieldText(const QString &name, const QString &text);

protected:
    BillForm(BillHost &frame, const BillFormTexts &texts, BillKind printKind,
             const std::vector<BillField> &fields, const QStringList &buttons,
             const std::vector<ToolButton> &ownButtons, QWidget *parent);

    // Creation, once the form has built its own controls: finds the kind's default template,
    // fills the sender block with the default drawer and lays the form out.
    void start();

    // What each form does its own way.
    virtual QHash<QString, QString> rowValues() const = 0;
    virtual void loadRow(const QHash<QString, QString> &row) = 0;
    // The state a reopened bill takes: by default saved and history.
    virtual void reopened(const QHash<QString, QString> &row, const QString &billIdText);
    // The per-template options "记住选项" stores under their names: check boxes as "1" or "0",
    // the choice as its text.
    virtual QList<const QCheckBox *> rememberedBoxes() const = 0;
    virtual const QComboBox *rememberedChoice() const = 0;
    virtual void loadCheckBoxsConfig() = 0;
    // After the template's layout is applied.
    virtual void laidOut() = 0;
    // The date fields in capital text rather than digits.
    virtual bool capitalDates() const { return false; }
    virtual void pictureClicked() = 0;
    virtual QString moneyCode() { return {}; }
    // What is still being typed reaches its fields before a save or a print; false when it
    // cannot (the form has told the clerk why), and nothing is saved or printed.
    virtual bool commitTyping() { return true; }
    // The sender or receiver frame was clicked; by default the address book chooses.
    virtual void pickParty(bool sender);

    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    enum class SaveOutcome { Saved, Declined, Failed };
    SaveOutcome save();
    void markModified() { m_saved = false; }
    void updateDateFields();
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QToolButton *button(const QString &name) const;
    void hideButton(const char *name);
    // Shows the fields as the template lays them out, or hides them so they never print.
    void showFields(const QStringList &names, bool show);
    QCheckBox *addOptionBox(const char *name, const char *caption, const char *hint);
    QToolButton *addRememberButton(const QString &caption);
    QLabel *addOptionLabel(const char *name, const QString &caption);
    QHBoxLayout *optionsRow() const { return m_optionsRow; }
    // Finds the named party and fills the block; false when there is none.
    bool lookUpParty(bool sender, bool byFullName);
    void fillDictionary(QComboBox *box, const QString &name, const QString &idList);
    QString identifierList(bool templateFirst) const;
    void initFormType();
    void setFillingOrLoading(bool on);

    BillHost &m_frame;
    AppServices &m_services;
    const BillFormTexts &m_texts;
    std::unique_ptr<IniFile> m_cache;
    int m_billId = -1;
    // What the bill on screen was last printed with: template and version, 0 when not printed.
    int m_printedTemplate = 0;
    int m_printedVersion = 0;
    bool m_saved = false;
    bool m_history = false;
    bool m_saveMessages = true;
    bool m_loading = false; // suppresses change tracking while fields are filled in code
    bool m_printAndSaveDisables = true;
    std::optional<TPerson> m_senderParty;
    std::optional<TPerson> m_receiverParty;

    QComboBox *cbFirstTypeName = nullptr;
    QLabel *bgImage = nullptr;
    QWidget *panelImgBg = nullptr;
    QWidget *shortbar = nullptr;
    QDateEdit *SelDate = nullptr;
    PartyFrame *shpHKR = nullptr;
    PartyFrame *shpskr = nullptr;

private:
    // The named buttons in their order; a form's own caption and hint replace the shared ones.
    void buildToolBar(const QStringList &buttons, const std::vector<ToolButton> &ownButtons);
    void buildTemplatePanel();
    void buildPicturePanel(const std::vector<BillField> &fields);
    void buildOptionsBar();
    void addField(const BillField &f);
    void connectChangeTracking(QWidget *w);
    void reloadTypeNameList();
    void templatesChanged();
    void buildCommonBlocks();
    bool setCurrentCheckType(const QString &name);
    void cbFirstTypeNameChange();
    void tbcCheckTypeNameChange(int index);
    void loadParam();
    void fitSize();
    void loadCheckBox(const QString &captions);
    QString getItemCheckTitle() const;
    void setItemCheckTitle(const QString &titles);
    void orderTabs();
    void placePartyFrames();
    void updateCaption();
    bool printCopies(int copies);
    // The template version of a print just made, for the bill it printed.
    void recordPrint();
    // The bill on screen keeps the version it was first printed with.
    void keepFirstPrint();
    void moveToolBar();
    // The tool bar button whose Alt key this is, or null.
    QToolButton *mnemonicButton(const QKeyEvent &key) const;
    void fillBlock(PartyBlock block, const std::optional<TPerson> &party);
    QComboBox *nameBox(bool sender) const;
    void connectNameBoxes();
    void shown(int screenHeight);

    BillKind m_kind;
    std::unique_ptr<BillPrintJob> m_printJob;
    int m_currentTemplate = 0;
    int m_defaultTemplate = 0;
    int m_initialisedTemplate = 0;
    bool m_barAtBottom = false;

    QVBoxLayout *m_layout = nullptr;
    QToolBar *toolBarCheck = nullptr;
    QWidget *panelTab = nullptr;
    QTabBar *tbcCheckTypeName = nullptr;
    QHBoxLayout *m_optionsRow = nullptr;
    QHash<QString, QWidget *> m_fields; // upper-cased name -> bill field
    QHash<QString, QAction *> m_buttonActions;
    QList<QCheckBox *> m_optionBoxes;
};
