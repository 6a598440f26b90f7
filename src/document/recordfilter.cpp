#include "document/recordfilter.h"

#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/numbertext.h"
#include "document/recordcolumns.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <QHash>
#include <QStringList>
#include <optional>
#include <vector>

namespace {

// Typed text quoted in a reason, kept to a line.
constexpr qsizetype kQuotedMost = 40;

QString Quoted(QStringView text)
{
    return QLatin1Char('\'') + MessageText::Shortened(text, kQuotedMost) + QLatin1Char('\'');
}

enum class Op : uint8_t { Contains, Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

// What a column holds, which decides how it is compared and how its text is made.
enum class FieldKind : uint8_t {
    Index,          // the record's number
    Float,          // shown as FloatText
    Integer,        // shown in plain decimal
    TemplateNumber, // a keysite's template: plain decimal, empty without one
    ObjectName,     // a catalogue index, shown as its name
    TypeName,       // a template type code, shown as its name
};

FieldKind KindOf(RecordList list, int column)
{
    if (column == 0)
        return FieldKind::Index;
    switch (list) {
    case RecordList::Templates:
        return column == 1 ? FieldKind::TypeName : column <= 4 ? FieldKind::ObjectName : FieldKind::Integer;
    case RecordList::TemplateObjects: return column <= 3 ? FieldKind::Float : FieldKind::ObjectName;
    case RecordList::Keysites: return column <= 2 ? FieldKind::Float : FieldKind::TemplateNumber;
    case RecordList::Airbases: return column <= 2 ? FieldKind::Float : FieldKind::ObjectName;
    case RecordList::Sams: break;
    }
    return FieldKind::Float;
}

bool IsNameKind(FieldKind kind) { return kind == FieldKind::ObjectName || kind == FieldKind::TypeName; }

// The number a column holds for the numeric kinds, the index or code for the name kinds.
double FieldNumber(const CBINFile& document, ListAddress list, int record, int column)
{
    if (column == 0)
        return record;
    const auto at = static_cast<size_t>(record);
    switch (list.List) {
    case RecordList::Templates: {
        const CPopTemplate& tmpl = document.Templates()[at];
        switch (column) {
        case 1: return tmpl.TypeCode;
        case 2: return tmpl.ApproximationObject;
        case 3: return tmpl.BaseObject;
        case 4: return tmpl.RouteObject;
        default: return tmpl.UseCount;
        }
    }
    case RecordList::TemplateObjects: {
        const CThreeDObject& object = document.Objects(list.Template)[at];
        switch (column) {
        case 1: return object.X;
        case 2: return object.Z;
        case 3: return object.Heading;
        default: return object.ObjectIndex;
        }
    }
    case RecordList::Keysites: {
        const CKeysitePlacement& keysite = document.Keysites()[at];
        return column == 1 ? keysite.X : column == 2 ? keysite.Z : keysite.TemplateNumber;
    }
    case RecordList::Airbases: {
        const CAirbasePlacement& airbase = document.Airbases()[at];
        return column == 1 ? airbase.X : column == 2 ? airbase.Z : airbase.ObjectIndex;
    }
    case RecordList::Sams: {
        const CSAMPlacement& sam = document.Sams()[at];
        return column == 1 ? sam.X : sam.Z;
    }
    }
    return 0;
}

bool Holds(Op op, int order)
{
    switch (op) {
    case Op::Equal: return order == 0;
    case Op::NotEqual: return order != 0;
    case Op::Less: return order < 0;
    case Op::Greater: return order > 0;
    case Op::LessEqual: return order <= 0;
    case Op::GreaterEqual: return order >= 0;
    case Op::Contains: break;
    }
    return false;
}

int Order(double a, double b) { return a < b ? -1 : a > b ? 1 : 0; }

std::optional<Op> OperatorOf(QStringView text)
{
    static const std::pair<const char*, Op> kOperators[] = {
        {"~", Op::Contains}, {"=", Op::Equal},      {"!=", Op::NotEqual},     {"<", Op::Less},
        {">", Op::Greater},  {"<=", Op::LessEqual}, {">=", Op::GreaterEqual},
    };
    for (const auto& [spelling, op] : kOperators)
        if (text == QLatin1String(spelling))
            return op;
    return std::nullopt;
}

bool IsOperatorChar(QChar c) { return c == u'=' || c == u'!' || c == u'<' || c == u'>' || c == u'~'; }

struct Token {
    enum Kind : uint8_t { Word, Quoted, Operator };
    Kind How = Word;
    QString Text;
};

// The text split into words, quoted strings and runs of operator characters; false with the
// reason for a quote left open.
bool Tokens(QStringView text, std::vector<Token>& tokens, QString& reason)
{
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        if (c.isSpace()) {
            ++at;
        } else if (c == u'"') {
            const qsizetype end = text.indexOf(u'"', at + 1);
            if (end < 0) {
                reason = QStringLiteral("A quote is not closed");
                return false;
            }
            tokens.push_back({Token::Quoted, text.mid(at + 1, end - at - 1).toString()});
            at = end + 1;
        } else {
            const bool op = IsOperatorChar(c);
            qsizetype end = at + 1;
            while (end < text.size() && !text[end].isSpace() && text[end] != u'"' && IsOperatorChar(text[end]) == op)
                ++end;
            tokens.push_back({op ? Token::Operator : Token::Word, text.mid(at, end - at).toString()});
            at = end;
        }
    }
    return true;
}

// The column that `name` names in `list`: its whole header, else the one header that it begins or
// that has a word it begins; -1 with the reason otherwise.
int FindColumn(RecordList list, const QString& name, QString& reason)
{
    const auto columns = RecordColumns(list);
    QStringList candidates;
    int found = -1;
    for (int column = 0; column < int(columns.size()); ++column) {
        const QString header = QLatin1String(columns[size_t(column)].Header);
        if (header.compare(name, Qt::CaseInsensitive) == 0)
            return column;
        bool matches = false;
        for (const QString& word : header.split(QLatin1Char(' ')))
            matches = matches || word.startsWith(name, Qt::CaseInsensitive);
        if (matches || header.startsWith(name, Qt::CaseInsensitive)) {
            candidates << header;
            found = column;
        }
    }
    if (candidates.size() == 1)
        return found;
    if (candidates.isEmpty()) {
        reason = QStringLiteral("No column starts with ") + Quoted(name);
    } else {
        candidates.sort(Qt::CaseInsensitive);
        const QString last = candidates.takeLast();
        reason = Quoted(name) + QStringLiteral(" could be ") + candidates.join(QStringLiteral(", "))
            + QStringLiteral(" or ") + last;
    }
    return -1;
}

} // namespace

