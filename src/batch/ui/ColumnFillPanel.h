#pragma once

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QSqlRecord;
class Ui;

// The panel under a batch list that rewrites one column of the listed rows as the join of up
// to three parts, each a column ("@名称"), a fixed text or nothing. The window that shows it
// decides which rows change and what it says afterwards.
class ColumnFillPanel : public QWidget
{
    Q_OBJECT
public:
    // What tells the two lists' panels apart: object names, captions and tips.
    struct Face
    {
        const char *panelName;
        bool editableTarget;
        const char *clearName;
        QString clearCaption;
        const char *applyName;
        QString applyCaption;
        const char *closeName;
        QString closeCaption;
        QStringList tips;
        bool resultLine = false; // a line under the boxes that says how the last change went
    };

    ColumnFillPanel(const Face &face, QWidget *parent);

    // Empties the four boxes and offers `columns` (each "@名称") in all of them, with the usual
    // fixed texts before them in the first and last part.
    void offerColumns(const QStringList &columns);
    // The choices for a list's columns: every column but the key, as "@名称".
    static QStringList columnChoices(const QSqlRecord &record);
    // The column to rewrite, without its "@", once the clerk has chosen one and, when every
    // part is empty, agreed to empty it; empty otherwise (the clerk was told why).
    QString confirmedTarget(Ui &ui);
    // The three parts as typed.
    QStringList parts() const;
    void showResult(const QString &text);

    QComboBox *targetBox() const { return m_target; }
    QComboBox *firstPart() const { return m_parts[0]; }

Q_SIGNALS:
    void applyClicked();

private:
    QComboBox *m_target = nullptr;
    QComboBox *m_parts[3] = {};
    QCheckBox *m_clear = nullptr;
    QLabel *m_result = nullptr;
};
