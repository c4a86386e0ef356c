#pragma once

#include <QDialog>

class Ui;
class QComboBox;
class QLabel;
class QPushButton;
class QRegularExpressionValidator;

// The one-value prompt: a caption, a value field with a preset list and key filters by value
// type, OK and Cancel. The value is empty unless the user confirmed a non-blank one.
class TfrmInputValue : public QDialog
{
    Q_OBJECT
public:
    enum class ValueType { Integer, Decimal, Text };

    // "INT"/"INTEGER" and "FLOAT"/"REAL"/"DOUBLE" (trimmed, any case); anything else is text.
    static ValueType valueTypeOf(const QString &type);

    explicit TfrmInputValue(Ui &ui, QWidget *parent = nullptr);

    void setPrompt(const QString &prompt);
    void setDefaultValue(const QString &value);
    void setValueType(const QString &type);
    QString value() const;

    void btOKClick();
    void btCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // False when the key must be dropped for the value type; shows or clears the hint.
    bool filterKey(const QKeyEvent &key);

    Ui &m_ui;
    QLabel *Label1;
    QComboBox *edtValue;
    QLabel *lbMessage;
    QPushButton *btOK;
    QPushButton *btCancel;
    QRegularExpressionValidator *m_validator;
    ValueType m_valueType = ValueType::Text;
    bool m_confirmed = false;
};
