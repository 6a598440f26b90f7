#pragma once
// The seam through which the document opens a record's editor dialog. The widget layer answers
// with the real dialogs; tests and the command-line tool answer with scripted values. Each call
// edits its arguments in place and returns true only when the user confirmed; on false the
// arguments are unchanged.

#include <cstdint>

class C3DObjectsList;
class CPopTemplatesTypesList;

class CRecordEditor {
public:
    virtual ~CRecordEditor() = default;

    virtual bool EditKeysiteTemplate(const C3DObjectsList& catalogue, const CPopTemplatesTypesList& types,
                                     int32_t& typeCode, int32_t& approximationObject, int32_t& baseObject,
                                     int32_t& routeObject) = 0;
    virtual bool EditTemplateObject(const C3DObjectsList& catalogue, float& x, float& z, float& heading,
                                    int32_t& objectIndex) = 0;
    virtual bool EditKeysitePlacement(int32_t& templateNumber, float& x, float& z) = 0;
    virtual bool EditAirbasePlacement(const C3DObjectsList& catalogue, int32_t& objectIndex, float& x, float& z) = 0;
    virtual bool EditSamPlacement(float& x, float& z) = 0;
};

// Declines every edit: a document without a window (the tool) adds and edits nothing.
class CDecliningRecordEditor : public CRecordEditor {
public:
    bool EditKeysiteTemplate(const C3DObjectsList&, const CPopTemplatesTypesList&, int32_t&, int32_t&, int32_t&,
                             int32_t&) override
    {
        return false;
    }
    bool EditTemplateObject(const C3DObjectsList&, float&, float&, float&, int32_t&) override { return false; }
    bool EditKeysitePlacement(int32_t&, float&, float&) override { return false; }
    bool EditAirbasePlacement(const C3DObjectsList&, int32_t&, float&, float&) override { return false; }
    bool EditSamPlacement(float&, float&) override { return false; }
};
