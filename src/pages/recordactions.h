#pragma once
// What the Add, Edit and Delete buttons of every record page do, for any list, as edits of the
// campaign session: the dialog gives back a value, an edit applies it. One piece of code for the
// five lists. The commands act on the records selected, whatever set they form.

#include "document/records.h"

#include <QString>
#include <vector>

class CBINFile;
class CCampaignSession;
class CRecordDialogs;
class CUserPrompts;
class QWidget;

namespace recordactions {

// A new record with its defaults, edited in its dialog, joins the end of its list as one edit
// ("Add SAM site"). False when the dialog was cancelled or the
// list does not exist (the objects of no template).
template <typename Record>
bool Add(CCampaignSession& session, CRecordDialogs& dialogs, int templateNumber = -1);

// The record's dialog on its value; a confirmed value replaces it as one edit ("Edit SAM site").
// A keysite keeps its template unless the dialog gave the number of an existing one.
template <typename Record>
bool Edit(CCampaignSession& session, CRecordDialogs& dialogs, int index, int templateNumber = -1);

// The dialog over the records at `indices` (in order, at least two): the fields the user changed
// are written to each of them, their other fields kept, as one edit ("Edit 3 SAM sites"). Keysites
// take a template number only when it names a template. No edit when nothing changed.
template <typename Record>
bool EditMany(CCampaignSession& session, CRecordDialogs& dialogs, const std::vector<int>& indices,
              int templateNumber = -1);

// The page's Edit: EditMany over the selected records when there are several, else Edit of the
// current record.
template <typename Record>
bool EditSelected(CCampaignSession& session, CRecordDialogs& dialogs, int templateNumber = -1);

// "Do you want to delete <count><words>" for the rows selected (the current row when none is),
// then removes them as one edit ("Delete 3 SAM sites"). Templates in use are refused one by one ("Can't delete template
// 4!") and the others go.
template <typename Record>
void Delete(CCampaignSession& session, CUserPrompts& prompts, QWidget* parent, int templateNumber = -1);

// The rows a delete or export acts on, in order: the selected rows (the blank row of an empty list
// included), or the current row when none is selected.
std::vector<int> SelectedRows(const CCampaignSession& session, RecordList list);

// Writes the templates of `rows` in that order to a template file; a row that is no template
// writes nothing (the reason says why).
bool ExportTemplates(const CBINFile& records, const std::vector<int>& rows, const QString& path, QString* reason);

} // namespace recordactions
