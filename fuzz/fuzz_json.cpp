// The JSON form of Map BIN files (sablemap-cli from-json) from any source: the reader ends, reads
// the same whether the text is all in memory or comes a few bytes at a time, and what it accepts
// is written, read back and written again to the same bytes and the same JSON.
#include "fuzzcommon.h"

#include "document/jsonreader.h"
#include "document/recordjson.h"
#include "document/storedrecords.h"
#include "platform/streams.h"

#include <QBuffer>
#include <algorithm>

namespace {

// Gives at most a few bytes per read, so that every value is cut somewhere between two reads.
class CTrickle : public QBuffer {
public:
    CTrickle(const QByteArray& bytes, qint64 step) : m_step(step)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char* data, qint64 most) override { return QBuffer::readData(data, std::min(most, m_step)); }

private:
    qint64 m_step;
};

struct Outcome {
    bool Ok = false;
    int Line = 0;
    QString Error;
    QByteArray Bytes;
};

Outcome Read(CJsonReader& json, bool templateListOnly)
{
    Outcome outcome;
    StoredRecords records;
    outcome.Ok = recordjson::Read(json, templateListOnly, records, outcome.Line, outcome.Error);
    if (outcome.Ok)
        outcome.Bytes = records.Write();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the form and how the text trickles in.
    const bool templateListOnly = (data[0] & 1) != 0;
    const qint64 step = 1 + (data[0] >> 1) % 7;
    const QByteArray text = fuzz::Bytes(data + 1, size - 1);

    CJsonReader whole(text);
    const Outcome read = Read(whole, templateListOnly);
    CTrickle device(text, step);
    CJsonReader trickled(device, text.size(), QStringLiteral("too long"));
    const Outcome again = Read(trickled, templateListOnly);
    FUZZ_CHECK(again.Ok == read.Ok);
    FUZZ_CHECK(again.Line == read.Line);
    FUZZ_CHECK(again.Error == read.Error);
    FUZZ_CHECK(again.Bytes == read.Bytes);
    if (!read.Ok) {
        FUZZ_CHECK(!read.Error.isEmpty() && read.Line >= 1);
        // A message shows a line's worth of what it quotes, whatever the text held.
        FUZZ_CHECK(read.Error.size() <= 400);
        return 0;
    }

    // Accepted: the bytes read back to the same records, whose JSON reads back to the same bytes.
    CByteReader bytes(read.Bytes);
    StoredRecords stored;
    FUZZ_CHECK(ReadStoredRecords(bytes, templateListOnly, stored));
    FUZZ_CHECK(stored.Write() == read.Bytes);
    const QByteArray printedText = recordjson::Text(stored);
    CJsonReader printed(printedText);
    const Outcome back = Read(printed, templateListOnly);
    FUZZ_CHECK(back.Ok);
    FUZZ_CHECK(back.Bytes == read.Bytes);
    return 0;
}
