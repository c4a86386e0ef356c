#pragma once

#include <QDialog>

class AppServices;
class QPlainTextEdit;

// ImportLog.txt, opened with the desktop's program for text files; where none opens it, shown
// in a window of its own, so the clerk always gets to read why rows were skipped.
class ImportLogView : public QDialog
{
    Q_OBJECT
public:
    static void open(AppServices &services, QWidget *parent);

private:
    ImportLogView(const QString &path, QWidget *parent);

    QPlainTextEdit *m_text = nullptr;
};
