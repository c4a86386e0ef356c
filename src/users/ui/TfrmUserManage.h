#pragma once

#include <QDialog>

class AppServices;
class QDataWidgetMapper;
class QLineEdit;
class QSqlTableModel;
class QTableView;

// The operator list: add, edit, delete, reset and change passwords.
class TfrmUserManage : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUserManage(AppServices &services, QWidget *parent = nullptr);

    void addUser();
    // Stores the pending edits and lists again.
    bool submit();
    void deleteSelected();
    void resetSelected();
    void modifyPassword();

private:
    QList<int> selectedIds() const;
    void reopen();

    AppServices &m_services;
    QSqlTableModel *m_model = nullptr;
    QDataWidgetMapper *m_mapper = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_name = nullptr;
};
