// The numbered record operations the main window calls. Each checks its numbers, opens the
// record's editor on a copy of the value where it edits, and applies the result through the
// record path.
#include "document/binfile.h"

#include "document/recordcolumns.h"
#include "document/recordeditor.h"

namespace {

bool Edit(CRecordEditor& editor, const CBINFile& document, CPopTemplate& tmpl)
{
    return editor.EditKeysiteTemplate(*document.Catalogue(), *document.Types(), tmpl.TypeCode, tmpl.ApproximationObject,
                                      tmpl.BaseObject, tmpl.RouteObject);
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

bool Edit(CRecordEditor& editor, const CBINFile&, CSAMPlacement& sam) { return editor.EditSamPlacement(sam.X, sam.Z); }

template <typename Record>
bool InRange(const CBINFile& document, int number, int templateNumber = -1)
{
    return number >= 0 && number < document.Count(AddressOf<Record>(templateNumber));
}

template <typename Record>
bool DeleteRecord(CBINFile& document, int number, int templateNumber = -1)
{
    return !document.RemoveRows<Record>(number, 1, templateNumber).empty();
}

} // namespace

template <typename Record>
bool CBINFile::Add(int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    Record record;
    if (!m_editor || !HasList(list) || !::Edit(*m_editor, *this, record))
        return false;
    return InsertRows(Count(list), std::vector{std::move(record)}, templateNumber);
}

template <typename Record>
bool CBINFile::Edit(int number, int templateNumber)
{
    if (!m_editor || !InRange<Record>(*this, number, templateNumber))
        return false;
    Record record = Rows<Record>(templateNumber)[static_cast<size_t>(number)];
    return ::Edit(*m_editor, *this, record) && ReplaceRow(number, record, templateNumber);
}

template <typename Record>
bool CBINFile::SetPosition(int number, float x, float z)
{
    if (!InRange<Record>(*this, number))
        return false;
    Record record = Rows<Record>()[static_cast<size_t>(number)];
    record.X = x;
    record.Z = z;
    return ReplaceRow(number, record).has_value();
}

template bool CBINFile::Add<CPopTemplate>(int);
template bool CBINFile::Add<CThreeDObject>(int);
template bool CBINFile::Add<CKeysitePlacement>(int);
template bool CBINFile::Add<CAirbasePlacement>(int);
template bool CBINFile::Add<CSAMPlacement>(int);
template bool CBINFile::Edit<CPopTemplate>(int, int);
template bool CBINFile::Edit<CThreeDObject>(int, int);
template bool CBINFile::Edit<CKeysitePlacement>(int, int);
template bool CBINFile::Edit<CAirbasePlacement>(int, int);
template bool CBINFile::Edit<CSAMPlacement>(int, int);
template bool CBINFile::SetPosition<CKeysitePlacement>(int, float, float);
template bool CBINFile::SetPosition<CAirbasePlacement>(int, float, float);
template bool CBINFile::SetPosition<CSAMPlacement>(int, float, float);

bool CBINFile::TemplateAdd() { return Add<CPopTemplate>(); }
bool CBINFile::TemplateEdit(int number) { return Edit<CPopTemplate>(number); }
// Refused for a template in use.
bool CBINFile::TemplateDelete(int number) { return DeleteRecord<CPopTemplate>(*this, number); }

bool CBINFile::TemplateFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Templates}, number, format, row);
}

bool CBINFile::ObjectAdd(int templateNumber) { return Add<CThreeDObject>(templateNumber); }

bool CBINFile::ObjectEdit(int templateNumber, int objectNumber)
{
    return Edit<CThreeDObject>(objectNumber, templateNumber);
}

bool CBINFile::ObjectDelete(int templateNumber, int objectNumber)
{
    return DeleteRecord<CThreeDObject>(*this, objectNumber, templateNumber);
}

bool CBINFile::ObjectFillRow(GridRow& row, int templateNumber, int objectNumber, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::TemplateObjects, templateNumber}, objectNumber, format, row);
}

bool CBINFile::KeysiteAdd() { return Add<CKeysitePlacement>(); }
bool CBINFile::KeysiteEdit(int number) { return Edit<CKeysitePlacement>(number); }
bool CBINFile::KeysiteDelete(int number) { return DeleteRecord<CKeysitePlacement>(*this, number); }

bool CBINFile::KeysiteFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Keysites}, number, format, row);
}

int CBINFile::KeysiteTemplateIndex(int number) const
{
    return InRange<CKeysitePlacement>(*this, number) ? m_keysites[static_cast<size_t>(number)].TemplateNumber : -1;
}

bool CBINFile::KeysiteSetPosition(int number, float x, float z) { return SetPosition<CKeysitePlacement>(number, x, z); }

bool CBINFile::AirbaseAdd() { return Add<CAirbasePlacement>(); }
bool CBINFile::AirbaseEdit(int number) { return Edit<CAirbasePlacement>(number); }
bool CBINFile::AirbaseDelete(int number) { return DeleteRecord<CAirbasePlacement>(*this, number); }

bool CBINFile::AirbaseFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Airbases}, number, format, row);
}

bool CBINFile::AirbaseSetPosition(int number, float x, float z) { return SetPosition<CAirbasePlacement>(number, x, z); }

bool CBINFile::SamAdd() { return Add<CSAMPlacement>(); }
bool CBINFile::SamEdit(int number) { return Edit<CSAMPlacement>(number); }
bool CBINFile::SamDelete(int number) { return DeleteRecord<CSAMPlacement>(*this, number); }

bool CBINFile::SamFillRow(GridRow& row, int number, const TextFormat& format) const
{
    return FillGridRow(*this, {RecordList::Sams}, number, format, row);
}

bool CBINFile::SamSetPosition(int number, float x, float z) { return SetPosition<CSAMPlacement>(number, x, z); }
