// The settings file: any content reads, writing it back is stable after the first time, and the
// symbol styles written into any file read back as written while the file's other sections keep
// their values.
#include "fuzzcommon.h"
#include "mapview/tarnconfig.h"
#include "platform/profile.h"

namespace {

bool SameStyles(const CTarnConfig& a, const CTarnConfig& b)
{
    for (int kind = 0; kind < 3; ++kind) {
        const SymbolStyle& x = a.Styles[kind];
        const SymbolStyle& y = b.Styles[kind];
        if (x.Shape != y.Shape || x.Size != y.Size || x.Color != y.Color)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    CProfileFile profile;
    profile.LoadBytes(input);
    const QByteArray once = profile.Bytes();
    CProfileFile again;
    again.LoadBytes(once);
    FUZZ_CHECK(again.Bytes() == once);

    // Numbers the file holds convert the same way the writer's own text would.
    for (const char* key : {"Shape", "Size", "Color"}) {
        if (const auto text = profile.Value("Keysite symbol", key)) {
            int32_t value = 0;
            if (ParseProfileInteger(*text, value)) {
                int32_t back = 0;
                FUZZ_CHECK(ParseProfileInteger(std::to_string(value), back) && back == value);
            }
        }
    }

    const QString path = fuzz::WriteScratchFile(QStringLiteral("settings.INI"), input);
    CTarnConfig config;
    FUZZ_CHECK(config.Load(path));
    // Something to write; wraps instead of overflowing.
    config.Styles[KeysiteKind].Size = int32_t(uint32_t(config.Styles[KeysiteKind].Size) + 1u);
    QString message;
    FUZZ_CHECK(config.Save(path, &message));
    CTarnConfig reread;
    FUZZ_CHECK(reread.Load(path));
    FUZZ_CHECK(SameStyles(config, reread));

    CProfileFile written;
    FUZZ_CHECK(written.Load(path));
    for (const char* section : {"Other", "Keysite symbol"}) {
        for (const char* key : {"Value", "Name", "Shapes"})
            FUZZ_CHECK(written.Value(section, key) == profile.Value(section, key));
    }
    return 0;
}
