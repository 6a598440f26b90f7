// Wine registry texts and Steam library lists from any source: the reader ends, never gives a
// value longer than the text it came from, and reads the same whatever the line endings.
#include "fuzzcommon.h"
#include "platform/wineprefixes.h"
#include "platform/wineregistry.h"

#include <QBuffer>

namespace {

RegistryRead Read(const QByteArray& text, QString& value)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ReadWineRegistryValue(buffer, InstallationKeys(), QStringLiteral("INSTALLATION PATH"), value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    QString value;
    const RegistryRead read = Read(input, value);
    if (read == RegistryRead::Found)
        FUZZ_CHECK(value.size() <= input.size());

    QByteArray crlf = input;
    crlf.replace("\n", "\r\n");
    QString again;
    FUZZ_CHECK(Read(crlf, again) == read);
    FUZZ_CHECK(again == value);

    for (const QString& folder : LibraryFoldersFromVdf(input))
        FUZZ_CHECK(!folder.isEmpty() && folder.size() <= input.size());
    return 0;
}
