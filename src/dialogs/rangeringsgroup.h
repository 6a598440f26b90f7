#pragma once
// The "Range rings" group of the Configuration dialog: the radii around keysites, airbases and
// SAM sites as lists typed by the user ("30000, 60000"), and whether rings go only around the
// records marked on the map.

#include "mapview/rangerings.h"

#include <QGroupBox>

class CUserPrompts;
class QCheckBox;
class QLineEdit;

class CRangeRingsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CRangeRingsGroup(QWidget* parent);
    void Fill(const RangeRings& rings);
    // The rings typed; at the first list that does not read, says why, puts the keyboard focus on
    // it and gives nothing.
    std::optional<RangeRings> Read(CUserPrompts& prompts) const;

private:
    QLineEdit* m_edRadii[3];
    QCheckBox* m_cbOnlySelected;
};
