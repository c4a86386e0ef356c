#pragma once

#include "data/spreadsheet/SpreadsheetReader.h"

#include <QBuffer>
#include <QHash>
#include <functional>
#include <memory>

class QuaZip;
class QXmlStreamReader;

// Office Open XML workbooks (.xlsx): the zip package is read with QuaZip, each part parsed
// with QXmlStreamReader as it is unpacked.
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

    // Runs `parse` over a part; false when the part is missing, damaged, beyond the limits
    // (m_partTooLarge) or `parse` answers false.
    bool parsePart(const QString &part, const std::function<bool(QXmlStreamReader &)> &parse);
    QHash<QString, QString> readRelations(const QString &part, QString *sharedStrings,
                                          QString *styles);
    static void readRelationList(QXmlStreamReader &xml, const QString &folder,
                                 QHash<QString, QString> &targets, QString *sharedStrings,
                                 QString *styles);
    bool readSheetList(QXmlStreamReader &xml, const QHash<QString, QString> &targets,
                       QStringList &sheetNames, int &active);
    bool readSharedStrings(const QString &part, Fault &fault);
    bool readStringList(QXmlStreamReader &xml, Fault &fault);
    bool readStyles(const QString &part);
    bool readStyleList(QXmlStreamReader &xml);
    bool readCells(QXmlStreamReader &xml, Rows &rows, Fault &fault);
    QString valueText(QStringView type, int style, const QString &value, const QString &inlineText,
                      bool &ok) const;

    static Shown shownByFormat(int id, QString code);
    QString serialText(double serial, Shown shown) const;

    QBuffer m_buffer;
    std::unique_ptr<QuaZip> m_zip;
    QStringList m_sheetParts;
    std::vector<Shown> m_styles;
    bool m_date1904 = false;
    bool m_partTooLarge = false;
};
