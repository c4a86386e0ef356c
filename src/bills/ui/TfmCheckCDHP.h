#pragma once

#include "bills/DraftBill.h"
#include "bills/ui/BillForm.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLineEdit;

// The acceptance draft form: one bank acceptance draft filled in over the picture of its blank
// form, saved as one row of DataCDHPTable and printed with the amount one digit per cell. At
// most one is open at a time.
class TfmCheckCDHP : public BillForm
{
    Q_OBJECT
public:
    explicit TfmCheckCDHP(BillHost &frame, QWidget *parent = nullptr);

    // The one open form, or null.
    static TfmCheckCDHP *instance()
    {
        return static_cast<TfmCheckCDHP *>(openForm(BillKind::AcceptanceDraft));
    }

    // The options bar as the draft's rules read it: currency, capital dates, what not to print.
    DraftOptions options();

    // What the form runs when the clerk leaves a field. The amount conversion answers false for
    // an amount it refused.
    bool inputJEXXExit();
    void cfgMoneyTypeChange();
    void zdTimeOutDateExit();

    // The currency: its abbreviation, looked up once per name, and the name itself.
    QString getMoneyCode();
    void setMoneyName(const QString &name);

protected:
    QHash<QString, QString> rowValues() const override;
    void loadRow(const QHash<QString, QString> &row) override;
    void reopened(const QHash<QString, QString> &row, const QString &billIdText) override;
    QList<const QCheckBox *> rememberedBoxes() const override;
    const QComboBox *rememberedChoice() const override;
    void loadCheckBoxsConfig() override;
    void laidOut() override;
    bool capitalDates() const override;
    void pictureClicked() override;
    void pickParty(bool sender) override;
    QString moneyCode() override { return getMoneyCode(); }
    bool commitTyping() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildOptionsBar();
    void buildFieldBehaviour();
    void openAmountEntry(QWidget *over);
    void clearAmount();
    void alertOverflow(int digits);
    void applyOptions();
    static bool amountKeyDiscarded(const QKeyEvent &key);

    QString m_moneyName = QStringLiteral("人民币");
    QString m_moneyCode; // cleared whenever the name changes

    QLineEdit *inputJEXX = nullptr;
    QComboBox *cfgMoneyType = nullptr;
    QCheckBox *cfgNoPrtDate = nullptr;
    QCheckBox *cfgDateChinese = nullptr;
    QCheckBox *cfgJEDXRMBChecked = nullptr;
    QCheckBox *cfgNoPrtSheep = nullptr;
    QCheckBox *cfgNoPrtJEXX = nullptr;
    QCheckBox *cfgNoPrtJEDX = nullptr;
    QCheckBox *cfgNoPrtOutter = nullptr;
};
