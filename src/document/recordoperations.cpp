// The numbered record operations the main window calls. Each checks its numbers, opens the
// record's editor on a copy of the value where it edits, and applies the result through the
// record path.
#include "document/binfile.h"

#include "document/recordcolumns.h"
#include "document/recordeditor.h"

namespace {

bool Edit(CRecordEditor& editor, const CBINFile& document, CPopTemplate& tmpl)
{
    return editor.EditKeysiteTemplate(*document.Catalogue(), *document.Types(), tmpl.TypeCode,
                                      tmpl.ApproximationObject, tmpl.BaseObject, tmpl.RouteObject);
}

bool Edit(CRecordEditor& editor, const CBINFile& document, CThreeDObject& object)
{
    return editor.EditTemplateObject(*document.Catalogue(), object.X, object.Z, object.Heading, object.ObjectIndex);
}

// The editor is shown the keysite's template number; only a confirmed number naming an existing
// template moves the keysite, anything else keeps its template.
bool Edit(CRecordEditor& editor, const CBINFile& document, CKeysitePlacement& keysite)
{
    int32_t number = keysite.TemplateNumber;
    if (!editor.EditKeysitePlacement(number, keysite.X, keysite.Z))
        return false;
    if (number >= 0 && number < document.TemplateCount())
        keysite.TemplateNumber = number;
    return true;
}

bool Edit(CRecordEditor& editor, const CBINFile& document, CAirbasePlacement& airbase)
{
    return editor.EditAirbasePlacement(*document.Catalogue(), airbase.ObjectIndex, airbase.X, airbase.Z);
}

bool Edit(CRecordEditor& editor, const CBINFile&, CSAMPlacement& sam)
{
    return editor.EditSamPlacement(sam.X, sam.Z);
}

template <typename Record>
ListAddress AddressOf(int templateNumber)
{
    return {RecordTraits<Record>::List, RecordTraits<Record>::List == RecordList::TemplateObjects ? templateNumber : -1};
}

template <typename Record>
bool InRange(const CBINFile& document, int number, int templateNumber = -1)
{
    return number >= 0 && number < document.Count(AddressOf<Record>(templateNumber));
}

// A new record with its defaults; only a confirmed one joins the end of its list.
template <typename Record>
bool AddRecord(CBINFile& document, CRecordEditor* editor, int templateNumber = -1)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    Record record;
    if (!editor || !document.HasList(list) || !Edit(*editor, document, record))
        return false;
    return document.InsertRows(document.Count(list), std::vector{std::move(record)}, templateNumber);
}

template <typename Record>
bool EditRecord(CBINFile& document, CRecordEditor* editor, int number, int templateNumber = -1)
{
    if (!editor || !InRange<Record>(document, number, templateNumber))
        return false;
    Record record = document.Rows<Record>(templateNumber)[static_cast<size_t>(number)];
    return Edit(*editor, document, record) && document.ReplaceRow(number, record, templateNumber);
}

template <typename Record>
bool DeleteRecord(CBINFile& document, int number, int templateNumber = -1)
{
    return !document.RemoveRows<Record>(number, 1, templateNumber).empty();
}

template <typename Record>
bool SetPosition(CBINFile& document, int number, float x, float z)
{
    if (!InRange<Record>(document, number))
        return false;
    Record record = document.Rows<Record>()[static_cast<size_t>(number)];
    record.X = x;
    record.Z = z;
    return document.ReplaceRow(number, record).has_value();
}

} // namespace

bool CBINFile::TemplateAdd() { return AddRecord<CPopTemplate>(*this, m_editor); }
bool CBINFile::TemplateEdit(int number) { return EditRecord<CPopTemplate>(*this, m_editor, number); }
// Refused for a template in use.
bool CBINFile::TemplateDelete(int number) { return DeleteRecord<CPopTemplate>(*this, number); }

bool CBINFile::TemplateFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Templates}, number, format, row);
}

bool CBINFile::ObjectAdd(int templateNumber) { return AddRecord<CThreeDObject>(*this, m_editor, templateNumber); }

bool CBINFile::ObjectEdit(int templateNumber, int objectNumber)
{
    return EditRecord<CThreeDObject>(*this, m_editor, objectNumber, templateNumber);
}

bool CBINFile::ObjectDelete(int templateNumber, int objectNumber)
{
    return DeleteRecord<CThreeDObject>(*this, objectNumber, templateNumber);
}

bool CBINFile::ObjectFillRow(GridRow& row, int templateNumber, int objectNumber, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::TemplateObjects, templateNumber}, objectNumber, format, row);
}

bool CBINFile::KeysiteAdd() { return AddRecord<CKeysitePlacement>(*this, m_editor); }
bool CBINFile::KeysiteEdit(int number) { return EditRecord<CKeysitePlacement>(*this, m_editor, number); }
bool CBINFile::KeysiteDelete(int number) { return DeleteRecord<CKeysitePlacement>(*this, number); }

bool CBINFile::KeysiteFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Keysites}, number, format, row);
}

int CBINFile::KeysiteTemplateIndex(int number) const
{
    return InRange<CKeysitePlacement>(*this, number) ? m_keysites[static_cast<size_t>(number)].TemplateNumber : -1;
}

bool CBINFile::KeysiteSetPosition(int number, float x, float z)
{
    return SetPosition<CKeysitePlacement>(*this, number, x, z);
}

bool CBINFile::AirbaseAdd() { return AddRecord<CAirbasePlacement>(*this, m_editor); }
bool CBINFile::AirbaseEdit(int number) { return EditRecord<CAirbasePlacement>(*this, m_editor, number); }
bool CBINFile::AirbaseDelete(int number) { return DeleteRecord<CAirbasePlacement>(*this, number); }

bool CBINFile::AirbaseFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Airbases}, number, format, row);
}

bool CBINFile::AirbaseSetPosition(int number, float x, float z)
{
    return SetPosition<CAirbasePlacement>(*this, number, x, z);
}

bool CBINFile::SamAdd() { return AddRecord<CSAMPlacement>(*this, m_editor); }
bool CBINFile::SamEdit(int number) { return EditRecord<CSAMPlacement>(*this, m_editor, number); }
bool CBINFile::SamDelete(int number) { return DeleteRecord<CSAMPlacement>(*this, number); }

bool CBINFile::SamFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Sams}, number, format, row);
}

bool CBINFile::SamSetPosition(int number, float x, float z) { return SetPosition<CSAMPlacement>(*this, number, x, z); }
