#pragma once
// Copy, cut and paste of records as the session does them: which records the user chose, the
// text they travel as (the record form, document/recordtransfer.h), and the one edit that cuts or
// pastes them. The clipboard itself is the caller's: this gives the text and takes it back.

#include "document/recordtransfer.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <optional>

class CCampaignSession;
class QMimeData;

namespace recordclipboard {

// The private clipboard type, beside the plain text: the same bytes.
extern const char* const MimeType;

// What Copy and Cut take: on the templates page the selected templates; elsewhere the selected
// keysites, airbases and SAM sites of all three lists.
RecordChoice Chosen(const CCampaignSession& session);

// The chosen records in the record form; empty when none is chosen.
QByteArray CopyText(const CCampaignSession& session);

// The clipboard's content for `text` (the caller owns it), and the text of a clipboard's content:
// the private type's bytes when it has them, else its plain text.
QMimeData* MimeData(const QByteArray& text);
QByteArray TextOf(const QMimeData* data);

// Removes the chosen records as one edit ("Cut 12 records") and gives their text. Templates in use
// stay, as Delete keeps them: their numbers land in `refused`. Empty when nothing went.
QByteArray Cut(CCampaignSession& session, std::vector<int>& refused);

// Appends the records of `text` as one edit ("Paste 12 records") and selects them, placements
// moved together so that their centre lies at `centre` when there is one. False with the message
// to show, changing nothing, when the text holds no records or records that cannot be read.
// `missing` gets the names the catalogue lacks.
bool Paste(CCampaignSession& session, const QByteArray& text, std::optional<QPointF> centre, QString& problem,
           CMissingNames& missing);

} // namespace recordclipboard
