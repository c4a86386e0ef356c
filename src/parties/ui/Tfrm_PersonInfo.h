#pragma once

#include "data/TPerson.h"

#include <QDialog>
#include <QHash>

class AppServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The party detail window: every value of one party, saved through Parties::Save. Created on
// first use and kept; its boxes keep their contents between openings.
class Tfrm_PersonInfo : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_PersonInfo(AppServices &services, QWidget *parent = nullptr);

    // The stored party the window edits; empty for a new one. Setting it forgets the row
    // version the boxes were read with.
    QString idText() const;
    void setIdText(const QString &id);
    // Whether a save refreshes the address book list (it was opened from there).
    void setOpenedFromList(bool fromList) { m_openedFromList = fromList; }

    // Every box from the party, the ID label from `storedId` (none when 0 or less).
    void showParty(const TPerson &party, int storedId);
    // The party the boxes describe, with the ID of the label.
    TPerson party() const;

    // Answers whether the party was stored.
    bool btSaveClick();
    void btSaveCloseClick();
    void btClearClick();
    void btMutiAcountClick();
    void btLoadByIDClick();

    QWidget *box(const QString &name) const { return m_boxes.value(name); }

Q_SIGNALS:
    void saved();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    QWidget *addBox(QWidget *box, const char *name, int maxLength = 0);
    void refillLists();
    void listCities();
    void townLeft();
    // Where Enter in the box moves the focus; null: it does not.
    QWidget *nextOnEnter(QWidget *box) const;

    AppServices &m_services;
    bool m_openedFromList = false;
    // The version of the stored row the boxes were filled from; -1 when none.
    int m_rowVersion = -1;
    QHash<QString, QWidget *> m_boxes;
    QLabel *m_id = nullptr;
    QComboBox *m_country = nullptr;
    QComboBox *m_province = nullptr;
    QComboBox *m_city = nullptr;
    QComboBox *m_town = nullptr;
    QComboBox *m_group = nullptr;
    QComboBox *m_accountType = nullptr;
    QCheckBox *m_continueAdd = nullptr;
    QPushButton *m_mutiAcount = nullptr;
    QPushButton *m_save = nullptr;
};
