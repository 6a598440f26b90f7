// Template files (and Map BIN files used as template sources): an import that fails appends
// nothing; one that succeeds appends exactly the file's templates, unused, and they save and read
// back the same.
#include "document/binfile.h"
#include "fuzzcommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    const C3DObjectsList& catalogue = fuzz::Catalogue();

    // One template in use by one keysite, as an open document would have.
    CBINFile doc(&catalogue, &fuzz::Types());
    FUZZ_CHECK(doc.LoadBytes(fuzz::Int32Bytes(1) + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(7) + fuzz::Int32Bytes(0)
                             + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(1) + fuzz::Int32Bytes(0)
                             + QByteArray(8, '\0') + fuzz::Int32Bytes(0) + fuzz::Int32Bytes(0)));
    const QByteArray before = doc.SaveBytes(true);

    QString reason;
    if (!doc.ImportTemplateBytes(input, &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(doc.SaveBytes(true) == before);
        return 0;
    }
    FUZZ_CHECK(doc.KeysiteCount() == 1 && doc.Keysites[0]->Template == doc.Templates[0].get());
    FUZZ_CHECK(doc.Templates[0]->UseCount == 1);
    for (int i = 1; i < doc.TemplateCount(); ++i)
        FUZZ_CHECK(doc.Templates[static_cast<size_t>(i)]->UseCount == 0);

    CBINFile imported(&catalogue, &fuzz::Types());
    FUZZ_CHECK(imported.ImportTemplateBytes(input));
    FUZZ_CHECK(imported.TemplateCount() == doc.TemplateCount() - 1);
    const QByteArray saved = imported.SaveBytes(true);
    CBINFile again(&catalogue, &fuzz::Types());
    FUZZ_CHECK(again.ImportTemplateBytes(saved));
    FUZZ_CHECK(again.SaveBytes(true) == saved);
    return 0;
}
