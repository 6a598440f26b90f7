// Map BIN files from any source: whatever loads must save and load again to the same document,
// in both variants and through files as the editor saves and loads them, and a file that fails
// must leave the document it was loaded into as it was. The names a load reports as missing from
// the catalogue are exactly those its records hold as missing.
#include "document/binfile.h"
#include "fuzzcommon.h"

namespace {

// A document that already holds work: one template with an object, a keysite on it, an airbase
// and a SAM site.
const QByteArray& ExistingWork()
{
    static const QByteArray bytes = [] {
        QByteArray b = fuzz::Int32Bytes(-1) + fuzz::Int32Bytes(1) + fuzz::Int32Bytes(3);
        b += fuzz::Int32Bytes(0) + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(0);
        b += QByteArray(12, '\x01') + fuzz::Int32Bytes(4) + QByteArray("TANK");
        b += fuzz::Int32Bytes(1) + fuzz::Int32Bytes(0) + QByteArray(8, '\x02');
        b += fuzz::Int32Bytes(1) + QByteArray(8, '\x03') + fuzz::Int32Bytes(6) + QByteArray("HANGAR");
        b += fuzz::Int32Bytes(1) + QByteArray(8, '\x04');
        return b;
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    const C3DObjectsList& catalogue = fuzz::Catalogue();

    CBINFile kept(&catalogue, &fuzz::Types());
    FUZZ_CHECK(kept.LoadBytes(ExistingWork()));
    const QByteArray before = kept.SaveBytes(true);
    QString reason;
    const bool loaded = kept.LoadBytes(input, &reason);
    if (!loaded) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(kept.SaveBytes(true) == before);
        return 0;
    }
    // Every keysite names a template or none, and the use counts count exactly the keysites.
    std::vector<int32_t> uses(size_t(kept.TemplateCount()), 0);
    for (const CKeysitePlacement& keysite : kept.Keysites()) {
        FUZZ_CHECK(keysite.TemplateNumber >= -1 && keysite.TemplateNumber < kept.TemplateCount());
        if (keysite.TemplateNumber >= 0)
            ++uses[size_t(keysite.TemplateNumber)];
    }
    for (int t = 0; t < kept.TemplateCount(); ++t)
        FUZZ_CHECK(kept.Templates()[size_t(t)].UseCount == uses[size_t(t)]);

    // The editor's way: the file read in place of the document, saved atomically, read again.
    const QString path = fuzz::WriteScratchFile(QStringLiteral("campaign.bin"), input);
    CBINFile fromFile(&catalogue, &fuzz::Types());
    FUZZ_CHECK(fromFile.LoadBytes(ExistingWork()));
    FUZZ_CHECK(fromFile.LoadReplacing(path, &reason));
    const QByteArray fromFileBytes = fromFile.SaveBytes(true);
    const CMissingNames& missing = fromFile.LastReadMissingNames();
    FUZZ_CHECK(missing.RecordCount() == fuzz::RecordsWithMissingNames(fromFile));
    FUZZ_CHECK(missing.IsEmpty() == missing.Names().empty());
    const QString savedPath = fuzz::Scratch().filePath(QStringLiteral("saved.bin"));
    FUZZ_CHECK(fromFile.Save(savedPath, true, &reason));
    FUZZ_CHECK(fuzz::ReadScratchFile(savedPath) == fromFileBytes);
    CBINFile again(&catalogue, &fuzz::Types());
    FUZZ_CHECK(again.Load(savedPath, &reason));
    FUZZ_CHECK(again.SaveBytes(true) == fromFileBytes);

    for (const bool withRouteObjects : {true, false}) {
        CBINFile first(&catalogue, &fuzz::Types());
        FUZZ_CHECK(first.LoadBytes(input));
        const QByteArray saved = first.SaveBytes(withRouteObjects);
        FUZZ_CHECK(!withRouteObjects || saved == fromFileBytes);
        CBINFile second(&catalogue, &fuzz::Types());
        FUZZ_CHECK(second.LoadBytes(saved));
        FUZZ_CHECK(second.TemplateCount() == first.TemplateCount());
        FUZZ_CHECK(second.KeysiteCount() == first.KeysiteCount());
        FUZZ_CHECK(second.AirbaseCount() == first.AirbaseCount());
        FUZZ_CHECK(second.SamCount() == first.SamCount());
        FUZZ_CHECK(second.SaveBytes(withRouteObjects) == saved);
    }
    return 0;
}
