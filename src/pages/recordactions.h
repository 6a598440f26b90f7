#pragma once
// What the Add, Edit and Delete buttons of every record page do, for any list, as edits of the
// campaign session: the dialog gives back a value, an edit applies it. One piece of code for the
// five lists.

#include "document/records.h"

#include <vector>

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

// "Do you want to delete <count><words>" for the rows selected (the current row when none is),
// then removes them as one edit ("Delete 3 SAM sites"). Templates in use are refused one by one ("Can't delete template
// 4!") and the others go.
template <typename Record>
void Delete(CCampaignSession& session, CUserPrompts& prompts, QWidget* parent, int templateNumber = -1);

// The rows a delete or export acts on, top to bottom: the selected rows (the blank row of an
// empty list included), or the current row when none is selected.
void SelectedRows(const CCampaignSession& session, RecordList list, int& first, int& last);

} // namespace recordactions
