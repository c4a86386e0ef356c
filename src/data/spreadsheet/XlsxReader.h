#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

#include <QBuffer>
#include <QHash>
#include <memory>

class QuaZip;
class QXmlStreamReader;

// Office Open XML workbooks (.xlsx): the zip package is read with QuaZip, each part is
// checked whole and then parsed with QXmlStreamReader.
class XlsxReader : public SpreadsheetReader
{
public:
    explicit XlsxReader(QString path);
    // A workbook held in memory; `name` only names it in messages.
    XlsxReader(QString name, QByteArray data);
    ~XlsxReader() override;

protected:
    int readWorkbook(QStringList &sheetNames, Fault &fault) override;
    bool readSheet(int index, Rows &rows, Fault &fault) override;

private:
    // How a number cell is shown, from its style's number format.
    enum class Shown : char { Number, Date, DateTime, Time };

    bool readPart(const QString &part, QByteArray &bytes);
    QHash<QString, QString> readRelations(const QString &part, QString *sharedStrings,
                                          QString *styles);
    bool readSharedStrings(const QString &part, Fault &fault);
    bool readStyles(const QString &part);
    bool readCells(QXmlStreamReader &xml, Rows &rows, Fault &fault);
    QString valueText(QStringView type, int style, const QString &value, const QString &inlineText,
                      bool &ok) const;

    static Shown shownByFormat(int id, QString code);
    QString serialText(double serial, Shown shown) const;

    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    QStringList m_sheetParts;
    QStringList m_sharedStrings;
    std::vector<Shown> m_styles;
    bool m_date1904 = false;
    bool m_partTooLarge = false;
};