struct CRecordFilter::Compiled {
    struct Term {
        int Column = -1; // -1: a plain word, searched in every column
        Op Operator = Op::Contains;
        QString Text;
        std::optional<double> Number; // the value, when it reads as a number
        double FloatNumber = 0;       // the same rounded to a float, for the float columns
        bool MayBeInNumber = true;    // a plain word that a number's text can contain
        // What the term said of each catalogue name (by index + 2) and template type name: 0 not
        // yet asked, 1 no, 2 yes. Names repeat over thousands of records.
        mutable std::vector<int8_t> Names;
        mutable QHash<int32_t, bool> Types;
    };

    RecordList List = RecordList::Templates;
    QChar Separator = QLatin1Char('.');
    std::vector<Term> Terms;
    bool ReadsNumbers = false;
    mutable const C3DObjectsList* CachedCatalogue = nullptr;

    // The text of `column` of the record, as its cell shows it.
    QString FieldText(const CBINFile& document, FieldKind kind, double number) const
    {
        switch (kind) {
        case FieldKind::Index:
        case FieldKind::Integer: return IntegerText(int64_t(number));
        case FieldKind::Float: return FloatText(float(number), Separator);
        case FieldKind::TemplateNumber: return number >= 0 ? IntegerText(int64_t(number)) : QString();
        case FieldKind::ObjectName: return AnsiToQString(document.Catalogue()->NameOf(int32_t(number)));
        case FieldKind::TypeName: return AnsiToQString(document.Types()->TypeNameOf(int32_t(number)));
        }
        return QString();
    }

    // A term on the text of a cell: numbers as numbers when the text reads as one.
    bool TextHolds(const Term& term, const QString& text) const
    {
        if (term.Operator == Op::Contains || term.Column < 0)
            return text.contains(term.Text, Qt::CaseInsensitive);
        if (term.Number) {
            if (const std::optional<double> number = TextToNumber(text, Separator))
                return Holds(term.Operator, Order(*number, *term.Number));
        }
        return Holds(term.Operator, text.compare(term.Text, Qt::CaseInsensitive));
    }

    // A term on a name column, asked once per name.
    bool NameHolds(const CBINFile& document, const Term& term, FieldKind kind, double code) const
    {
        const auto index = int32_t(code);
        if (kind == FieldKind::TypeName) {
            const auto known = term.Types.constFind(index);
            if (known != term.Types.constEnd())
                return *known;
            const bool holds = TextHolds(term, FieldText(document, kind, code));
            term.Types.insert(index, holds);
            return holds;
        }
        const int64_t slot = int64_t(index) + 2;
        if (slot < 0 || slot > (1 << 22)) // no such catalogue: asked every time
            return TextHolds(term, FieldText(document, kind, code));
        if (size_t(slot) >= term.Names.size())
            term.Names.resize(size_t(slot) + 1, 0);
        int8_t& known = term.Names[size_t(slot)];
        if (known == 0)
            known = TextHolds(term, FieldText(document, kind, code)) ? 2 : 1;
        return known == 2;
    }

