#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <QXmlStreamWriter>
#include <vector>

// Writes one worksheet to an .xlsx file: a bold title row, then rows of text cells, all in
// font size 9, with the columns fitted to their contents. Cells are text, so long digit
// strings (accounts, waybill numbers) keep every digit, except in the columns a row names as
// numbers (amounts), whose plain decimals are numbers a spreadsheet can add up. The workbook goes
// to a temporary file beside the target and replaces it only when save() succeeds, so a failed
// export never leaves a half-written file or spoils an earlier one.
//
// The package is written with QuaZip, which the reader uses too: the xlsx writing library
// carries its own zip functions under the same names, and with both in one process one of
// them calls the other's and crashes.
class XlsxWriter
{
public:
    explicit XlsxWriter(QString path);
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter &) = delete;
    XlsxWriter &operator=(const XlsxWriter &) = delete;

    const QString &path() const { return m_path; }
    bool isOpen() const { return !m_partPath.isEmpty(); }
    // Why the last step failed.
    const QString &error() const { return m_error; }

    bool addTitleRow(const QStringList &titles);
    // `numberColumns`: indices, from 0, of the columns that hold numbers.
    bool addRow(const QStringList &values, const QList<int> &numberColumns = {});
    int rowCount() const { return m_row; }

    bool save();

private:
    enum Style { Text = 1, Title = 2, Number = 3 }; // cell formats of styles.xml
    bool writeRow(const QStringList &values, Style style, const QList<int> &numberColumns = {});
    bool writePackage(const QString &zipPath);
    QByteArray sheetHead() const;
    bool writeSheet(QIODevice &out);
    void discard();

    QString m_path;
    QString m_partPath;
    // The rows go to a scratch file as they come, so a long export does not fill the memory;
    // the column widths, which come first in the sheet, are known only at the end.
    QTemporaryFile m_rows;
    QXmlStreamWriter m_xml;
    std::vector<int> m_widths; // widest line of each column, in half-width characters
    int m_row = 0;
    QString m_error;
};
