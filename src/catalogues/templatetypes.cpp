#include "catalogues/templatetypes.h"

#include <cstdio>

namespace {

struct TypeName {
    int32_t code;
    const char* name;
};

// Codes 8 and 9 do not exist; several names repeat and differ only in their code.
constexpr TypeName kTypes[] = {
    {1, "SPACE"},      {2, "HOUSING"},    {3, "OFFICE"},        {4, "INDUSTRY"},  {5, "CULTURAL"},      {6, "CHURCH"},
    {7, "OUTSKIRTS"},  {10, "PORTSE"},    {11, "PORTNW"},       {12, "MILITARY"}, {13, "FARM"},         {14, "OIL"},
    {15, "KEY POWER"}, {16, "KEY RADIO"}, {17, "KEY INDUSTRY"}, {18, "KEY PORT"}, {19, "KEY MILITARY"}, {20, "KEY OIL"},
    {21, "CONSTRUCT"}, {22, "RUIN"},      {23, "WATER"},        {24, "ROADBASE"}, {25, "ROAD"},         {26, "ROAD"},
    {27, "ROAD"},      {28, "ROAD"},      {29, "ROAD"},         {30, "ROADBASE"},
};

} // namespace

CPopTemplatesTypesList::CPopTemplatesTypesList()
{
    m_rows.reserve(std::size(kTypes));
    for (const TypeName& type : kTypes) {
        char bracket[8];
        std::snprintf(bracket, sizeof bracket, "[%2d]", static_cast<int>(type.code));
        m_rows.push_back({type.code, std::string(bracket) + '\xA0' + type.name});
    }
}

std::string CPopTemplatesTypesList::TypeNameOf(int32_t code) const
{
    const int row = RowOf(code);
    return row < 0 ? std::string("[-1] Unknown keysite template type") : m_rows[static_cast<size_t>(row)].Text;
}

int CPopTemplatesTypesList::RowOf(int32_t code) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].Code == code)
            return static_cast<int>(i);
    }
    return -1;
}
