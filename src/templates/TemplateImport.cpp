#include "templates/TemplateImport.h"

#include "base/DataHome.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/TableSource.h"
#include "templates/Catalogue.h"
#include "templates/PictureFileChange.h"
#include "templates/TemplatePackage.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSqlError>
#include <QVariantMap>

namespace {

using Filter = TableSource::Filter;
namespace Package = TemplatePackage;

const QString kEnabled = QStringLiteral("启用");
const QString kDefault = QStringLiteral("默认");

// The part between the first opening and the last closing bracket.
QString describeOf(const QString &fullName)
{
    const qsizetype open = fullName.indexOf(QRegularExpression(QStringLiteral("[（(]")));
    const qsizetype close = fullName.lastIndexOf(QRegularExpression(QStringLiteral("[）)]")));
    return open >= 0 && close > open ? fullName.mid(open + 1, close - open - 1) : QString();
}

// Why the package's picture cannot be the template's picture, empty when it can.
QString pictureProblem(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    if (!bytes.startsWith("\xFF\xD8") || !reader.canRead())
        return QStringLiteral("模板图片不是JPEG图片");
    // A sound JPEG can still be more than a picture may take in memory.
    const QSize size = reader.size();
    const qint64 maxPixels = (qint64(QImageReader::allocationLimit()) << 20) / 4;
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        return QStringLiteral("模板图片太大：%1×%2 像素，最多 %3 万像素")
            .arg(size.width())
            .arg(size.height())
            .arg(maxPixels / 10000);
    if (reader.read().isNull())
        return u"模板图片已损坏，无法读取（" + reader.errorString() + u'）';
    return {};
}

// Inserts one row; the column names are ours, the values bound.
bool insertRow(QSqlQuery &q, const QString &table, const QVariantMap &row, QString *error)
{
    QStringList marks;
    for (qsizetype i = 0; i < row.size(); ++i)
        marks << QStringLiteral("?");
    if (execBound(q,
                  u"insert into " + table + u" (" + row.keys().join(u", ") + u") values (" +
                      marks.join(u", ") + u')',
                  row.values()))
        return true;
    *error = q.lastError().text();
    return false;
}

// A package value for one of our columns: integers must be numbers.
bool converted(const QString &column, const QVariant &value, QVariant *out, QString *error)
{
    if (!Package::isIntegerColumn(column)) {
        *out = value.isNull() ? QVariant() : QVariant(value.toString());
        return true;
    }
    if (Package::toInteger(value, out))
        return true;
    *error = u"字段 " + column + u" 的值不是数字：" + value.toString().left(40);
    return false;
}

} // namespace

TemplateImport::TemplateImport(Database &db, Catalogue &catalogue, const DataHome &home)
    : m_db(db)
    , m_catalogue(catalogue)
    , m_home(home)
{}

TemplateImport::~TemplateImport() = default;

bool TemplateImport::open(const QString &path, QString *error,
                          const ReaderProcess::Progress &progress)
{
    close();
    m_source = TableSource::open(path, error, progress);
    if (!m_source)
        return false;
    if (!m_source->hasTable(Package::kTemplates)) {
        *error = QStringLiteral("文件中没有票据模板表");
        m_source.reset();
        return false;
    }
    // Our own packages are SQLite files, checked whole before any row is read.
    if (TableSource::detectFile(path) == TableSource::Format::Sqlite &&
        !Package::checkColumns(*m_source, error)) {
        m_source.reset();
        return false;
    }
    m_version =
        m_source->hasTable(Package::kConfig) ? QStringLiteral("V928") : QStringLiteral("V927");
    return true;
}

void TemplateImport::close()
{
    m_source.reset();
    m_version.clear();
}

bool TemplateImport::templateNames(QStringList *names, QString *error) const
{
    names->clear();
    if (!m_source)
        return false;
    const bool read = m_source->forEachRow(
        Package::kTemplates, std::nullopt,
        [&](const SourceRow &row) {
            const QString name = row.value(QStringLiteral("TypeName")).toString();
            if (!name.trimmed().isEmpty())
                names->append(name);
            return names->size() <= kMaxTemplates;
        },
        error);
    if (read && names->size() > kMaxTemplates) {
        *error = QStringLiteral("票据包中的模板超过 %1 个").arg(kMaxTemplates);
        return false;
    }
    names->sort();
    return read;
}

