#include "print/TemplateVersion.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray TemplateVersion::toJson() const
{
    QJsonObject itemsJson;
    for (auto it = items.cbegin(); it != items.cend(); ++it)
        itemsJson.insert(it.key(), it->toJson());
    const QJsonObject calibrationJson{{"offsetX", calibration.offsetX},
                                      {"offsetY", calibration.offsetY},
                                      {"scaleX", calibration.scaleX},
                                      {"scaleY", calibration.scaleY},
                                      {"pageFeed", calibration.pageFeed}};
    // QJsonObject keeps its keys sorted: the text depends on the content alone.
    return QJsonDocument(QJsonObject{{"template", checkTypeId},
                                     {"xMove", xMove},
                                     {"yMove", yMove},
                                     {"paperWidth", paper.width()},
                                     {"paperHeight", paper.height()},
                                     {"landscape", landscape},
                                     {"cellWidth", cellWidth},
                                     {"items", itemsJson},
                                     {"printer", printer},
                                     {"calibration", calibrationJson}})
        .toJson(QJsonDocument::Compact);
}

std::optional<TemplateVersion> TemplateVersion::fromJson(const QByteArray &json)
{
    QJsonParseError parsed;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parsed);
    if (parsed.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    TemplateVersion v;
    v.checkTypeId = o.value("template").toInt();
    v.xMove = o.value("xMove").toInt();
    v.yMove = o.value("yMove").toInt();
    v.paper = QSize(o.value("paperWidth").toInt(), o.value("paperHeight").toInt());
    v.landscape = o.value("landscape").toBool();
    v.cellWidth = o.value("cellWidth").toInt();
    const QJsonObject itemsJson = o.value("items").toObject();
    for (auto it = itemsJson.begin(); it != itemsJson.end(); ++it)
        v.items.insert(it.key(), PrintItem::fromJson(it->toObject()));
    v.printer = o.value("printer").toString();
    const QJsonObject c = o.value("calibration").toObject();
    v.calibration = {c.value("offsetX").toDouble(), c.value("offsetY").toDouble(),
                     c.value("scaleX").toDouble(1), c.value("scaleY").toDouble(1),
                     c.value("pageFeed").toDouble(1)};
    if (v.checkTypeId <= 0 || v.paper.isEmpty())
        return std::nullopt;
    return v;
}

QByteArray TemplateVersion::fingerprint() const
{
    return QCryptographicHash::hash(toJson(), QCryptographicHash::Sha256).toHex();
}
