#pragma once

#include "templates/TemplateManager.h"

#include <QDialog>

class AppServices;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTabBar;
class QTableView;

// Template management: lists the templates by state and kind, and hides, enables, marks
// common, makes default, clones, renames and deletes them.
class TfrmCheckTypeMng : public QDialog
{
    Q_OBJECT
public:
    // The list starts filtered to the kind of `checkTypeId` when it is above 0.
    TfrmCheckTypeMng(AppServices &services, int checkTypeId, QWidget *parent = nullptr);
    ~TfrmCheckTypeMng() override;

    void listTemplates();
    void setToDefault();
    void setCommon(bool common);
    void setSelectedShown(bool visible);
    void deleteSelected();
    void cloneCurrent();
    void renameCurrent();
    void openImport();
    void openDesign();
    void showCurrentPicture();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPopupMenu();
    void updateButtons();
    void kindFilterChanged();
    void showAllTemplates();
    void search();
    void showTab(TemplateManager::Tab tab);
    int currentId() const;
    QList<int> selectedIds() const;
    // Asks for a new description; empty when the user cancelled, left it unchanged, or typed
    // nothing usable (told) or a name the kind already has (told).
    QString askNewDescribe(const QString &prompt, const QString &current, const QString &kind);
    void changed();

    AppServices &m_services;
    TemplateManager m_manager;
    QString m_connectionName;
    int m_startTemplate = 0;
    QTabBar *m_tabs = nullptr;
    QComboBox *m_kinds = nullptr;
    QLineEdit *m_key = nullptr;
    QTableView *m_grid = nullptr;
    QSqlQueryModel *m_model = nullptr;
    QPushButton *m_default = nullptr;
    QPushButton *m_common = nullptr;
    QPushButton *m_noCommon = nullptr;
    QPushButton *m_hide = nullptr;
    QPushButton *m_show = nullptr;
    QPushButton *m_delete = nullptr;
    QMenu *m_popup = nullptr;
    QAction *m_designAction = nullptr;
    QAction *m_cloneAction = nullptr;
    QAction *m_renameAction = nullptr;
};
