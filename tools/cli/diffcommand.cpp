// diff: the records two Map BIN files differ in, as a modder reviews them.

#include "cli.h"
#include "commands.h"

#include "catalogues/objectslist.h"
#include "document/numbertext.h"
#include "document/recordjson.h"
#include "document/storedrecords.h"
#include "platform/ansitext.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace cli {

namespace {

// Floats as the grids show them; two values that look alike there (0 and -0, NaNs) in full.
std::pair<QString, QString> FloatPair(float a, float b)
{
    QString ta = FloatText(a, QLatin1Char('.'));
    QString tb = FloatText(b, QLatin1Char('.'));
    if (ta == tb) {
        ta = QString::fromStdString(recordjson::FloatText(a)).remove(QLatin1Char('"'));
        tb = QString::fromStdString(recordjson::FloatText(b)).remove(QLatin1Char('"'));
    }
    return {ta, tb};
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

uint32_t Bits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

// Mixes one more value into a hash (the finaliser of a 64-bit multiplicative hash).
uint64_t Mix(uint64_t hash, uint64_t value)
{
    hash ^= value + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return hash;
}

// One side of the comparison: its records, and each name as the comparison sees it.
struct Side {
    StoredRecords Records;
    // By the records' object indices: the name's number among the names of both sides, names the
    // comparison takes alike sharing one.
    std::vector<uint32_t> NameIds;

    static constexpr uint32_t kNone = UINT32_MAX;
    uint32_t NameId(int32_t index) const
    {
        return index >= 0 && static_cast<size_t>(index) < NameIds.size() ? NameIds[static_cast<size_t>(index)] : kNone;
    }
    QString Shown(int32_t index) const
    {
        return index == NoObjectIndex ? QStringLiteral("none")
                                      : QLatin1Char('"') + AnsiToQString(Records.NameOf(index)) + QLatin1Char('"');
    }
    bool SameTemplate(const CPopTemplate& mine, const Side& other, const CPopTemplate& theirs) const
    {
        if (mine.TypeCode != theirs.TypeCode
            || NameId(mine.ApproximationObject) != other.NameId(theirs.ApproximationObject)
            || NameId(mine.BaseObject) != other.NameId(theirs.BaseObject)
            || NameId(mine.RouteObject) != other.NameId(theirs.RouteObject)
            || mine.Objects.size() != theirs.Objects.size())
            return false;
        for (size_t o = 0; o < mine.Objects.size(); ++o) {
            const CThreeDObject& a = mine.Objects[o];
            const CThreeDObject& b = theirs.Objects[o];
            if (!SameBits(a.X, b.X) || !SameBits(a.Z, b.Z) || !SameBits(a.Heading, b.Heading)
                || NameId(a.ObjectIndex) != other.NameId(b.ObjectIndex))
                return false;
        }
        return true;
    }
    uint64_t TemplateHash(const CPopTemplate& tmpl) const
    {
        uint64_t hash = Mix(static_cast<uint32_t>(tmpl.TypeCode), NameId(tmpl.ApproximationObject));
        hash = Mix(hash, (uint64_t(NameId(tmpl.BaseObject)) << 32) | NameId(tmpl.RouteObject));
        for (const CThreeDObject& object : tmpl.Objects) {
            hash = Mix(hash, (uint64_t(Bits(object.X)) << 32) | Bits(object.Z));
            hash = Mix(hash, (uint64_t(Bits(object.Heading)) << 32) | NameId(object.ObjectIndex));
        }
        return hash;
    }
};

// Numbers the names of both sides; with a catalogue, names the editor would save alike (another
// letter case) get the number of the catalogue's name.
void NumberNames(Side& a, Side& b, const C3DObjectsList* catalogue)
{
    std::unordered_map<std::string_view, uint32_t> numbers;
    for (Side* side : {&a, &b}) {
        side->NameIds.clear();
        side->NameIds.reserve(side->Records.Names.size());
        for (const std::string& name : side->Records.Names) {
            std::string_view seen = name;
            if (catalogue) {
                const int32_t known = catalogue->IndexOf(seen.substr(0, std::min(seen.size(), seen.find('\0'))));
                if (known >= 0)
                    seen = catalogue->NameOf(known);
            }
            side->NameIds.push_back(numbers.try_emplace(seen, static_cast<uint32_t>(numbers.size())).first->second);
        }
    }
}

// For each record of A, its partner in B or -1, and the reverse: records with equal keys pair in
// file order; what is left pairs with the record of the same number on the other side, if that is
// left too (a record edited in place).
struct Pairing {
    std::vector<int32_t> OfA, OfB;
};

// The records of A not yet paired, by key: an open-addressed table of each key's first record, the
// others chained in file order, so that a file of millions of records costs two arrays and no
// allocation per record.
class CWaiting {
public:
    explicit CWaiting(const std::vector<uint64_t>& keys) : m_next(keys.size(), -1)
    {
        size_t capacity = 16;
        while (capacity < keys.size() * 2)
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
        m_mask = capacity - 1;
        for (size_t a = keys.size(); a-- > 0;) {
            Slot& slot = Find(keys[a]);
            slot.Key = keys[a];
            slot.Used = true;
            m_next[a] = slot.First;
            slot.First = static_cast<int32_t>(a);
        }
    }

    // Takes the first waiting record of `key` that `same` accepts; -1 when there is none.
    template <typename Same>
    int32_t Take(uint64_t key, Same same)
    {
        Slot& slot = Find(key);
        if (!slot.Used)
            return -1;
        for (int32_t* link = &slot.First; *link >= 0; link = &m_next[static_cast<size_t>(*link)]) {
            const int32_t a = *link;
            if (same(a)) {
                *link = m_next[static_cast<size_t>(a)];
                return a;
            }
        }
        return -1;
    }

private:
    struct Slot {
        uint64_t Key = 0;
        int32_t First = -1; // -1: empty, or every record of the key taken
        bool Used = false;
    };
    // The key's slot, or the empty one where it would go.
    Slot& Find(uint64_t key)
    {
        for (size_t at = static_cast<size_t>(Mix(key, 0)) & m_mask;; at = (at + 1) & m_mask) {
            Slot& slot = m_slots[at];
            if (!slot.Used || slot.Key == key)
                return slot;
        }
    }

    std::vector<Slot> m_slots;
    std::vector<int32_t> m_next;
    size_t m_mask = 0;
};

// `keysA`, `keysB`: a 64-bit key per record; `same(a, b)` tells records of equal keys apart where a
// key is only a hash.
template <typename Same>
Pairing Pair(const std::vector<uint64_t>& keysA, const std::vector<uint64_t>& keysB, Same same)
{
    const size_t countA = keysA.size(), countB = keysB.size();
    Pairing pairing{std::vector<int32_t>(countA, -1), std::vector<int32_t>(countB, -1)};
    CWaiting waiting(keysA);
    for (size_t b = 0; b < countB; ++b) {
        const int32_t a =
            waiting.Take(keysB[b], [&](int32_t waitingA) { return same(static_cast<size_t>(waitingA), b); });
        if (a < 0)
            continue;
        pairing.OfB[b] = a;
        pairing.OfA[static_cast<size_t>(a)] = static_cast<int32_t>(b);
    }
    for (size_t i = 0; i < std::min(countA, countB); ++i) {
        if (pairing.OfA[i] < 0 && pairing.OfB[i] < 0)
            pairing.OfA[i] = pairing.OfB[i] = static_cast<int32_t>(i);
    }
    return pairing;
}

template <typename Record, typename Key>
std::vector<uint64_t> Keys(const std::vector<Record>& records, Key key)
{
    std::vector<uint64_t> keys;
    keys.reserve(records.size());
    for (const Record& record : records)
        keys.push_back(key(record));
    return keys;
}

// A record as the diff names it, formatted only when a line is written.
struct RecordRef {
    const char* Record;
    size_t A;            // its number in A
    int32_t B;           // and in B
    int32_t Object = -1; // a template's object

    QString Text() const
    {
        QString text = QStringLiteral("%1 %2").arg(QLatin1String(Record)).arg(A);
        if (static_cast<int32_t>(A) != B)
            text += QStringLiteral(" (now %1)").arg(B);
        if (Object >= 0)
            text += QStringLiteral(" object %1").arg(Object);
        return text;
    }
};

class CDiffer {
public:
    CDiffer(const Side& a, const Side& b) : m_a(a), m_b(b) { }

    QString Run()
    {
        const StoredRecords& ra = m_a.Records;
        const StoredRecords& rb = m_b.Records;
        if (ra.WithRouteObjects != rb.WithRouteObjects)
            Line('~', QStringLiteral("template list: %1 -> %2").arg(Variant(ra), Variant(rb)));
        m_templates = Pair(Keys(ra.Templates, [&](const CPopTemplate& t) { return m_a.TemplateHash(t); }),
                           Keys(rb.Templates, [&](const CPopTemplate& t) { return m_b.TemplateHash(t); }),
                           [&](size_t a, size_t b) { return m_a.SameTemplate(ra.Templates[a], m_b, rb.Templates[b]); });
        Records(
            "template", m_templates, ra.Templates, rb.Templates,
            [&](const Side& side, const CPopTemplate& tmpl) { return TemplateText(side, tmpl); },
            [&](const RecordRef& where, const CPopTemplate& ta, const CPopTemplate& tb) {
                TemplateChange(where, ta, tb);
            });
        Placements(
            "keysite", ra.Keysites, rb.Keysites,
            [&](const Side&, const CKeysitePlacement& k) {
                return QStringLiteral("template %1, %2").arg(k.TemplateNumber).arg(Position(k.X, k.Z));
            },
            [&](const RecordRef& where, const CKeysitePlacement& ka, const CKeysitePlacement& kb) {
                // The same template, wherever it now stands in the list.
                const bool inA = ka.TemplateNumber >= 0 && static_cast<size_t>(ka.TemplateNumber) < ra.Templates.size();
                const int32_t mapped = inA ? m_templates.OfA[static_cast<size_t>(ka.TemplateNumber)] : -1;
                const bool inB = kb.TemplateNumber >= 0 && static_cast<size_t>(kb.TemplateNumber) < rb.Templates.size();
                if (mapped != (inB ? kb.TemplateNumber : -1))
                    Line('~',
                         QStringLiteral("%1: template %2 -> %3")
                             .arg(where.Text())
                             .arg(ka.TemplateNumber)
                             .arg(kb.TemplateNumber));
            });
        Placements(
            "airbase", ra.Airbases, rb.Airbases,
            [&](const Side& side, const CAirbasePlacement& a) {
                return QStringLiteral("%1, name %2").arg(Position(a.X, a.Z), side.Shown(a.ObjectIndex));
            },
            [&](const RecordRef& where, const CAirbasePlacement& aa, const CAirbasePlacement& ab) {
                NameChange(where, "name", aa.ObjectIndex, ab.ObjectIndex);
            });
        Placements(
            "SAM", ra.Sams, rb.Sams, [&](const Side&, const CSAMPlacement& s) { return Position(s.X, s.Z); },
            [](const RecordRef&, const CSAMPlacement&, const CSAMPlacement&) {});
        // Renumbered records are no change of their own, but the files are not equal.
        if (m_out.isEmpty() && m_moved)
            Line('~', QStringLiteral("the same records in another order"));
        return m_out;
    }

private:
    static QString Variant(const StoredRecords& records)
    {
        return records.WithRouteObjects ? QStringLiteral("with route objects")
                                        : QStringLiteral("without route objects");
    }
    static QString Position(float x, float z)
    {
        return QStringLiteral("X %1, Z %2").arg(FloatText(x, QLatin1Char('.')), FloatText(z, QLatin1Char('.')));
    }
    void Line(char mark, const QString& text)
    {
        m_out += QString(QLatin1Char(mark)) + QLatin1Char(' ') + text + QLatin1Char('\n');
    }

    void FloatChange(const RecordRef& where, const char* field, float a, float b)
    {
        if (SameBits(a, b))
            return;
        const auto [ta, tb] = FloatPair(a, b);
        Line('~', QStringLiteral("%1: %2 %3 -> %4").arg(where.Text(), QLatin1String(field), ta, tb));
    }
    void NameChange(const RecordRef& where, const char* field, int32_t a, int32_t b)
    {
        if (m_a.NameId(a) != m_b.NameId(b))
            Line('~',
                 QStringLiteral("%1: %2 %3 -> %4").arg(where.Text(), QLatin1String(field), m_a.Shown(a), m_b.Shown(b)));
    }

    // Removed (in A only), added (in B only), then changed (paired, differing), in file order.
    template <typename Record, typename Text, typename Change>
    void Records(const char* record, const Pairing& pairing, const std::vector<Record>& a, const std::vector<Record>& b,
                 Text text, Change change)
    {
        for (size_t i = 0; i < a.size(); ++i) {
            if (pairing.OfA[i] < 0)
                Line('-', QStringLiteral("%1 %2: %3").arg(QLatin1String(record)).arg(i).arg(text(m_a, a[i])));
        }
        for (size_t i = 0; i < b.size(); ++i) {
            if (pairing.OfB[i] < 0)
                Line('+', QStringLiteral("%1 %2: %3").arg(QLatin1String(record)).arg(i).arg(text(m_b, b[i])));
        }
        for (size_t i = 0; i < a.size(); ++i) {
            if (pairing.OfA[i] >= 0 && static_cast<size_t>(pairing.OfA[i]) != i)
                m_moved = true;
            if (pairing.OfA[i] >= 0)
                change(RecordRef{record, i, pairing.OfA[i]}, a[i], b[static_cast<size_t>(pairing.OfA[i])]);
        }
    }

    template <typename Record, typename Text, typename Change>
    void Placements(const char* record, const std::vector<Record>& a, const std::vector<Record>& b, Text text,
                    Change change)
    {
        // The position's bits are the whole key.
        auto key = [](const Record& r) { return (uint64_t(Bits(r.X)) << 32) | Bits(r.Z); };
        const Pairing pairing = Pair(Keys(a, key), Keys(b, key), [](size_t, size_t) { return true; });
        Records(record, pairing, a, b, text, [&](const RecordRef& where, const Record& ra, const Record& rb) {
            FloatChange(where, "X", ra.X, rb.X);
            FloatChange(where, "Z", ra.Z, rb.Z);
            change(where, ra, rb);
        });
    }

    QString TemplateText(const Side& side, const CPopTemplate& tmpl) const
    {
        QString text = QStringLiteral("type %1, approximation %2, base %3")
                           .arg(tmpl.TypeCode)
                           .arg(side.Shown(tmpl.ApproximationObject), side.Shown(tmpl.BaseObject));
        if (side.Records.WithRouteObjects)
            text += QStringLiteral(", route %1").arg(side.Shown(tmpl.RouteObject));
        return text + QStringLiteral(", %1 objects").arg(tmpl.Objects.size());
    }

    void TemplateChange(const RecordRef& where, const CPopTemplate& ta, const CPopTemplate& tb)
    {
        if (ta.TypeCode != tb.TypeCode)
            Line('~', QStringLiteral("%1: type %2 -> %3").arg(where.Text()).arg(ta.TypeCode).arg(tb.TypeCode));
        NameChange(where, "approximation", ta.ApproximationObject, tb.ApproximationObject);
        NameChange(where, "base", ta.BaseObject, tb.BaseObject);
        NameChange(where, "route", ta.RouteObject, tb.RouteObject);
        // Objects by position within the template.
        for (size_t o = 0; o < std::max(ta.Objects.size(), tb.Objects.size()); ++o) {
            const RecordRef at{where.Record, where.A, where.B, static_cast<int32_t>(o)};
            if (o >= tb.Objects.size() || o >= ta.Objects.size()) {
                const bool removed = o >= tb.Objects.size();
                const Side& side = removed ? m_a : m_b;
                const CThreeDObject& object = removed ? ta.Objects[o] : tb.Objects[o];
                Line(removed ? '-' : '+',
                     QStringLiteral("%1: %2, heading %3, name %4")
                         .arg(at.Text(), Position(object.X, object.Z), FloatText(object.Heading, QLatin1Char('.')),
                              side.Shown(object.ObjectIndex)));
                continue;
            }
            FloatChange(at, "X", ta.Objects[o].X, tb.Objects[o].X);
            FloatChange(at, "Z", ta.Objects[o].Z, tb.Objects[o].Z);
            FloatChange(at, "heading", ta.Objects[o].Heading, tb.Objects[o].Heading);
            NameChange(at, "name", ta.Objects[o].ObjectIndex, tb.Objects[o].ObjectIndex);
        }
    }

    const Side& m_a;
    const Side& m_b;
    Pairing m_templates;
    QString m_out;
    bool m_moved = false;
};

} // namespace

constexpr int kDiffer = 1;
constexpr int kTrouble = 2;

int RunDiff(const QStringList& argv)
{
    Arguments args(argv, {{QStringLiteral("--catalogue"), 1}});
    if (!args.Ok() || args.Positionals().size() != 2)
        return Usage(args.Ok() ? QStringLiteral("diff takes two files") : args.Error());
    // diff answers a question, as diff(1) does: 0 the same, 1 they differ, 2 no answer.
    C3DObjectsList catalogue;
    if (!LoadCatalogueOption(args, catalogue))
        return kTrouble;
    Side a, b;
    if (!OpenStored(args.Positionals()[0], false, a.Records) || !OpenStored(args.Positionals()[1], false, b.Records))
        return kTrouble;
    NumberNames(a, b, args.Has(QStringLiteral("--catalogue")) ? &catalogue : nullptr);
    const QString out = CDiffer(a, b).Run();
    if (out.isEmpty())
        return Success;
    Print(QStringLiteral("--- %1\n+++ %2\n").arg(args.Positionals()[0], args.Positionals()[1]) + out);
    return OutputWritten() ? kDiffer : kTrouble;
}

} // namespace cli
