#pragma once

#include <QPointF>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

// Words of a PDF as `pdftotext -bbox` reads them back, in millimetres from the page's top-left.
struct PdfWord
{
    QString text;
    double x;
    double y;
    double width = 0;
    double height = 0;
};

struct PdfPage
{
    QSizeF sizeMm;
    std::vector<PdfWord> words;
};

inline std::vector<PdfPage> readPdfWords(const QString &pdf)
{
    constexpr double kMmPerPoint = 25.4 / 72.0;
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    static const QRegularExpression tag(QString::fromLatin1(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" )re"
        R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<PdfPage> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty())
            pages.push_back(
                {QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) * kMmPerPoint, {}});
        else if (!pages.empty()) {
            const double x = m.captured(3).toDouble(), y = m.captured(4).toDouble();
            pages.back().words.push_back({m.captured(7), x * kMmPerPoint, y * kMmPerPoint,
                                          (m.captured(5).toDouble() - x) * kMmPerPoint,
                                          (m.captured(6).toDouble() - y) * kMmPerPoint});
        }
    }
    return pages;
}

// The page's words in reading order, joined by spaces.
inline QString pageText(const PdfPage &page)
{
    QStringList words;
    for (const PdfWord &w : page.words)
        words << w.text;
    return words.join(u' ');
}
