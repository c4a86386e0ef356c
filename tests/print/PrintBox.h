#pragma once

#include "PdfWords.h"
#include "templates/Catalogue.h"
#include "templates/TemplateModel.h"

#include <QRectF>
#include <gtest/gtest.h>

// An item's printed box on the paper as the template's numbers give it (its print position
// plus the whole-slip offset, its size), in millimetres with a millimetre to spare.
inline QRectF printBox(const Catalogue &catalogue, int templateId, const char *item)
{
    const auto t = catalogue.loadTemplate(templateId);
    const auto i = catalogue.loadTemplateItem(templateId, QString::fromLatin1(item));
    EXPECT_TRUE(t && i) << item;
    if (!t || !i)
        return {};
    return QRectF((i->ctlX + t->xMove) / 10.0, (i->ctlY + t->yMove) / 10.0, i->ctlW / 10.0,
                  i->ctlH / 10.0)
        .adjusted(-1, -1, 1, 1);
}

// Whether `text` is printed on the page, whole inside the box.
inline bool printedIn(const PdfPage &page, const QRectF &box, const QString &text)
{
    for (const PdfWord &w : page.words)
        if (w.text == text && box.contains(QRectF(w.x, w.y, w.width, w.height)))
            return true;
    return false;
}
