// diff: the records two Map BIN files differ in, as a modder reviews them.

#include "binjson.h"
#include "cli.h"
#include "commands.h"

#include "catalogues/objectslist.h"
#include "document/numbertext.h"
#include "document/storedrecords.h"
#include "platform/ansitext.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace cli {

namespace {

// Floats as the grids show them; two values that look alike there (0 and -0, NaNs) in full.
std::pair<QString, QString> FloatPair(float a, float b)
{
    QString ta = FloatText(a, QLatin1Char('.'));
    QString tb = FloatText(b, QLatin1Char('.'));
    if (ta == tb) {
        ta = QString::fromStdString(FloatJson(a)).remove(QLatin1Char('"'));
        tb = QString::fromStdString(FloatJson(b)).remove(QLatin1Char('"'));
    }
    return {ta, tb};
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

// One side of the comparison: its records, and each name as the comparison sees it.
struct Side {
    StoredRecords Records;
    const C3DObjectsList* Catalogue = nullptr;

    // With a catalogue, names the editor would save alike (another letter case) compare alike.
    std::string Key(int32_t index) const
    {
        if (index == NoObjectIndex)
            return std::string(1, '\xFF') + "none";
        const std::string& name = Records.NameOf(index);
        if (Catalogue) {
            const int32_t known =
                Catalogue->IndexOf(std::string_view(name.data(), std::min(name.size(), name.find('\0'))));
            if (known >= 0)
                return Catalogue->NameOf(known);
        }
        return name;
    }
    QString Shown(int32_t index) const
    {
        return index == NoObjectIndex ? QStringLiteral("none")
                                      : QLatin1Char('"') + AnsiToQString(Records.NameOf(index)) + QLatin1Char('"');
    }
    std::string TemplateKey(const CPopTemplate& tmpl) const
    {
        std::string key = std::to_string(tmpl.TypeCode) + '\0' + Key(tmpl.ApproximationObject) + '\0'
            + Key(tmpl.BaseObject) + '\0' + Key(tmpl.RouteObject);
        for (const CThreeDObject& object : tmpl.Objects) {
            key += '\0';
            key.append(reinterpret_cast<const char*>(&object.X), 4);
            key.append(reinterpret_cast<const char*>(&object.Z), 4);
            key.append(reinterpret_cast<const char*>(&object.Heading), 4);
            key += Key(object.ObjectIndex);
        }
        return key;
    }
};

// For each record of A, its partner in B or -1, and the reverse: records with equal keys pair in
// file order; what is left pairs with the record of the same number on the other side, if that is
// left too (a record edited in place).
struct Pairing {
    std::vector<int32_t> OfA, OfB;
};

template <typename KeyOfA, typename KeyOfB>
Pairing Pair(size_t countA, size_t countB, KeyOfA keyA, KeyOfB keyB)
{
    Pairing pairing{std::vector<int32_t>(countA, -1), std::vector<int32_t>(countB, -1)};
    std::unordered_map<std::string, std::vector<int32_t>>
        waiting; // by key, the records of A not yet paired, last first
    for (size_t a = countA; a-- > 0;)
        waiting[keyA(a)].push_back(static_cast<int32_t>(a));
    for (size_t b = 0; b < countB; ++b) {
        auto at = waiting.find(keyB(b));
        if (at == waiting.end() || at->second.empty())
            continue;
        pairing.OfB[b] = at->second.back();
        pairing.OfA[static_cast<size_t>(at->second.back())] = static_cast<int32_t>(b);
        at->second.pop_back();
    }
    for (size_t i = 0; i < std::min(countA, countB); ++i) {
        if (pairing.OfA[i] < 0 && pairing.OfB[i] < 0)
            pairing.OfA[i] = pairing.OfB[i] = static_cast<int32_t>(i);
    }
    return pairing;
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
        m_templates = Pair(
            ra.Templates.size(), rb.Templates.size(), [&](size_t i) { return m_a.TemplateKey(ra.Templates[i]); },
            [&](size_t i) { return m_b.TemplateKey(rb.Templates[i]); });
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
        if (m_a.Key(a) != m_b.Key(b))
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
        auto key = [](const Record& r) {
            return std::string(reinterpret_cast<const char*>(&r.X), 4)
                + std::string(reinterpret_cast<const char*>(&r.Z), 4);
        };
        const Pairing pairing = Pair(
            a.size(), b.size(), [&](size_t i) { return key(a[i]); }, [&](size_t i) { return key(b[i]); });
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

int RunDiff(const QStringList& argv)
{
    Arguments args(argv, {{QStringLiteral("--catalogue"), 1}});
    if (!args.Ok() || args.Positionals().size() != 2)
        return Usage(args.Ok() ? QStringLiteral("diff takes two files") : args.Error());
    C3DObjectsList catalogue;
    if (!LoadCatalogueOption(args, catalogue))
        return Failure;
    Side a, b;
    if (!OpenStored(args.Positionals()[0], false, a.Records) || !OpenStored(args.Positionals()[1], false, b.Records))
        return Failure;
    if (args.Has(QStringLiteral("--catalogue")))
        a.Catalogue = b.Catalogue = &catalogue;
    const QString out = CDiffer(a, b).Run();
    if (out.isEmpty())
        return Success;
    Print(QStringLiteral("--- %1\n+++ %2\n").arg(args.Positionals()[0], args.Positionals()[1]) + out);
    return Failure;
}

} // namespace cli
