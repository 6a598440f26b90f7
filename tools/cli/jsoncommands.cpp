// The lossless JSON form on the command line: to-json and from-json.

#include "cli.h"
#include "commands.h"
#include "jsonwriter.h"

#include "document/jsonreader.h"
#include "document/recordjson.h"
#include "document/storedrecords.h"
#include "platform/atomicsave.h"
#include "platform/filelimits.h"
#include "platform/fileread.h"

#include <QFile>

namespace cli {

int RunToJson(const QStringList& argv)
{
    Arguments args(argv, {{QStringLiteral("--templates"), 0}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("to-json takes one file") : args.Error());
    StoredRecords records;
    if (!OpenStored(args.Positionals().first(), args.Has(QStringLiteral("--templates")), records))
        return Failure;
    CJsonWriter out;
    recordjson::Write(out, records);
    return Success;
}

int RunFromJson(const QStringList& argv)
{
    Arguments args(argv, {{QStringLiteral("--templates"), 0}});
    if (!args.Ok() || args.Positionals().size() != 2)
        return Usage(args.Ok() ? QStringLiteral("from-json takes FILE.json and OUT") : args.Error());
    const QString path = args.Positionals()[0];
    const QString out = args.Positionals()[1];
    const bool templateListOnly = args.Has(QStringLiteral("--templates"));
    const FileLimit& limit = templateListOnly ? FileLimits::TemplateSource : FileLimits::MapBin;
    // Its JSON is several times the size of a file: allow for the longest way of writing each record.
    const FileLimit textLimit{limit.Bytes * 8, "JSON form of a Map BIN file"};
    QString reason;
    if (!QFile::exists(path))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: no such file").arg(path));
    // Read as it goes: the records and the bytes written are all the memory a long form needs.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (!CheckFileLength(file, textLimit, &reason))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, reason));
    CJsonReader json(file, textLimit.Bytes,
                     QStringLiteral("the file holds more than %1 bytes; no %2 is longer")
                         .arg(textLimit.Bytes)
                         .arg(QLatin1String(textLimit.Kind)));
    StoredRecords records;
    int line = 1;
    if (!recordjson::Read(json, templateListOnly, records, line, reason))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(reason));
    file.close();
    const QByteArray bytes = records.Write();
    if (bytes.size() > limit.Bytes)
        return Fail(QStringLiteral("Open failed"),
                    QStringLiteral("%1: the records take %2 bytes, more than a %3 may hold (%4)")
                        .arg(path)
                        .arg(bytes.size())
                        .arg(QLatin1String(limit.Kind))
                        .arg(limit.Bytes));
    if (!SaveFileAtomically(out, bytes, &reason))
        return Fail(QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(out, reason));
    return Success;
}

} // namespace cli
