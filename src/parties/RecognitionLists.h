#pragma once

#include "parties/AddressRecognizer.h"

#include <QString>
#include <QStringList>
#include <vector>

class Database;

// What the address recognition window keeps in the database: the user's "其他字符"
// replacements and the remark values offered under the result.
class RecognitionLists
{
public:
    static inline const QString kReplacementType = QStringLiteral("其他字符");

    explicit RecognitionLists(Database &db);

    // The replacements in stored order; none on a database failure.
    std::vector<TextReplacement> otherCharReplacements() const;

    // The tabs of the remark list: dictionary values, goods and remarks of saved slips.
    enum class Source { Dictionary, HistoryGoods, HistoryRemarks };
    static constexpr int kMaxListed = 200;
    QStringList remarkValues(Source source) const;

    enum class Saved { Added, Exists, Failed };
    // Stores a remark as a shared "附注内容" dictionary value, unless some remark, goods or
    // "附注内容" value already reads the same.
    Saved saveRemark(const QString &remark);

private:
    Database &m_db;
};
