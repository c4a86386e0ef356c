#pragma once

#include "history/ui/HistoryWindow.h"

// The express slip history: the slips' list with their template filter, and the tracking
// number or remark added to a slip after it was sent.
class TfmSearch_KDD : public HistoryWindow
{
    Q_OBJECT
public:
    explicit TfmSearch_KDD(AppServices &services, QWidget *parent = nullptr);

    // "补录入单号" and "补录备注": asks for the value, stores it and refreshes the list.
    void completeTrackingNumber();
    void completeRemark();
    void trackOnline();

protected:
    void addKindConditions(HistoryFilter &filter) override;
    void clearKindConditions() override;

private:
    void complete(const QString &column, const QString &prompt);
    void updateCompletionItems();

    QComboBox *filterTemplate = nullptr;
    QAction *m_inputNumber = nullptr;
    QAction *m_inputRemark = nullptr;
};