    bool ColumnHolds(const CBINFile& document, ListAddress list, int record, const Term& term, int column) const
    {
        const FieldKind kind = KindOf(List, column);
        const double value = FieldNumber(document, list, record, column);
        if (IsNameKind(kind))
            return NameHolds(document, term, kind, value);
        if (term.Column < 0 && !term.MayBeInNumber)
            return false;
        const bool isNumber = kind != FieldKind::TemplateNumber || value >= 0;
        if (term.Column >= 0 && term.Operator != Op::Contains && term.Number && isNumber)
            return Holds(term.Operator, Order(value, kind == FieldKind::Float ? term.FloatNumber : *term.Number));
        return TextHolds(term, FieldText(document, kind, value));
    }

    bool Accepts(const CBINFile& document, ListAddress list, int record) const
    {
        if (CachedCatalogue != document.Catalogue()) { // another catalogue names other things
            CachedCatalogue = document.Catalogue();
            for (const Term& term : Terms) {
                term.Names.clear();
                term.Types.clear();
            }
        }
        const int columns = int(RecordColumns(List).size());
        for (const Term& term : Terms) {
            if (term.Column >= 0) {
                if (!ColumnHolds(document, list, record, term, term.Column))
                    return false;
                continue;
            }
            bool found = false;
            for (int column = 0; column < columns && !found; ++column)
                found = ColumnHolds(document, list, record, term, column);
            if (!found)
                return false;
        }
        return true;
    }
};

CRecordFilter::CRecordFilter() = default;
CRecordFilter::~CRecordFilter() = default;
CRecordFilter::CRecordFilter(const CRecordFilter&) = default;
CRecordFilter& CRecordFilter::operator=(const CRecordFilter&) = default;

CRecordFilter CRecordFilter::Read(QStringView text, RecordList list, const TextFormat& format)
{
    CRecordFilter filter;
    auto compiled = std::make_shared<Compiled>();
    compiled->List = list;
    compiled->Separator = format.DecimalSeparator;
    std::vector<Token> tokens;
    if (!Tokens(text, tokens, filter.m_reason))
        return filter;
    const auto readNumber = [&](const QString& value) {
        std::optional<double> number = TextToNumber(value, format.DecimalSeparator);
        if (!number && format.DecimalSeparator != QLatin1Char('.'))
            number = TextToNumber(value, QLatin1Char('.'));
        return number;
    };
    for (size_t at = 0; at < tokens.size(); ++at) {
        const Token& token = tokens[at];
        Compiled::Term term;
        if (token.How == Token::Operator) {
            filter.m_reason = QStringLiteral("No column before ") + Quoted(token.Text);
            return filter;
        }
        if (at + 1 < tokens.size() && tokens[at + 1].How == Token::Operator) {
            const QString& spelling = tokens[at + 1].Text;
            const std::optional<Op> op = OperatorOf(spelling);
            if (!op) {
                filter.m_reason =
                    Quoted(spelling) + QStringLiteral(" is not an operator; use =, !=, <, >, <=, >= or ~");
                return filter;
            }
            if (at + 2 >= tokens.size() || tokens[at + 2].How == Token::Operator) {
                filter.m_reason = QStringLiteral("No value after ") + Quoted(token.Text + spelling);
                return filter;
            }
            term.Column = FindColumn(list, token.Text, filter.m_reason);
            if (term.Column < 0)
                return filter;
            term.Operator = *op;
            term.Text = tokens[at + 2].Text;
            term.Number = readNumber(term.Text);
            if (term.Number)
                term.FloatNumber = double(float(*term.Number));
            compiled->ReadsNumbers = compiled->ReadsNumbers || term.Column == 0;
            at += 2;
        } else {
            term.Text = token.Text;
            // Number cells hold digits, signs, the separator, an exponent, INF and NAN.
            static const QString kNumberChars = QStringLiteral("0123456789+-.,eEiInNfFaA");
            for (const QChar c : term.Text)
                term.MayBeInNumber = term.MayBeInNumber && kNumberChars.contains(c);
            compiled->ReadsNumbers = compiled->ReadsNumbers || term.MayBeInNumber;
        }
        if (!term.Text.isEmpty() || term.Column >= 0) // an empty quoted word holds everywhere
            compiled->Terms.push_back(std::move(term));
    }
    filter.m_compiled = std::move(compiled);
    return filter;
}

bool CRecordFilter::Filters() const { return m_compiled && !m_compiled->Terms.empty(); }

bool CRecordFilter::ReadsNumbers() const { return Filters() && m_compiled->ReadsNumbers; }

bool CRecordFilter::Accepts(const CBINFile& document, ListAddress list, int record) const
{
    return !Filters() || m_compiled->Accepts(document, list, record);
}
