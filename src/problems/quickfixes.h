#pragma once
// The plain fixes the problems panel offers, each one step of the undo history (or, for two
// records at one position, a selection: which of them should move is the user's to say):
// - a name the catalogue lacks: the object picker on that field, the name chosen written back;
// - a template no keysite uses: deleted;
// - a placement at another's position: both selected.

#include "checks/findings.h"

#include <QString>

class C3DObjectsList;
class CCampaignSession;
class CUserPrompts;
class QWidget;

enum class QuickFix : uint8_t { None, ChooseObject, DeleteTemplate, SelectBoth };

QuickFix FixOf(const Finding& finding);
// The caption of the fix's button and menu entry; empty for none.
QString FixCaption(QuickFix fix);

class CQuickFixes {
public:
    CQuickFixes(CCampaignSession& session, const C3DObjectsList& catalogue, CUserPrompts& prompts, QWidget* window)
        : m_session(session), m_catalogue(catalogue), m_prompts(prompts), m_window(window)
    {
    }

    // Applies the finding's fix; false when it has none, the user cancelled, or the records it
    // names are no longer there.
    bool Apply(const Finding& finding);

private:
    bool ChooseObject(const Finding& finding);
    bool DeleteTemplate(const Finding& finding);
    bool SelectBoth(const Finding& finding);

    CCampaignSession& m_session;
    const C3DObjectsList& m_catalogue;
    CUserPrompts& m_prompts;
    QWidget* m_window;
};
