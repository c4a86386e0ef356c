#pragma once

#include "history/ui/HistoryWindow.h"

// The acceptance draft history: the drafts' list with an amount range, coloured by state, with
// voiding, and a pick mode in which the batch printing window takes drafts from it.
class TfmSearch_CDHP : public HistoryWindow
{
    Q_OBJECT
public:
    explicit TfmSearch_CDHP(AppServices &services, QWidget *parent = nullptr);

    // Pick mode: the chosen drafts go into the draft batch list under `batchGroup`.
    void setPickMode(const QString &batchGroup);
    bool isPickMode() const { return m_pickMode; }

    void voidSelected();
    void addSelectedToBatch();
    void addAllToBatch();

protected:
    void addKindConditions(HistoryFilter &filter) override;
    void clearKindConditions() override;

private:
    std::optional<double> amountBound(QLineEdit *box);
    // The selected drafts' keys; nullopt after telling the user there are none.
    std::optional<QVariantList> selectedIds(const QString &noneMessage);
    // Tells how many drafts went into the batch list, or that none did; true when copied.
    bool toldCopied(const std::optional<int> &copied, const QString &error, const QString &before,
                    const QString &after);

    QLineEdit *edtJEFrom = nullptr;
    QLineEdit *edtJETo = nullptr;
    QPushButton *btFailedSelects = nullptr;
    QPushButton *btAddSel2MultiPrint = nullptr;
    QPushButton *btAddALL2MultiPrint = nullptr;
    bool m_pickMode = false;
    QString m_batchGroup;
};
