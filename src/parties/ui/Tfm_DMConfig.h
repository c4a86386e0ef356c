#pragma once

#include <QDialog>

class AppServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QStandardItemModel;
class QTableView;

// Dictionary maintenance: the named drop-down lists, shared or of one template.
class Tfm_DMConfig : public QDialog
{
    Q_OBJECT
public:
    Tfm_DMConfig(AppServices &services, int checkTypeId, QWidget *parent = nullptr);

    int checkTypeId() const { return m_checkTypeId; }
    QString currentName() const { return m_name; }

    void chooseTemplate(int index);
    void loadNames();
    void loadEntries();
    void addDictionary();
    void addEntry();
    void editEntry();
    // Stores pending edits and reads the entries again.
    void submitAndRefresh();
    void deleteEntry();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    int currentRow() const;
    // Stores new and changed entries; tells the user when that failed.
    bool submitPending();

    AppServices &m_services;
    int m_givenCheckTypeId;
    int m_checkTypeId = 0;
    QString m_name;
    QComboBox *m_checkTypes = nullptr;
    QListWidget *m_names = nullptr;
    QComboBox *m_newName = nullptr;
    QLabel *m_valueHave = nullptr;
    QCheckBox *m_common = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_entries = nullptr;
};
