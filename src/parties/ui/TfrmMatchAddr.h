#pragma once

#include "data/TPersonKDD.h"
#include "parties/AddressRecognizer.h"
#include "parties/RecognitionLists.h"

#include <QDialog>
#include <QHash>
#include <functional>

class AppServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

// The recognition window: a pasted address block is split into the fields of a party, the user
// corrects them in drop-downs holding every candidate, and the party goes to the express slip
// form or to the batch list. Created once and kept; each opener sets the mode.
class TfrmMatchAddr : public QDialog
{
    Q_OBJECT
public:
    // What the express slip form receives.
    struct SlipPaste
    {
        bool asSender = false;
        TPersonKDD party;
        QString remark;
        bool remarkToGoods = false;  // "附注填充物品"
        bool remarkToRemark = false; // "附注填充备注"
    };

    explicit TfrmMatchAddr(AppServices &services, QWidget *parent = nullptr);

    // Slip mode: both paste buttons hand the party to `toSlip`; "2.0 粘贴不关闭" is hidden.
    void setSlipMode(std::function<void(const SlipPaste &)> toSlip);
    // Batch mode: every paste stores a row of the batch list and then calls `listChanged`;
    // "2.1 粘贴为发件人" is disabled, "2.0 粘贴不关闭" shown.
    void setBatchMode(std::function<void()> listChanged);

    // "1.1 粘贴剪切板并识别" (also run when the window shows).
    void pasteClipboard();
    // "1.2 只识别以上内容>>": normalises the text once more, then recognises it.
    void matchText();
    // "示例地址格式".
    void showSample();
    // "2.1", "2.2" and "2.0"; answers whether the party went out.
    enum class PasteButton { Sender, Receiver, NoClose };
    bool paste(PasteButton button);
    // "存为附注>>".
    void saveRemark();

    // The party the boxes describe now.
    TPersonKDD party() const;
    QComboBox *box(const char *objectName) const;
    QString memoText() const;
    void setMemoText(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    QWidget *buildSourcePanel();
    QWidget *buildResultPanel();
    QWidget *buildRemarkPanel();
    AddressFormat format() const;
    void formatChosen();
    void recognize(const QString &normalized);
    void showResult(const RecognizedAddress &result);
    void applyContainRule();
    void limitMemo();
    void listRemarks(int tab);
    bool settingOn(const QString &key, bool byDefault) const;

    AppServices &m_services;
    RecognitionLists m_lists;
    std::function<void(const SlipPaste &)> m_toSlip;
    std::function<void()> m_listChanged;
    bool m_batch = false;
    QHash<int, QStringList> m_listedRemarks;

    QPlainTextEdit *memoFrom = nullptr;
    QRadioButton *ckTaoBaoAddr = nullptr;
    QRadioButton *ckEachNetAddr = nullptr;
    QRadioButton *ckPaiPaiAddr = nullptr;
    QRadioButton *ckOtherAddr = nullptr;
    QLabel *lbAnounce = nullptr;
    QCheckBox *ckContainProviceCity = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QPlainTextEdit *edtRemark = nullptr;
    QCheckBox *ckRemark = nullptr;
    QCheckBox *ckWPNR = nullptr;
    QTabBar *TabControl1 = nullptr;
    QListWidget *lstWuPingOrRemark = nullptr;
    QPushButton *btPasteToFJR = nullptr;
    QPushButton *btPasteToSJR = nullptr;
    QPushButton *btPasteNoClose = nullptr;
};
