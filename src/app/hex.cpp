#include "app/hex.h"

namespace kvl {

qint32 Hex(const QString &text)
{
    quint32 result = 0;
    for (const QChar c : text) {
        const int code = c.unicode();
        const int digit = code < 65 ? code - 48 : code - 55;
        result = result * 16u + static_cast<quint32>(digit);
    }
    return static_cast<qint32>(result);
}

} // namespace kvl
