// The 3D object list: a damaged file leaves the list empty; a good one gives a sorted list of
// distinct names that, written out again, reads back to the same list, and whose lookups agree
// with its order.
#include "catalogues/objectslist.h"
#include "fuzzcommon.h"
#include "platform/streams.h"

namespace {

QByteArray CatalogueFile(const std::vector<std::string>& names)
{
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(names.size()) + 1);
    writer.WriteInt32(0);
    for (const std::string& name : names) {
        writer.WriteInt32(static_cast<int32_t>(name.size()));
        writer.WriteString(name, false);
        writer.WriteInt32(0);
    }
    return writer.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    C3DObjectsList list(locale);
    list.Add("PREVIOUS");
    QString reason;
    if (!list.LoadFromBytes(fuzz::Bytes(data, size), &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(list.Count() == 0);
        return 0;
    }
    FUZZ_CHECK(size >= 8 || list.Count() == 0);

    C3DObjectsList again(locale);
    FUZZ_CHECK(again.LoadFromBytes(CatalogueFile(list.Names())));
    FUZZ_CHECK(again.Names() == list.Names());

    // Every name is found where it stands, and adding one that is present changes nothing.
    for (int32_t i = 0; i < list.Count() && i < 64; ++i) {
        const std::string name = list.NameOf(i);
        FUZZ_CHECK(list.IndexOf(name) == i);
        again.Add(name);
    }
    FUZZ_CHECK(again.Count() == list.Count());
    return 0;
}
