#pragma once

#include "print/PrintItem.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

class Database;

// One printable item of a template as the designer paints and edits it.
struct DesignerItem
{
    QString ctlName;
    QString ctlCName;
    QString label;  // NameDict.CtlLabel
    QString sample; // NameDict.CtlData
    QString groups;
    PrintItem print; // read exactly as the print engine reads it
    int ctlW = 0;    // print area, 0.1 mm; 0: not measured yet
    int ctlH = 0;
    int srcW = 0; // on-screen box, pixels
    int srcH = 0;
    bool needPrint = false;
    QString initValue;

    // The sample text, or the label when there is none; an item without either is not painted.
    QString displayText() const;
};

// The outcome of one designer write, with the text the window shows for it.
struct StoreOutcome
{
    enum class Result { Stored, Unchanged, NoRow, Duplicate, Refused, Failed };
    StoreOutcome(Result r = Result::Unchanged, QString text = {}, int count = 0)
        : result(r)
        , message(std::move(text))
        , changed(count)
    {}

    Result result = Result::Unchanged;
    QString message;
    int changed = 0;     // rows changed by a batch
    QStringList skipped; // items a decrease left alone
    bool ok() const { return result == Result::Stored || result == Result::Unchanged; }
};

// The database side of the template designer: every edit is one bound statement per column of
// one item, and an edit of several items runs in one transaction, so either all of them change
// or none does.
class DesignerStore
{
public:
    DesignerStore(Database &db, int checkTypeId, QString kind);

    int checkTypeId() const { return m_id; }
    const QString &kind() const { return m_kind; }

    // Printable items of the template, dictionary order; only `ctlName` when given. nullopt and
    // *error on a database failure.
    std::optional<std::vector<DesignerItem>> loadItems(QString *error,
                                                       const QString &ctlName = {}) const;
    // Entries of the list "可用的": CtlCName "=" CtlName, highest ShowOrd first.
    std::optional<QStringList> loadAvailableNames(QString *error) const;
    // The kind's designer groups; names of a group (or of labels matching a pattern with "*").
    std::optional<QStringList> loadGroups(QString *error) const;
    std::optional<QStringList> loadGroupItems(const QString &group, QString *error) const;
    QString labelOf(const QString &ctlName) const;

    // The column names the designer may write; anything else is refused.
    static bool isItemColumn(const QString &column);
    using ColumnValues = QList<std::pair<QString, QVariant>>;
    // One column of one item, written only when its text differs from what is stored.
    StoreOutcome storeColumn(const QString &ctlName, const QString &column, const QVariant &value);
    // Several columns of one item in one statement: all stored or none.
    StoreOutcome storeColumns(const QString &ctlName, const ColumnValues &values);
    // column = column + delta for every item; each statement must change exactly one row.
    StoreOutcome moveItems(const QStringList &names, const QString &column, int delta);
    // One value for every item.
    StoreOutcome setAll(const QStringList &names, const QString &column, const QVariant &value);
    // column + step for every item; a negative step only changes items whose value is greater
    // than the step, and lists the others in `skipped`.
    StoreOutcome stepAll(const QStringList &names, const QString &column, int step);
    // First item's value + k × increment for the k-th further item.
    StoreOutcome spread(const QStringList &names, const QString &column, int increment);
    // Largest or smallest value of the items; 0 when none has a row.
    std::optional<int> extreme(const QStringList &names, const QString &column, bool largest,
                               QString *error) const;
    // The kind's sample text of one item; shows in every template of the kind.
    StoreOutcome updateSample(const QString &ctlName, const QString &text);

    // CtlX and CtlY of several items at once (tenths), every item or none.
    StoreOutcome storePositions(const QList<std::pair<QString, QPoint>> &places);
    // The designer's columns of some items as stored, by item: what an undo step writes back.
    using Snapshot = QList<std::pair<QString, ColumnValues>>;
    std::optional<Snapshot> snapshot(const QStringList &names, QString *error) const;
    // Writes a snapshot back, every item or none.
    StoreOutcome restore(const Snapshot &snapshot);

    // Paper size from the boxes, in centimetres; refused beyond 30.00 × 32.00 cm.
    StoreOutcome savePaperSize(const QString &widthCm, const QString &heightCm);

private:
    StoreOutcome batch(const QStringList &names,
                       const std::function<bool(const QString &name, StoreOutcome &out)> &each);

    Database &m_db;
    int m_id;
    QString m_kind;
};
