#pragma once
// The filter above a grid: a field for the filter expression of its list (session/recordfilters.h)
// and the count of records shown beside it, "1,234 of 60,000" while a filter hides some, "60,000"
// otherwise. A text that cannot be read gets a red border and the reason as its tooltip, and hides
// nothing. Escape in the field clears it. Object names: "edFilter" and "lbFilterCount" followed by
// the grid's name without its "gr" ("edFilterSAMs"). The lists placed on the map also get the box
// "Only filtered on map" ("chbOnlyFilteredSAMs"): the map then draws only the records shown here.

#include "document/records.h"

#include <QWidget>

class CCampaignSession;
class QCheckBox;
class QLabel;
class QLineEdit;

class CFilterBar : public QWidget {
    Q_OBJECT
public:
    CFilterBar(CCampaignSession& session, RecordList list, QWidget* parent = nullptr);

    // Ctrl+F: the field takes the focus with its text selected.
    void FocusField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    CCampaignSession& m_session;
    RecordList m_list;
    QLineEdit* m_field = nullptr;
    QLabel* m_count = nullptr;
    QCheckBox* m_onlyOnMap = nullptr;
};
