#pragma once

#include <QDialog>

class AppServices;
class QListWidget;
class QTableView;

// Choosing which columns of a list are shown; applying also remembers the widths.
class TfrmGridConfig : public QDialog
{
    Q_OBJECT
public:
    TfrmGridConfig(AppServices &services, QTableView &grid, QString section,
                   QWidget *parent = nullptr);

    void apply();

protected:
    void done(int result) override;

private:
    void fillLists();
    // Moves the selected entries, walking the source from its end as the old dialog did, so
    // they arrive in reverse order.
    static void moveSelected(QListWidget *from, QListWidget *to);

    AppServices &m_services;
    QTableView &m_grid;
    QString m_section;
    QListWidget *m_show;
    QListWidget *m_hide;
};
