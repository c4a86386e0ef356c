#pragma once

#include "bills/ExpressSlipBill.h"
#include "bills/ui/BillForm.h"

#include <QPointer>

class QCheckBox;
class QComboBox;

// The express slip form: one slip filled in over the picture of its blank form, saved as one
// row of DataKDDTable and printed through the print engine. At most one is open at a time.
class TfmCheckKDD : public BillForm
{
    Q_OBJECT
public:
    static constexpr const char *kKind = "快递单";

    explicit TfmCheckKDD(BillHost &frame, QWidget *parent = nullptr);

    // The one open form, or null.
    static TfmCheckKDD *instance()
    {
        return static_cast<TfmCheckKDD *>(openForm(BillKind::ExpressSlip));
    }

    // The options bar as the slip's rules read it.
    ExpressSlipOptions options() const;

    // What the form runs when the clerk leaves a field. The amount conversion answers false for
    // an amount the format refuses.
    bool zdJEDX1Exit();
    void zdSKRXSChange();

protected:
    QHash<QString, QString> rowValues() const override;
    void loadRow(const QHash<QString, QString> &row) override;
    QList<const QCheckBox *> rememberedBoxes() const override;
    const QComboBox *rememberedChoice() const override;
    void loadCheckBoxsConfig() override;
    void laidOut() override;
    void pictureClicked() override;
    void pickParty(bool sender) override;
    bool commitTyping() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFieldBehaviour();
    void buildFloatingLists();
    void buildOptionsBar();
    void applyPrintDate();
    void applyPrintSenderOnly();
    void applyPrintReceiverOnly();
    void applyHandset2Phone();
    void updateMemoFonts();
    void openFloatingList(QComboBox *list, QWidget *target);
    void closeFloatingLists();
    void focusEntered(QWidget *watched);
    bool doubleClicked(QObject *watched);

    QHash<QComboBox *, QPointer<QWidget>> m_floatingTargets; // the field each list serves
    QString m_amountTyped; // what the user last typed into the amount field
    QString m_amountShown; // the converted text the amount field shows

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
};
