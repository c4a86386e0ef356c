#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "打印机整体偏移参数适配": takes the whole-slip offset and feed direction of a preset printer
// model, lets the user adjust them and applies them to every template.
class TfrmPrinterParam : public QDialog
{
    Q_OBJECT
public:
    // With a printer name, the choice of the user's printer is fixed to it.
    explicit TfrmPrinterParam(AppServices &services, const QString &printer = {},
                              QWidget *parent = nullptr);

    void btApplyClick();

private:
    void loadPreset(const QString &model);
    void choosePreset(const QString &model);

    AppServices &m_services;
    QComboBox *m_presets = nullptr;
    QLineEdit *m_presetX = nullptr;
    QLineEdit *m_presetY = nullptr;
    QLineEdit *m_presetBoard = nullptr;
    QComboBox *m_presetDirection = nullptr;
    QLabel *m_picture = nullptr;
    QComboBox *m_printers = nullptr;
    QLineEdit *m_model = nullptr;
    QLineEdit *m_board = nullptr;
    QSpinBox *m_x = nullptr;
    QSpinBox *m_y = nullptr;
    QComboBox *m_direction = nullptr;
};
