#include "document/recordjson.h"

#include "document/jsonreader.h"
#include "document/jsontext.h"
#include "document/storedrecords.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <span>
#include <unordered_map>
#include <vector>

namespace recordjson {

const char* const Format = "sablemap-bin/1";

std::string FloatText(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    char text[32];
    if (std::isnan(value)) {
        std::snprintf(text, sizeof text, "\"NaN:%08X\"", static_cast<unsigned>(bits));
        return text;
    }
    if (std::isinf(value))
        return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace recordjson

namespace {

void Float(CJsonText& out, const char* key, float value)
{
    out.Raw(key);
    out.Raw(recordjson::FloatText(value));
}

void Name(CJsonText& out, const char* key, const StoredRecords& records, int32_t index)
{
    out.Raw(key);
    if (index == NoObjectIndex)
        out.Raw("null");
    else
        out.String(AnsiToQString(records.NameOf(index)));
}

void Int(CJsonText& out, const char* key, int32_t value)
{
    out.Raw(key);
    out.Raw(std::to_string(value).c_str());
}

} // namespace

namespace recordjson {

void Write(CJsonText& out, const StoredRecords& records)
{
    using json::Array;
    out.Raw("{\n  \"format\": \"");
    out.Raw(Format);
    out.Raw(records.WithRouteObjects ? "\",\n  \"routeObjects\": true" : "\",\n  \"routeObjects\": false");
    out.Raw(",\n  \"templates\": ");
    Array(out, static_cast<int>(records.Templates.size()), "  ", [&](int t) {
        const CPopTemplate& tmpl = records.Templates[static_cast<size_t>(t)];
        Int(out, "{\"type\": ", tmpl.TypeCode);
        Name(out, ", \"approximation\": ", records, tmpl.ApproximationObject);
        Name(out, ", \"base\": ", records, tmpl.BaseObject);
        if (records.WithRouteObjects)
            Name(out, ", \"route\": ", records, tmpl.RouteObject);
        out.Raw(", \"objects\": ");
        Array(out, static_cast<int>(tmpl.Objects.size()), "    ", [&](int o) {
            const CThreeDObject& object = tmpl.Objects[static_cast<size_t>(o)];
            Float(out, "{\"x\": ", object.X);
            Float(out, ", \"z\": ", object.Z);
            Float(out, ", \"heading\": ", object.Heading);
            Name(out, ", \"name\": ", records, object.ObjectIndex);
            out.Raw('}');
        });
        out.Raw('}');
    });
    if (!records.TemplateListOnly) {
        const auto templateCount = static_cast<int32_t>(records.Templates.size());
        out.Raw(",\n  \"keysites\": ");
        Array(out, static_cast<int>(records.Keysites.size()), "  ", [&](int k) {
            const CKeysitePlacement& keysite = records.Keysites[static_cast<size_t>(k)];
            // A number naming no template reads as no template, as the editor reads it.
            const bool exists = keysite.TemplateNumber >= 0 && keysite.TemplateNumber < templateCount;
            Int(out, "{\"template\": ", exists ? keysite.TemplateNumber : -1);
            Float(out, ", \"x\": ", keysite.X);
            Float(out, ", \"z\": ", keysite.Z);
            out.Raw('}');
        });
        out.Raw(",\n  \"airbases\": ");
        Array(out, static_cast<int>(records.Airbases.size()), "  ", [&](int a) {
            const CAirbasePlacement& airbase = records.Airbases[static_cast<size_t>(a)];
            Float(out, "{\"x\": ", airbase.X);
            Float(out, ", \"z\": ", airbase.Z);
            Name(out, ", \"name\": ", records, airbase.ObjectIndex);
            out.Raw('}');
        });
        out.Raw(",\n  \"SAMs\": ");
        Array(out, static_cast<int>(records.Sams.size()), "  ", [&](int s) {
            Float(out, "{\"x\": ", records.Sams[static_cast<size_t>(s)].X);
            Float(out, ", \"z\": ", records.Sams[static_cast<size_t>(s)].Z);
            out.Raw('}');
        });
    }
    out.Raw("\n}\n");
}

QByteArray Text(const StoredRecords& records)
{
    CJsonText out;
    Write(out, records);
    return QByteArray::fromStdString(out.Text());
}

} // namespace recordjson

namespace {

// Reads the records back, list by list and record by record, stopping at the first fault with its
// line and what is wrong.
class CJsonRecordReader {
public:
    CJsonRecordReader(CJsonReader& json, StoredRecords& records, int& line, QString& error)
        : m_json(json), m_records(records), m_line(line), m_error(error)
    {
    }

    bool Document(bool templateListOnly);

private:
    bool Fail(int line, const QString& what)
    {
        m_line = line;
        m_error = what;
        return false;
    }
    bool Fail(const JsonValue& at, const QString& what) { return Fail(at.Line, what); }
    bool JsonFailed() { return Fail(m_json.Line(), m_json.Error()); }
    // A key or number from the text as a message shows it: a line's worth.
    static QString Shown(const std::string& text)
    {
        return MessageText::Shortened(QString::fromUtf8(
            text.data(), static_cast<qsizetype>(std::min<size_t>(text.size(), 4 * MessageText::LongestShown))));
    }

    // Finds exactly the members `keys` (in any order) of the object `value`; `found` has room for
    // every key, and the members land in the order of `keys`. `optional` keys may be absent.
    bool Members(const JsonValue& value, const char* what, std::initializer_list<const char*> keys,
                 std::span<const JsonValue*> found, const char* optional = nullptr)
    {
        if (value.Type != JsonValue::Object)
            return Fail(value, QStringLiteral("%1 must be an object").arg(QLatin1String(what)));
        std::fill(found.begin(), found.end(), nullptr);
        for (const auto& [key, member] : value.Members) {
            size_t k = 0;
            while (k < keys.size() && key != keys.begin()[k])
                ++k;
            if (k == keys.size())
                return Fail(member, QStringLiteral("unknown key \"%1\" in %2").arg(Shown(key), QLatin1String(what)));
            if (found[k])
                return Fail(member, QStringLiteral("key \"%1\" given twice").arg(Shown(key)));
            found[k] = &member;
        }
        for (size_t k = 0; k < keys.size(); ++k) {
            if (!found[k] && (!optional || std::strcmp(optional, keys.begin()[k]) != 0))
                return Fail(
                    value,
                    QStringLiteral("%1 lacks the key \"%2\"").arg(QLatin1String(what), QLatin1String(keys.begin()[k])));
        }
        return true;
    }

    bool ArrayOf(const JsonValue& value, const char* key)
    {
        return value.Type == JsonValue::Array
            || Fail(value, QStringLiteral("\"%1\" must be an array").arg(QLatin1String(key)));
    }

    bool Int32(const JsonValue& value, const char* key, int32_t& number)
    {
        const std::string& text = value.Text;
        if (value.Type != JsonValue::Number || text.find_first_of(".eE") != std::string::npos)
            return Fail(value, QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(key)));
        const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            return Fail(
                value, QStringLiteral("\"%1\": %2 does not fit a 32-bit integer").arg(QLatin1String(key), Shown(text)));
        return true;
    }

    bool Float(const JsonValue& value, const char* key, float& number)
    {
        const std::string& text = value.Text;
        if (value.Type == JsonValue::Number) {
            const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
            if (result.ec == std::errc() && result.ptr == text.data() + text.size())
                return true;
            return Fail(value,
                        QStringLiteral("\"%1\": %2 does not fit a 32-bit float").arg(QLatin1String(key), Shown(text)));
        }
        if (value.Type == JsonValue::String) {
            if (text == "Infinity" || text == "-Infinity") {
                number = text[0] == '-' ? -INFINITY : INFINITY;
                return true;
            }
            uint32_t bits = 0;
            if (text.size() == 12 && text.starts_with("NaN:")) {
                const auto result = std::from_chars(text.data() + 4, text.data() + 12, bits, 16);
                std::memcpy(&number, &bits, 4);
                // Only the form to-json writes: upper-case digits of a NaN.
                if (result.ec == std::errc() && result.ptr == text.data() + 12 && std::isnan(number)
                    && '"' + text + '"' == recordjson::FloatText(number))
                    return true;
            }
        }
        return Fail(value,
                    QStringLiteral("\"%1\" must be a number, \"Infinity\", \"-Infinity\" or \"NaN:\" with the "
                                   "eight upper-case hexadecimal digits of a NaN")
                        .arg(QLatin1String(key)));
    }

    // A name, or with `absentAllowed` null for no object.
    bool Name(const JsonValue& value, const char* key, bool absentAllowed, int32_t& index)
    {
        if (absentAllowed && value.Type == JsonValue::Null) {
            index = NoObjectIndex;
            return true;
        }
        if (value.Type != JsonValue::String)
            return Fail(value,
                        QStringLiteral("\"%1\" must be a string%2")
                            .arg(QLatin1String(key), absentAllowed ? QStringLiteral(" or null") : QString()));
        const QString text = QString::fromStdString(value.Text);
        const std::string ansi = QStringToAnsi(text);
        const QString back = AnsiToQString(ansi);
        if (back != text) {
            qsizetype at = 0;
            while (at < back.size() && back[at] == text[at])
                ++at;
            char32_t character = text[at].unicode();
            if (text[at].isHighSurrogate() && at + 1 < text.size())
                character = QChar::surrogateToUcs4(text[at], text[at + 1]);
            return Fail(value,
                        QStringLiteral("\"%1\": the character U+%2 cannot be stored in Windows-1252")
                            .arg(QLatin1String(key),
                                 QString::number(character, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
        }
        // Each distinct name is kept once, as a file read keeps them: a form of millions of records
        // names a few thousand objects.
        auto [at, added] = m_names.try_emplace(ansi, 0);
        if (added)
            at->second = m_records.AddName(ansi);
        index = at->second;
        return true;
    }

    // Whether the template has a route object is checked once the whole form said which variant.
    bool Template(const JsonValue& value, CPopTemplate& tmpl, bool& hasRoute)
    {
        std::array<const JsonValue*, 5> m;
        if (!Members(value, "a template", {"type", "approximation", "base", "objects", "route"}, m, "route")
            || !Int32(*m[0], "type", tmpl.TypeCode) || !Name(*m[1], "approximation", true, tmpl.ApproximationObject)
            || !Name(*m[2], "base", true, tmpl.BaseObject) || !ArrayOf(*m[3], "objects")
            || (m[4] && !Name(*m[4], "route", true, tmpl.RouteObject)))
            return false;
        hasRoute = m[4] != nullptr;
        tmpl.Objects.reserve(m[3]->Items.size());
        for (const JsonValue& item : m[3]->Items) {
            std::array<const JsonValue*, 4> o;
            CThreeDObject& object = tmpl.Objects.emplace_back();
            if (!Members(item, "a template object", {"x", "z", "heading", "name"}, o) || !Float(*o[0], "x", object.X)
                || !Float(*o[1], "z", object.Z) || !Float(*o[2], "heading", object.Heading)
                || !Name(*o[3], "name", false, object.ObjectIndex))
                return false;
        }
        return true;
    }

    bool Keysite(const JsonValue& item, CKeysitePlacement& keysite)
    {
        std::array<const JsonValue*, 3> k;
        return Members(item, "a keysite", {"template", "x", "z"}, k) && Int32(*k[0], "template", keysite.TemplateNumber)
            && Float(*k[1], "x", keysite.X) && Float(*k[2], "z", keysite.Z);
    }

    bool Airbase(const JsonValue& item, CAirbasePlacement& airbase)
    {
        std::array<const JsonValue*, 3> a;
        return Members(item, "an airbase", {"x", "z", "name"}, a) && Float(*a[0], "x", airbase.X)
            && Float(*a[1], "z", airbase.Z) && Name(*a[2], "name", false, airbase.ObjectIndex);
    }

    bool Sam(const JsonValue& item, CSAMPlacement& sam)
    {
        std::array<const JsonValue*, 2> s;
        return Members(item, "a SAM site", {"x", "z"}, s) && Float(*s[0], "x", sam.X) && Float(*s[1], "z", sam.Z);
    }

    // The items of a list, one record at a time; `lines` gets each item's line.
    template <typename Read>
    bool List(Read read, std::vector<int>* lines = nullptr)
    {
        if (!m_json.Begin('['))
            return Fail(m_json.Line(), m_json.Error());
        JsonValue item;
        bool more = false;
        while (m_json.NextItem(more) && more) {
            item = JsonValue();
            if (!m_json.Value(item))
                return JsonFailed();
            if (lines)
                lines->push_back(item.Line);
            if (!read(item))
                return false;
        }
        return m_json.Error().isEmpty() || JsonFailed();
    }

    CJsonReader& m_json;
    StoredRecords& m_records;
    std::unordered_map<std::string, int32_t> m_names; // index of each name added
    int& m_line;
    QString& m_error;
};

bool CJsonRecordReader::Document(bool templateListOnly)
{
    static constexpr const char* kKeys[] = {"format", "routeObjects", "templates", "keysites", "airbases", "SAMs"};
    const size_t keyCount = templateListOnly ? 3 : 6;
    const char* what = templateListOnly ? "the template list" : "the Map BIN file";
    std::array<bool, 6> seen{};
    std::vector<int> templateLines, keysiteLines;
    std::vector<bool> templateRoutes;
    m_records.TemplateListOnly = templateListOnly;
    if (!m_json.Begin('{'))
        return JsonFailed();
    bool more = false;
    std::string key;
    while (m_json.NextMember(more, key) && more) {
        const int line = m_json.Line();
        size_t k = 0;
        while (k < keyCount && key != kKeys[k])
            ++k;
        if (k == keyCount)
            return Fail(line, QStringLiteral("unknown key \"%1\" in %2").arg(Shown(key), QLatin1String(what)));
        if (seen[k])
            return Fail(line, QStringLiteral("key \"%1\" given twice").arg(Shown(key)));
        seen[k] = true;
        JsonValue value;
        bool ok = true;
        switch (k) {
        case 0:
            if (!m_json.Value(value))
                return JsonFailed();
            ok = (value.Type == JsonValue::String && value.Text == recordjson::Format)
                || Fail(value, QStringLiteral("\"format\" must be \"%1\"").arg(QLatin1String(recordjson::Format)));
            break;
        case 1:
            if (!m_json.Value(value))
                return JsonFailed();
            ok = value.Type == JsonValue::Boolean
                || Fail(value, QStringLiteral("\"routeObjects\" must be true or false"));
            m_records.WithRouteObjects = value.Truth;
            break;
        case 2:
            ok = List(
                [&](const JsonValue& item) {
                    bool hasRoute = false;
                    const bool read = Template(item, m_records.Templates.emplace_back(), hasRoute);
                    templateRoutes.push_back(hasRoute);
                    return read;
                },
                &templateLines);
            break;
        case 3:
            ok = List([&](const JsonValue& item) { return Keysite(item, m_records.Keysites.emplace_back()); },
                      &keysiteLines);
            break;
        case 4:
            ok = List([&](const JsonValue& item) { return Airbase(item, m_records.Airbases.emplace_back()); });
            break;
        default: ok = List([&](const JsonValue& item) { return Sam(item, m_records.Sams.emplace_back()); }); break;
        }
        if (!ok)
            return false;
    }
    if (!m_json.Error().isEmpty() || !m_json.End())
        return JsonFailed();
    for (size_t k = 0; k < keyCount; ++k) {
        if (!seen[k])
            return Fail(1, QStringLiteral("%1 lacks the key \"%2\"").arg(QLatin1String(what), QLatin1String(kKeys[k])));
    }
    // What could only be checked once everything was read: the variant and the template numbers.
    for (size_t t = 0; t < templateRoutes.size(); ++t) {
        if (templateRoutes[t] != m_records.WithRouteObjects)
            return Fail(templateLines[t],
                        m_records.WithRouteObjects
                            ? QStringLiteral("a template lacks the key \"route\" (\"routeObjects\" is true)")
                            : QStringLiteral("unknown key \"route\" in a template (\"routeObjects\" is false)"));
    }
    const auto templateCount = static_cast<int32_t>(m_records.Templates.size());
    for (size_t i = 0; i < m_records.Keysites.size(); ++i) {
        const int32_t number = m_records.Keysites[i].TemplateNumber;
        if (number < -1 || number >= templateCount)
            return Fail(keysiteLines[i],
                        QStringLiteral("template %1 does not exist (there are %2 templates; -1 is none)")
                            .arg(number)
                            .arg(templateCount));
    }
    return true;
}

} // namespace

namespace recordjson {

bool Read(CJsonReader& json, bool templateListOnly, StoredRecords& records, int& line, QString& error)
{
    StoredRecords read;
    if (!CJsonRecordReader(json, read, line, error).Document(templateListOnly))
        return false;
    records = std::move(read);
    return true;
}

bool Read(const QByteArray& text, bool templateListOnly, StoredRecords& records, int& line, QString& error)
{
    CJsonReader json(text);
    return Read(json, templateListOnly, records, line, error);
}

} // namespace recordjson
