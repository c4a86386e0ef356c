#include "base/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Gbk {

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

int gbkLength(const QString &text)
{
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isLowSurrogate())
            continue; // the pair already counted at its high half
        length += c.unicode() < 0x80 ? 1 : 2;
    }
    return length;
}

} // namespace Gbk
