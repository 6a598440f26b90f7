#pragma once
// A record editor that answers like a user would have: each call takes the next scripted answer,
// applies the values it carries and records what the dialog was opened with.

#include "document/recordeditor.h"

#include <deque>
#include <optional>

struct ScriptedAnswer {
    bool Confirm = true;
    std::optional<int32_t> Number; // type code, template number or object index, by dialog
    std::optional<float> X;
    std::optional<float> Z;
};

class ScriptedEditor : public CRecordEditor {
public:
    std::deque<ScriptedAnswer> Answers;
    int32_t ShownNumber = -100; // what the last dialog was opened with
    int Calls = 0;

    bool EditKeysiteTemplate(const C3DObjectsList&, const CPopTemplatesTypesList&, int32_t& typeCode, int32_t&,
                             int32_t&, int32_t&) override
    {
        return Apply(typeCode, nullptr, nullptr);
    }
    bool EditTemplateObject(const C3DObjectsList&, float& x, float& z, float&, int32_t& objectIndex) override
    {
        return Apply(objectIndex, &x, &z);
    }
    bool EditKeysitePlacement(int32_t& templateNumber, float& x, float& z) override
    {
        return Apply(templateNumber, &x, &z);
    }
    bool EditAirbasePlacement(const C3DObjectsList&, int32_t& objectIndex, float& x, float& z) override
    {
        return Apply(objectIndex, &x, &z);
    }
    bool EditSamPlacement(float& x, float& z) override
    {
        int32_t none = 0;
        return Apply(none, &x, &z);
    }

private:
    bool Apply(int32_t& number, float* x, float* z)
    {
        ++Calls;
        ShownNumber = number;
        const ScriptedAnswer answer = Answers.empty() ? ScriptedAnswer{false, {}, {}, {}} : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        if (!answer.Confirm)
            return false;
        if (answer.Number)
            number = *answer.Number;
        if (x && answer.X)
            *x = *answer.X;
        if (z && answer.Z)
            *z = *answer.Z;
        return true;
    }
};
