#pragma once
// Edit > Select similar and Select within distance: which keysites, airbases and SAM sites go
// with the ones selected. Plain functions over the document, by RecordKind, ascending.

#include "session/campaignsession.h"

// Keysites of the templates of the selected keysites, airbases of the objects of the selected
// airbases, and every SAM site when one is selected (a SAM site has nothing but its position).
CCampaignSession::Placements SimilarRecords(const CBINFile& document, const CCampaignSession::Placements& selected);

// The records of the kinds `kinds` allows that lie within `distance` world units of a selected
// record (the selected ones among them). Records whose position is no number are never near.
CCampaignSession::Placements RecordsWithin(const CBINFile& document, const CCampaignSession::Placements& selected,
                                           double distance, const std::array<bool, 3>& kinds);
