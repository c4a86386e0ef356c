#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;

// Province and city codes: the "省市" rows behind every province and city picker.
class TfrmSsSet : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSsSet(AppServices &services, QWidget *parent = nullptr);

    // Fills the province picker, chooses the first province and lists its cities.
    void reload();
    void listCities();
    void startAdd();
    void startModify();
    void confirm();
    void cancelEdit();
    void deleteCity();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class Mode { None, Add, Modify };

    void buildLayout();
    QString selectedCity() const;
    void openPanel(Mode mode, const QString &city);
    void closePanel();
    void chooseProvince(const QString &province);

    AppServices &m_services;
    Mode m_mode = Mode::None;
    QString m_oldCity;
    QComboBox *m_provinces = nullptr;
    QListWidget *m_cities = nullptr;
    QLabel *m_selected = nullptr;
    QWidget *m_pickers = nullptr;
    QFrame *m_panel = nullptr;
    QLineEdit *m_newProvince = nullptr;
    QLineEdit *m_newCity = nullptr;
};
