#pragma once

#include "bills/BillKind.h"

#include "data/PartyBlocks.h"

#include <QString>
#include <QStringList>

// What the two bill forms say and name differently; everything else the form pattern derives
// from the kind's name ("快递单", "承兑汇票").
struct BillFormTexts
{
    QString kind;
    QString objectName; // the window's name; its upper case is the section of its position
    QString table;
    QString firstTab;     // the tab strip before the common templates are known
    QString templateHint; // of the template drop-down
    QString historyItem;  // the frame's menu item of the kind's history

    PartyBlock senderBlock, receiverBlock;
    QString senderFrameHint, receiverFrameHint;
    QString senderPickTitle, receiverPickTitle;

    QString historyButtonMessage; // saving a history bill with the button
    QString historyCaption;       // before the ID of a reopened history bill
    QString closeTitle;
    QStringList newBillClears;  // fields a new bill empties; the rest stay for the next one
    QStringList closeAskFields; // the close question is asked when all of these have text
    int optionBoxes = 0;        // the option boxes defCheck0 ... the form carries from the start

    static const BillFormTexts &expressSlip();
    static const BillFormTexts &acceptanceDraft();
    static const BillFormTexts &of(BillKind kind);

    QString newSaved() const { return u"新" + kind + u"保存成功！ "; }
    QString editSaved() const
    {
        return kind + u"修改保存成功（要修改成新" + kind + u"请先点击【复制】按钮）！ ";
    }
    QString saveFailed() const { return kind + u"保存失败，填写的内容仍在窗口中，请稍后再试：\n"; }
    QString closeQuestion() const { return u"是否保存该" + kind + u"？"; }
    QString newBillCaption() const { return u"新" + kind + u"-ID=-1"; }
};
