#pragma once
// The records of a campaign document. Records hold catalogue indices, never object names; a keysite
// refers to its template by identity and the template counts its keysites.

#include "catalogues/objectslist.h"

#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class CPopTemplatesTypesList;
class CRecordEditor;

// A grid row as the list of its cell texts; column 0 is the grid's fixed column.
using GridRow = QStringList;

// How numbers become cell text: the locale's decimal separator in the window, "." in the tool.
struct TextFormat {
    QChar DecimalSeparator = QLatin1Char('.');
};

class CThreeDObject {
public:
    explicit CThreeDObject(const C3DObjectsList* catalogue) : m_catalogue(catalogue) {}

    bool Edit(CRecordEditor& editor);
    bool FillRow(GridRow& row, int number, const TextFormat& format) const;

    float X = 0;
    float Z = 0;
    float Heading = 0;
    int32_t ObjectIndex = NoObjectIndex;

private:
    const C3DObjectsList* m_catalogue;
};

class CPopTemplate {
public:
    CPopTemplate(const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types)
        : m_catalogue(catalogue), m_types(types) {}
    CPopTemplate(const CPopTemplate&) = delete;
    CPopTemplate& operator=(const CPopTemplate&) = delete;

    void AddRef() { ++UseCount; }
    void Release() { if (UseCount > 0) --UseCount; }
    bool HasNoUsers() const { return UseCount == 0; }

    bool Edit(CRecordEditor& editor);
    bool FillRow(GridRow& row, int number, const TextFormat& format) const;
    const C3DObjectsList* Catalogue() const { return m_catalogue; }

    std::vector<std::unique_ptr<CThreeDObject>> Objects;
    int32_t TypeCode = -1;
    int32_t UseCount = 0;
    int32_t ApproximationObject = NoObjectIndex;
    int32_t BaseObject = NoObjectIndex;
    int32_t RouteObject = NoObjectIndex;

private:
    const C3DObjectsList* m_catalogue;
    const CPopTemplatesTypesList* m_types;
};

using TemplateList = std::vector<std::unique_ptr<CPopTemplate>>;

class CKeysitePlacement {
public:
    explicit CKeysitePlacement(const TemplateList* templates) : m_templates(templates) {}
    ~CKeysitePlacement() { if (Template) Template->Release(); }
    CKeysitePlacement(const CKeysitePlacement&) = delete;
    CKeysitePlacement& operator=(const CKeysitePlacement&) = delete;

    // Position of the template in the document's list, -1 without template.
    int32_t TemplateIndex() const;
    // Gives up the current template (if any) and takes `tmpl` (may be null), keeping use counts.
    void SetTemplate(CPopTemplate* tmpl);

    bool Edit(CRecordEditor& editor);
    // `templateIndex` is TemplateIndex(), passed in when the caller already knows it.
    bool FillRow(GridRow& row, int number, int32_t templateIndex, const TextFormat& format) const;
    void GetPosition(float& x, float& z) const { x = X; z = Z; }
    void SetPosition(float x, float z) { X = x; Z = z; }

    CPopTemplate* Template = nullptr;
    float X = 0;
    float Z = 0;

private:
    const TemplateList* m_templates;
};

class CAirbasePlacement {
public:
    explicit CAirbasePlacement(const C3DObjectsList* catalogue) : m_catalogue(catalogue) {}

    bool Edit(CRecordEditor& editor);
    bool FillRow(GridRow& row, int number, const TextFormat& format) const;
    void GetPosition(float& x, float& z) const { x = X; z = Z; }
    void SetPosition(float x, float z) { X = x; Z = z; }

    float X = 0;
    float Z = 0;
    int32_t ObjectIndex = NoObjectIndex;

private:
    const C3DObjectsList* m_catalogue;
};

class CSAMPlacement {
public:
    bool Edit(CRecordEditor& editor);
    bool FillRow(GridRow& row, int number, const TextFormat& format) const;
    void GetPosition(float& x, float& z) const { x = X; z = Z; }
    void SetPosition(float x, float z) { X = x; Z = z; }

    float X = 0;
    float Z = 0;
};
