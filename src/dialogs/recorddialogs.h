#pragma once
// The seam through which a record page asks the user for a record's values. Each call opens the
// record's dialog on `value` and gives back the values the user confirmed, or nothing on Cancel.
// A dialog never touches the document: the page's command applies what it gives back. The window
// answers with the modal dialogs (CModalRecordDialogs); tests answer with scripted values.
//
// EditShared opens the dialog over `count` records at once: the fields they share are filled in,
// the others shown as mixed. It gives back only the fields the user changed, with their values
// (no field when nothing was changed), or nothing on Cancel.

#include "dialogs/recordfields.h"
#include "document/records.h"

#include <optional>

class CRecordDialogs {
public:
    virtual ~CRecordDialogs() = default;

    virtual std::optional<CPopTemplate> Edit(const CPopTemplate& value) = 0;
    virtual std::optional<CThreeDObject> Edit(const CThreeDObject& value) = 0;
    virtual std::optional<CKeysitePlacement> Edit(const CKeysitePlacement& value) = 0;
    virtual std::optional<CAirbasePlacement> Edit(const CAirbasePlacement& value) = 0;
    virtual std::optional<CSAMPlacement> Edit(const CSAMPlacement& value) = 0;

    virtual std::optional<PartialRecord<CPopTemplate>> EditShared(const PartialRecord<CPopTemplate>& shared,
                                                                  int count) = 0;
    virtual std::optional<PartialRecord<CThreeDObject>> EditShared(const PartialRecord<CThreeDObject>& shared,
                                                                   int count) = 0;
    virtual std::optional<PartialRecord<CKeysitePlacement>> EditShared(const PartialRecord<CKeysitePlacement>& shared,
                                                                       int count) = 0;
    virtual std::optional<PartialRecord<CAirbasePlacement>> EditShared(const PartialRecord<CAirbasePlacement>& shared,
                                                                       int count) = 0;
    virtual std::optional<PartialRecord<CSAMPlacement>> EditShared(const PartialRecord<CSAMPlacement>& shared,
                                                                   int count) = 0;
};
