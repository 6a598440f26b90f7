// The numbered record operations the main window calls; each checks its numbers first.
#include "document/binfile.h"

#include "document/recordeditor.h"

namespace {

template <typename List>
bool InRange(const List& list, int number)
{
    return number >= 0 && static_cast<size_t>(number) < list.size();
}

// Opens the new record's editor; only a confirmed record joins its list.
template <typename Record, typename List>
bool AddEdited(List& list, std::unique_ptr<Record> record, CRecordEditor* editor)
{
    if (!editor || !record->Edit(*editor))
        return false;
    list.push_back(std::move(record));
    return true;
}

template <typename List>
bool EditAt(List& list, int number, CRecordEditor* editor)
{
    return InRange(list, number) && editor && list[static_cast<size_t>(number)]->Edit(*editor);
}

template <typename List>
bool DeleteAt(List& list, int number)
{
    if (!InRange(list, number))
        return false;
    list.erase(list.begin() + number);
    return true;
}

template <typename List>
bool SetPositionAt(List& list, int number, float x, float z)
{
    if (!InRange(list, number))
        return false;
    list[static_cast<size_t>(number)]->SetPosition(x, z);
    return true;
}

} // namespace

std::unordered_map<const CPopTemplate*, int32_t> CBINFile::TemplateNumbers() const
{
    std::unordered_map<const CPopTemplate*, int32_t> numbers;
    numbers.reserve(Templates.size());
    for (size_t i = 0; i < Templates.size(); ++i)
        numbers.emplace(Templates[i].get(), static_cast<int32_t>(i));
    return numbers;
}

// --- Keysite templates -------------------------------------------------------------------------

bool CBINFile::TemplateAdd()
{
    return AddEdited(Templates, std::make_unique<CPopTemplate>(m_catalogue, m_types), m_editor);
}

bool CBINFile::TemplateEdit(int number) { return EditAt(Templates, number, m_editor); }

bool CBINFile::TemplateDelete(int number)
{
    if (!InRange(Templates, number) || !Templates[static_cast<size_t>(number)]->HasNoUsers())
        return false;
    return DeleteAt(Templates, number);
}

bool CBINFile::TemplateFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return InRange(Templates, number) && Templates[static_cast<size_t>(number)]->FillRow(row, number, format);
}

// --- Template objects --------------------------------------------------------------------------

bool CBINFile::ObjectAdd(int templateNumber)
{
    if (!InRange(Templates, templateNumber))
        return false;
    return AddEdited(Templates[static_cast<size_t>(templateNumber)]->Objects,
                     std::make_unique<CThreeDObject>(m_catalogue), m_editor);
}

bool CBINFile::ObjectEdit(int templateNumber, int objectNumber)
{
    return InRange(Templates, templateNumber)
        && EditAt(Templates[static_cast<size_t>(templateNumber)]->Objects, objectNumber, m_editor);
}

bool CBINFile::ObjectDelete(int templateNumber, int objectNumber)
{
    return InRange(Templates, templateNumber)
        && DeleteAt(Templates[static_cast<size_t>(templateNumber)]->Objects, objectNumber);
}

int CBINFile::ObjectCount(int templateNumber) const
{
    return InRange(Templates, templateNumber)
        ? static_cast<int>(Templates[static_cast<size_t>(templateNumber)]->Objects.size())
        : 0;
}

bool CBINFile::ObjectFillRow(GridRow& row, int templateNumber, int objectNumber, const TextFormat& format) const
{
    if (!InRange(Templates, templateNumber))
        return false;
    const auto& objects = Templates[static_cast<size_t>(templateNumber)]->Objects;
    return InRange(objects, objectNumber) && objects[static_cast<size_t>(objectNumber)]->FillRow(row, objectNumber, format);
}

// --- Keysites ----------------------------------------------------------------------------------

bool CBINFile::KeysiteAdd()
{
    return AddEdited(Keysites, std::make_unique<CKeysitePlacement>(&Templates), m_editor);
}

bool CBINFile::KeysiteEdit(int number) { return EditAt(Keysites, number, m_editor); }
bool CBINFile::KeysiteDelete(int number) { return DeleteAt(Keysites, number); }

bool CBINFile::KeysiteFillRow(GridRow& row, int number, const TextFormat& format) const
{
    if (!InRange(Keysites, number))
        return false;
    const CKeysitePlacement& keysite = *Keysites[static_cast<size_t>(number)];
    return keysite.FillRow(row, number, keysite.TemplateIndex(), format);
}

int CBINFile::KeysiteTemplateIndex(int number) const
{
    return InRange(Keysites, number) ? Keysites[static_cast<size_t>(number)]->TemplateIndex() : -1;
}

bool CBINFile::KeysiteSetPosition(int number, float x, float z) { return SetPositionAt(Keysites, number, x, z); }

// --- Airbases and SAM sites --------------------------------------------------------------------

bool CBINFile::AirbaseAdd()
{
    return AddEdited(Airbases, std::make_unique<CAirbasePlacement>(m_catalogue), m_editor);
}

bool CBINFile::AirbaseEdit(int number) { return EditAt(Airbases, number, m_editor); }
bool CBINFile::AirbaseDelete(int number) { return DeleteAt(Airbases, number); }

bool CBINFile::AirbaseFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return InRange(Airbases, number) && Airbases[static_cast<size_t>(number)]->FillRow(row, number, format);
}

bool CBINFile::AirbaseSetPosition(int number, float x, float z) { return SetPositionAt(Airbases, number, x, z); }

bool CBINFile::SamAdd() { return AddEdited(SAMs, std::make_unique<CSAMPlacement>(), m_editor); }
bool CBINFile::SamEdit(int number) { return EditAt(SAMs, number, m_editor); }
bool CBINFile::SamDelete(int number) { return DeleteAt(SAMs, number); }

bool CBINFile::SamFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return InRange(SAMs, number) && SAMs[static_cast<size_t>(number)]->FillRow(row, number, format);
}

bool CBINFile::SamSetPosition(int number, float x, float z) { return SetPositionAt(SAMs, number, x, z); }