QByteArray TemplateImport::picture(const QString &fullName) const
{
    QByteArray bytes;
    QString error;
    if (m_source)
        m_source->forEachRow(
            Package::kTemplates, Filter{QStringLiteral("TypeName"), fullName},
            [&](const SourceRow &row) {
                bytes = row.value(Package::kPictureColumn).toByteArray();
                return false;
            },
            &error);
    return bytes;
}

TemplateImport::Result TemplateImport::importOne(const QString &fullName)
{
    Result result;
    if (!m_source) {
        result.error = QStringLiteral("票据包没有打开");
        return result;
    }
    // Everything is read from the package and checked before the database is touched.
    QVariantMap values;
    QVariant packageId;
    QByteArray picture;
    bool found = false;
    QString conversionError;
    if (!m_source->forEachRow(
            Package::kTemplates, Filter{QStringLiteral("TypeName"), fullName},
            [&](const SourceRow &row) {
                found = true;
                packageId = row.value(QStringLiteral("CheckTypeID"));
                picture = row.value(Package::kPictureColumn).toByteArray();
                for (const QString &c : Package::templateColumns()) {
                    QVariant v;
                    if (!converted(c, row.value(c), &v, &conversionError))
                        return false;
                    values.insert(c, v);
                }
                return false;
            },
            &result.error))
        return result;
    if (!conversionError.isEmpty()) {
        result.error = conversionError;
        return result;
    }
    QVariant id;
    if (!found || !Package::toInteger(packageId, &id) || id.isNull() || id.toInt() == -1) {
        result.error = found ? QStringLiteral("模板编号无效") : QStringLiteral("找不到模板");
        return result;
    }
    QString kind = values.value("TypeFirstName").toString().trimmed();
    if (kind.isEmpty())
        kind = Catalogue::kindFromTypeName(fullName).trimmed();
    if (kind.isEmpty())
        return result;
    values["TypeName"] = fullName;
    values["TypeFirstName"] = kind;
    if (values.value("TypeDescribe").toString().isEmpty())
        values["TypeDescribe"] = describeOf(fullName);
    if (!picture.isEmpty()) {
        result.error = pictureProblem(picture);
        if (!result.error.isEmpty())
            return result;
    }

    std::vector<QVariantMap> items;
    if (m_version == u"V928" &&
        !m_source->forEachRow(
            Package::kItems, Filter{QStringLiteral("CheckTypeID"), id},
            [&](const SourceRow &row) {
                QVariantMap item;
                for (const QString &c : Package::itemColumns()) {
                    QVariant v;
                    if (!converted(c, Package::itemValue(c, row.value(c)), &v, &conversionError))
                        return false;
                    item.insert(c, v);
                }
                items.push_back(item);
                return true;
            },
            &result.error))
        return result;
    if (!conversionError.isEmpty()) {
        result.error = conversionError;
        return result;
    }

    std::vector<std::pair<QString, QString>> settings;
    if (m_version != u"V928")
        result.settingsError = QStringLiteral("票据包没有配置表");
    else
        m_source->forEachRow(
            Package::kConfig, Filter{QStringLiteral("CheckTypeId"), id},
            [&](const SourceRow &row) {
                settings.emplace_back(row.value(QStringLiteral("DMName")).toString(),
                                      row.value(QStringLiteral("DMValue")).toString());
                return true;
            },
            &result.settingsError);

    const QString code = Catalogue::getTypeCodeByTypeName(kind);
    PictureFileChange pictureFile;
    int target = 0;
    QString error;
    const bool stored = m_db.inNumberingTransaction(QStringLiteral("ckTypeTable"), [&] {
        QSqlQuery q = m_db.query();
        if (!execBound(
                q,
                QStringLiteral("select CheckTypeID, IsDefault from ckTypeTable where TypeName = ?"),
                {fullName})) {
            error = q.lastError().text();
            return false;
        }
        QList<QVariant> existing;
        // A template replaced while it is its kind's default stays the default: otherwise
        // every bill of the kind would complain that it has none.
        bool wasDefault = false;
        while (q.next()) {
            existing << q.value(0);
            wasDefault = wasDefault || q.value(1).toString() == kDefault;
        }
        if (!existing.isEmpty()) {
            target = existing.first().toInt();
            if (!execBound(q, QStringLiteral("delete from ckTypeTable where TypeName = ?"),
                           {fullName})) {
                error = q.lastError().text();
                return false;
            }
            for (const QVariant &old : existing)
                if (!execBound(q, QStringLiteral("delete from CKControl where CheckTypeID = ?"),
                               {old})) {
                    error = q.lastError().text();
                    return false;
                }
        } else {
            if (code.isEmpty())
                return false;
            if (!execBound(q, QStringLiteral("select max(CheckTypeID) from ckTypeTable")) ||
                !q.next()) {
                error = q.lastError().text();
                return false;
            }
            target = q.value(0).toInt() + 1;
        }
        const QString imgFile =
            (code.isEmpty() ? QStringLiteral("img") : code) + QString::number(target) + u".jpg";
        if (!picture.isEmpty() && !pictureFile.write(m_home.imageDir() + imgFile, picture, &error))
            return false;
        QVariantMap row = values;
        row["CheckTypeID"] = target;
        row["ImgFile"] = imgFile;
        row["Visiable"] = kEnabled;
        row["IsCommon"] = QStringLiteral("是");
        row["ShowOrd"] = 0;
        row["IsDefault"] = wasDefault ? kDefault : QStringLiteral("0");
        if (!insertRow(q, QStringLiteral("ckTypeTable"), row, &error))
            return false;
        for (QVariantMap item : items) {
            item["CheckTypeID"] = target;
            if (!insertRow(q, QStringLiteral("CKControl"), item, &error))
                return false;
        }
        if (result.settingsError.isEmpty()) {
            if (!execBound(q, QStringLiteral("delete from DMTable where CheckTypeID = ?"),
                           {target})) {
                error = q.lastError().text();
                return false;
            }
            for (const auto &[name, value] : settings)
                if (!insertRow(q, QStringLiteral("DMTable"),
                               {{"DMName", name}, {"DMValue", value}, {"CheckTypeID", target}},
                               &error))
                    return false;
        }
        return true;
    });
    if (!stored) {
        pictureFile.undo();
        result.error = error.isEmpty() && code.isEmpty() ? QString()
                       : error.isEmpty()                 ? m_db.connection().lastError().text()
                                                         : error;
        return result;
    }
    pictureFile.keep();
    // The layout cache of the identifier is rebuilt from the new rows on the next open.
    QFile::remove(m_catalogue.layoutCachePath(target));
    result.imported = true;
    result.checkTypeId = target;
    result.kind = kind;
    return result;
}

QStringList TemplateImport::giveKindsADefault(const QStringList &kinds)
{
    QStringList made;
    QSqlQuery q = m_db.query();
    for (const QString &kind : kinds) {
        if (!execBound(q,
                       QStringLiteral("select 1 from ckTypeTable where TypeFirstName = ? and "
                                      "IsDefault = ?"),
                       {kind, kDefault}) ||
            q.next())
            continue;
        if (!execBound(q,
                       QStringLiteral("select CheckTypeID, TypeName from ckTypeTable where "
                                      "TypeFirstName = ? and Visiable = ? order by CheckTypeID"),
                       {kind, kEnabled}) ||
            !q.next())
            continue;
        const QVariant id = q.value(0);
        const QString name = q.value(1).toString();
        if (execBound(q,
                      QStringLiteral("update ckTypeTable set IsDefault = ?, IsCommon = '是' where "
                                     "CheckTypeID = ?"),
                      {kDefault, id}))
            made << name;
    }
    return made;
}
