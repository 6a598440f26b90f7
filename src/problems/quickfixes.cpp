#include "problems/quickfixes.h"

#include "dialogs/objectpicker.h"
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>

namespace {

// The object index a field of a record holds.
int32_t& FieldOf(CPopTemplate& tmpl, FindingField field)
{
    switch (field) {
    case FindingField::ApproximationObject: return tmpl.ApproximationObject;
    case FindingField::BaseObject: return tmpl.BaseObject;
    default: return tmpl.RouteObject;
    }
}

// The record `finding` names with its object index changed by `choose`, as one edit; false when
// the record is gone or `choose` declines.
template <typename Record, typename Choose>
bool ReplaceObject(CCampaignSession& session, const Finding& finding, int32_t& (*field)(Record&, FindingField),
                   Choose choose)
{
    const int templateNumber = finding.List.Template;
    const auto rows = session.Records().Rows<Record>(templateNumber);
    if (finding.Record < 0 || size_t(finding.Record) >= rows.size())
        return false;
    Record value = rows[size_t(finding.Record)];
    int32_t& index = field(value, finding.Field);
    if (!choose(index))
        return false;
    auto* edit = new CRecordEdit(session, QStringLiteral("Edit ") + RecordNoun(finding.List.List));
    edit->Add(ReplaceRecord(finding.Record, std::move(value), templateNumber));
    session.Push(CEditHistory::MapBin, edit);
    return true;
}

int32_t& ObjectOf(CThreeDObject& object, FindingField) { return object.ObjectIndex; }
int32_t& ObjectOf(CAirbasePlacement& airbase, FindingField) { return airbase.ObjectIndex; }

} // namespace

QuickFix FixOf(const Finding& finding)
{
    switch (finding.Kind) {
    case FindingKind::UnknownName: return QuickFix::ChooseObject;
    case FindingKind::Unused: return QuickFix::DeleteTemplate;
    case FindingKind::SharedPosition: return QuickFix::SelectBoth;
    default: return QuickFix::None;
    }
}

QString FixCaption(QuickFix fix)
{
    switch (fix) {
    case QuickFix::ChooseObject: return QStringLiteral("Choose object…");
    case QuickFix::DeleteTemplate: return QStringLiteral("Delete template");
    case QuickFix::SelectBoth: return QStringLiteral("Select both");
    case QuickFix::None: break;
    }
    return QString();
}

bool CQuickFixes::Apply(const Finding& finding)
{
    switch (FixOf(finding)) {
    case QuickFix::ChooseObject: return ChooseObject(finding);
    case QuickFix::DeleteTemplate: return DeleteTemplate(finding);
    case QuickFix::SelectBoth: return SelectBoth(finding);
    case QuickFix::None: break;
    }
    return false;
}

bool CQuickFixes::ChooseObject(const Finding& finding)
{
    const auto choose = [this](int32_t& index) { return SelectObject(m_prompts, m_window, m_catalogue, index); };
    switch (finding.List.List) {
    case RecordList::Templates: return ReplaceObject<CPopTemplate>(m_session, finding, FieldOf, choose);
    case RecordList::TemplateObjects: return ReplaceObject<CThreeDObject>(m_session, finding, ObjectOf, choose);
    case RecordList::Airbases: return ReplaceObject<CAirbasePlacement>(m_session, finding, ObjectOf, choose);
    default: return false;
    }
}

bool CQuickFixes::DeleteTemplate(const Finding& finding)
{
    const auto templates = m_session.Records().Templates();
    if (finding.Record < 0 || size_t(finding.Record) >= templates.size()
        || !templates[size_t(finding.Record)].HasNoUsers())
        return false;
    auto* edit = new CRecordEdit(m_session, QStringLiteral("Delete ") + CountedRecords(RecordList::Templates, 1));
    edit->Add(RemoveRecords<CPopTemplate>(finding.Record, 1));
    m_session.Push(CEditHistory::MapBin, edit);
    return true;
}

bool CQuickFixes::SelectBoth(const Finding& finding)
{
    const RecordList list = finding.List.List;
    const int count = m_session.Records().Count(finding.List);
    if (finding.Record >= count || finding.Other < 0 || finding.Other >= count)
        return false;
    // The earlier record first, so that its page comes forward with it current; then the other.
    m_session.BringForward({finding.List, finding.Other, finding.Other});
    const QModelIndex other = m_session.Model(list).index(finding.Record, 0);
    m_session.Selection(list).select(other, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return true;
}
