#include "binjson.h"

#include "jsonreader.h"
#include "jsonwriter.h"

#include "document/storedrecords.h"
#include "platform/ansitext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>
#include <vector>
#include <cmath>
#include <cstring>

namespace cli {

const char* const kBinJsonFormat = "sablemap-bin/1";

std::string FloatJson(float value)
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

namespace {

void Float(CJsonWriter& out, const char* key, float value)
{
    out.Raw(key);
    out.Raw(FloatJson(value).c_str());
}

void Name(CJsonWriter& out, const char* key, const StoredRecords& records, int32_t index)
{
    out.Raw(key);
    if (index == NoObjectIndex)
        out.Raw("null");
    else
        out.String(AnsiToQString(records.NameOf(index)));
}

void Int(CJsonWriter& out, const char* key, int32_t value)
{
    out.Raw(key);
    out.Raw(std::to_string(value).c_str());
}

} // namespace

void PrintStoredJson(const StoredRecords& records)
{
    CJsonWriter out;
    out.Raw("{\n  \"format\": \"");
    out.Raw(kBinJsonFormat);
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

namespace {

// Reads the records back, stopping at the first fault with its line and what is wrong.
class CJsonRecordReader {
public:
    CJsonRecordReader(StoredRecords& records, int& line, QString& error)
        : m_records(records), m_line(line), m_error(error)
    {
    }

    bool Fail(const JsonValue& at, const QString& what)
    {
        m_line = at.Line;
        m_error = what;
        return false;
    }

    // Finds exactly the members `keys` (in any order) in the object `value`.
    // `found` has room for every key; the members land in the order of `keys`.
    bool Members(const JsonValue& value, const char* what, std::initializer_list<const char*> keyList,
                 std::span<const JsonValue*> found)
    {
        const std::vector<const char*> keys(keyList);
        const size_t N = keys.size();
        if (value.Type != JsonValue::Object)
            return Fail(value, QStringLiteral("%1 must be an object").arg(QLatin1String(what)));
        std::fill(found.begin(), found.end(), nullptr);
        for (const auto& [key, member] : value.Members) {
            size_t k = 0;
            while (k < N && key != QLatin1String(keys[k]))
                ++k;
            if (k == N)
                return Fail(member, QStringLiteral("unknown key \"%1\" in %2").arg(key, QLatin1String(what)));
            if (found[k])
                return Fail(member, QStringLiteral("key \"%1\" given twice").arg(key));
            found[k] = &member;
        }
        for (size_t k = 0; k < N; ++k) {
            if (!found[k])
                return Fail(value, QStringLiteral("%1 lacks the key \"%2\"").arg(QLatin1String(what), QLatin1String(keys[k])));
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
        const QByteArray text = value.Text.toLatin1();
        if (value.Type != JsonValue::Number || text.contains('.') || text.contains('e') || text.contains('E'))
            return Fail(value, QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(key)));
        const auto result = std::from_chars(text.constData(), text.constData() + text.size(), number);
        if (result.ec != std::errc() || result.ptr != text.constData() + text.size())
            return Fail(value, QStringLiteral("\"%1\": %2 does not fit a 32-bit integer").arg(QLatin1String(key), value.Text));
        return true;
    }

    bool Float(const JsonValue& value, const char* key, float& number)
    {
        if (value.Type == JsonValue::Number) {
            const QByteArray text = value.Text.toLatin1();
            const char* end = text.constData() + text.size();
            const auto result = std::from_chars(text.constData(), end, number);
            if (result.ec == std::errc() && result.ptr == end)
                return true;
            return Fail(value, QStringLiteral("\"%1\": %2 does not fit a 32-bit float").arg(QLatin1String(key), value.Text));
        }
        if (value.Type == JsonValue::String) {
            if (value.Text == QLatin1String("Infinity") || value.Text == QLatin1String("-Infinity")) {
                number = value.Text.startsWith(QLatin1Char('-')) ? -INFINITY : INFINITY;
                return true;
            }
            const QByteArray text = value.Text.toLatin1();
            uint32_t bits = 0;
            if (text.size() == 12 && text.startsWith("NaN:")) {
                const auto result = std::from_chars(text.constData() + 4, text.constData() + 12, bits, 16);
                std::memcpy(&number, &bits, 4);
                if (result.ec == std::errc() && result.ptr == text.constData() + 12 && std::isnan(number)
                    && value.Text.toLatin1() == QByteArray(FloatJson(number).c_str()).mid(1, 12))
                    return true;
            }
        }
        return Fail(value, QStringLiteral("\"%1\" must be a number, \"Infinity\", \"-Infinity\" or \"NaN:\" with the "
                                          "eight hexadecimal digits of a NaN")
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
            return Fail(value, QStringLiteral("\"%1\" must be a string%2").arg(QLatin1String(key),
                                                                            absentAllowed ? QStringLiteral(" or null") : QString()));
        const std::string ansi = QStringToAnsi(value.Text);
        const QString back = AnsiToQString(ansi);
        if (back != value.Text) {
            qsizetype at = 0;
            while (at < back.size() && back[at] == value.Text[at])
                ++at;
            return Fail(value, QStringLiteral("\"%1\": the character U+%2 cannot be stored in Windows-1252")
                                   .arg(QLatin1String(key))
                                   .arg(value.Text[at].unicode(), 4, 16, QLatin1Char('0')));
        }
        index = m_records.AddName(ansi);
        return true;
    }

    bool Template(const JsonValue& value, bool withRoute, CPopTemplate& tmpl)
    {
        std::array<const JsonValue*, 5> m;
        const bool ok = withRoute ? Members(value, "a template", {"type", "approximation", "base", "objects", "route"}, m)
                                  : Members(value, "a template (without route objects)",
                                            {"type", "approximation", "base", "objects"}, m);
        if (!ok || !Int32(*m[0], "type", tmpl.TypeCode) || !Name(*m[1], "approximation", true, tmpl.ApproximationObject)
            || !Name(*m[2], "base", true, tmpl.BaseObject) || !ArrayOf(*m[3], "objects")
            || (withRoute && !Name(*m[4], "route", true, tmpl.RouteObject)))
            return false;
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

    bool Document(const JsonValue& root, bool templateListOnly)
    {
        std::array<const JsonValue*, 6> m;
        const bool ok = templateListOnly
            ? Members(root, "the template list", {"format", "routeObjects", "templates"}, m)
            : Members(root, "the Map BIN file", {"format", "routeObjects", "templates", "keysites", "airbases", "SAMs"}, m);
        if (!ok)
            return false;
        if (m[0]->Type != JsonValue::String || m[0]->Text != QLatin1String(kBinJsonFormat))
            return Fail(*m[0], QStringLiteral("\"format\" must be \"%1\"").arg(QLatin1String(kBinJsonFormat)));
        if (m[1]->Type != JsonValue::Boolean)
            return Fail(*m[1], QStringLiteral("\"routeObjects\" must be true or false"));
        m_records.WithRouteObjects = m[1]->Truth;
        m_records.TemplateListOnly = templateListOnly;
        if (!ArrayOf(*m[2], "templates"))
            return false;
        for (const JsonValue& item : m[2]->Items) {
            if (!Template(item, m_records.WithRouteObjects, m_records.Templates.emplace_back()))
                return false;
        }
        if (templateListOnly)
            return true;
        if (!ArrayOf(*m[3], "keysites") || !ArrayOf(*m[4], "airbases") || !ArrayOf(*m[5], "SAMs"))
            return false;
        const auto templateCount = static_cast<int32_t>(m_records.Templates.size());
        for (const JsonValue& item : m[3]->Items) {
            std::array<const JsonValue*, 3> k;
            CKeysitePlacement& keysite = m_records.Keysites.emplace_back();
            if (!Members(item, "a keysite", {"template", "x", "z"}, k) || !Int32(*k[0], "template", keysite.TemplateNumber)
                || !Float(*k[1], "x", keysite.X) || !Float(*k[2], "z", keysite.Z))
                return false;
            if (keysite.TemplateNumber < -1 || keysite.TemplateNumber >= templateCount)
                return Fail(*k[0], QStringLiteral("template %1 does not exist (there are %2 templates; -1 is none)")
                                       .arg(keysite.TemplateNumber)
                                       .arg(templateCount));
        }
        for (const JsonValue& item : m[4]->Items) {
            std::array<const JsonValue*, 3> a;
            CAirbasePlacement& airbase = m_records.Airbases.emplace_back();
            if (!Members(item, "an airbase", {"x", "z", "name"}, a) || !Float(*a[0], "x", airbase.X)
                || !Float(*a[1], "z", airbase.Z) || !Name(*a[2], "name", false, airbase.ObjectIndex))
                return false;
        }
        for (const JsonValue& item : m[5]->Items) {
            std::array<const JsonValue*, 2> s;
            CSAMPlacement& sam = m_records.Sams.emplace_back();
            if (!Members(item, "a SAM site", {"x", "z"}, s) || !Float(*s[0], "x", sam.X) || !Float(*s[1], "z", sam.Z))
                return false;
        }
        return true;
    }

private:
    StoredRecords& m_records;
    int& m_line;
    QString& m_error;
};

} // namespace

bool StoredFromJson(const JsonValue& root, bool templateListOnly, StoredRecords& records, int& line, QString& error)
{
    StoredRecords read;
    if (!CJsonRecordReader(read, line, error).Document(root, templateListOnly))
        return false;
    records = std::move(read);
    return true;
}

} // namespace cli
