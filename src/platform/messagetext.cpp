#include "platform/messagetext.h"

QString MessageText::Shortened(QStringView text, qsizetype most)
{
    if (text.size() <= most)
        return text.toString();
    qsizetype kept = most > 1 ? most - 1 : 0;
    if (kept > 0 && text[kept - 1].isHighSurrogate())
        --kept;
    return text.left(kept).toString() + QChar(0x2026);
}
