#include "document/recordlists.h"

QString RecordNoun(RecordList list) { return QLatin1String(InfoOf(list).Noun); }

QString CountedRecords(RecordList list, int count)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(RecordNoun(list), count == 1 ? QString() : QStringLiteral("s"));
}
