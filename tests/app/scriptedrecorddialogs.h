#pragma once
// Answers the window's record dialogs for a test: with the values below while Answer is true
// (the same fields the document's scripted editor filled in), with nothing while it is false.
// Every call is counted, and the record each dialog was opened on is kept, so a test can check
// what the dialog showed. A dialog over several records changes the fields in Changes (those the
// record kind has) to the same values.

#include "dialogs/recorddialogs.h"

#include <optional>

class CScriptedRecordDialogs : public CRecordDialogs {
public:
    bool Answer = true;
    int Calls = 0;
    int32_t TypeCode = 1;        // a template's type
    int32_t TemplateNumber = -1; // a keysite's template, whatever it names
    int32_t ObjectIndex = 0;     // a template object's or an airbase's object
    float X = 0;                 // every X and Z but a template's
    float Z = 0;
    RecordFields Changes; // over several records

    // The last record each dialog was opened on.
    std::optional<CPopTemplate> ShownTemplate;
    std::optional<CThreeDObject> ShownObject;
    std::optional<CKeysitePlacement> ShownKeysite;
    std::optional<CAirbasePlacement> ShownAirbase;
    std::optional<CSAMPlacement> ShownSam;
    // What the last dialog over several records showed: the shared fields as a mask, and how many.
    RecordFields ShownShared;
    int ShownCount = 0;

    std::optional<CPopTemplate> Edit(const CPopTemplate& value) override
    {
        return Give(value, ShownTemplate, [this](CPopTemplate& answer) { answer.TypeCode = TypeCode; });
    }
    std::optional<CThreeDObject> Edit(const CThreeDObject& value) override
    {
        return Give(value, ShownObject, [this](CThreeDObject& answer) {
            answer.X = X;
            answer.Z = Z;
            answer.ObjectIndex = ObjectIndex;
        });
    }
    std::optional<CKeysitePlacement> Edit(const CKeysitePlacement& value) override
    {
        return Give(value, ShownKeysite, [this](CKeysitePlacement& answer) {
            answer.TemplateNumber = TemplateNumber;
            answer.X = X;
            answer.Z = Z;
        });
    }
    std::optional<CAirbasePlacement> Edit(const CAirbasePlacement& value) override
    {
        return Give(value, ShownAirbase, [this](CAirbasePlacement& answer) {
            answer.ObjectIndex = ObjectIndex;
            answer.X = X;
            answer.Z = Z;
        });
    }
    std::optional<CSAMPlacement> Edit(const CSAMPlacement& value) override
    {
        return Give(value, ShownSam, [this](CSAMPlacement& answer) {
            answer.X = X;
            answer.Z = Z;
        });
    }

    std::optional<PartialRecord<CPopTemplate>> EditShared(const PartialRecord<CPopTemplate>& shared, int count) override
    {
        return GiveShared(shared, count, [this](CPopTemplate& answer) { answer = *Edit(answer); });
    }
    std::optional<PartialRecord<CThreeDObject>> EditShared(const PartialRecord<CThreeDObject>& shared,
                                                           int count) override
    {
        return GiveShared(shared, count, [this](CThreeDObject& answer) { answer = *Edit(answer); });
    }
    std::optional<PartialRecord<CKeysitePlacement>> EditShared(const PartialRecord<CKeysitePlacement>& shared,
                                                               int count) override
    {
        return GiveShared(shared, count, [this](CKeysitePlacement& answer) { answer = *Edit(answer); });
    }
    std::optional<PartialRecord<CAirbasePlacement>> EditShared(const PartialRecord<CAirbasePlacement>& shared,
                                                               int count) override
    {
        return GiveShared(shared, count, [this](CAirbasePlacement& answer) { answer = *Edit(answer); });
    }
    std::optional<PartialRecord<CSAMPlacement>> EditShared(const PartialRecord<CSAMPlacement>& shared,
                                                           int count) override
    {
        return GiveShared(shared, count, [this](CSAMPlacement& answer) { answer = *Edit(answer); });
    }

private:
    // Counts the call and keeps what was shown; when answering, gives the fields of Changes with
    // the values the single dialog would have given (`fill`, answering as Edit does).
    template <typename Record, typename Fill>
    std::optional<PartialRecord<Record>> GiveShared(const PartialRecord<Record>& shared, int count, Fill fill)
    {
        ShownShared = shared.Fields;
        ShownCount = count;
        if (!Answer) {
            ++Calls;
            return std::nullopt;
        }
        PartialRecord<Record> answer{shared.Value, Changes & AllFields<Record>()};
        fill(answer.Value); // counts the call
        return answer;
    }

    // Counts the call and keeps what was shown; when answering, gives the shown record with the
    // scripted fields put in.
    template <typename Record, typename Fill>
    std::optional<Record> Give(const Record& value, std::optional<Record>& shown, Fill fill)
    {
        ++Calls;
        shown = value;
        if (!Answer)
            return std::nullopt;
        Record answer = value;
        fill(answer);
        return answer;
    }
};
