// Template files (and Map BIN files used as template sources): an import that fails appends
// nothing; one that succeeds appends exactly the file's templates, unused, and they save and read
// back the same, also through files as the editor exports and imports them. The names an import
// reports as missing from the catalogue are exactly those its templates hold as missing.
#include "document/binfile.h"
#include "document/binformat.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    const C3DObjectsList& catalogue = fuzz::Catalogue();

    // One template in use by one keysite, as an open document would have.
    CBINFile doc(&catalogue, &fuzz::Types());
    FUZZ_CHECK(doc.LoadBytes(fuzz::Int32Bytes(1) + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(7) + fuzz::Int32Bytes(0)
                             + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(1) + fuzz::Int32Bytes(0) + QByteArray(8, '\0')
                             + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(0)));
    const QByteArray before = doc.SaveBytes(true);

    QString reason;
    if (!doc.ImportTemplateBytes(input, &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(doc.SaveBytes(true) == before);
        return 0;
    }
    FUZZ_CHECK(doc.KeysiteCount() == 1 && doc.Keysites()[0].TemplateNumber == 0);
    FUZZ_CHECK(doc.Templates()[0].UseCount == 1);
    for (int i = 1; i < doc.TemplateCount(); ++i)
        FUZZ_CHECK(doc.Templates()[static_cast<size_t>(i)].UseCount == 0);
    const CMissingNames& missing = doc.LastReadMissingNames();
    FUZZ_CHECK(missing.RecordCount() == fuzz::RecordsWithMissingNames(doc, 1));
    FUZZ_CHECK(missing.OfTemplates(1, doc.TemplateCount() - 1).RecordCount() == missing.RecordCount());

    // The editor's way: the imported templates exported to a file and imported from it.
    if (doc.TemplateCount() > 1) {
        const QString path = fuzz::Scratch().filePath(QStringLiteral("export.btp"));
        FUZZ_CHECK(doc.ExportTemplates(path, 1, doc.TemplateCount() - 1, &reason));
        CBINFile reimported(&catalogue, &fuzz::Types());
        FUZZ_CHECK(reimported.ImportTemplates(path, &reason));
        FUZZ_CHECK(reimported.TemplateCount() == doc.TemplateCount() - 1);
        const QByteArray exported = WriteTemplateList(catalogue, doc.Templates().subspan(1), true);
        FUZZ_CHECK(fuzz::ReadScratchFile(path) == exported);
        // The same file, followed by three empty record lists.
        FUZZ_CHECK(reimported.SaveBytes(true) == exported + QByteArray(12, '\0'));
    }

    CBINFile imported(&catalogue, &fuzz::Types());
    FUZZ_CHECK(imported.ImportTemplateBytes(input));
    FUZZ_CHECK(imported.TemplateCount() == doc.TemplateCount() - 1);
    const QByteArray saved = imported.SaveBytes(true);
    CBINFile again(&catalogue, &fuzz::Types());
    FUZZ_CHECK(again.ImportTemplateBytes(saved));
    FUZZ_CHECK(again.SaveBytes(true) == saved);
    return 0;
}
