#pragma once
// The keysite templates page: the templates above, the objects of the current template below,
// each grid with its Add, Edit and Delete buttons. The objects grid follows the current template
// by itself (the session shows that template's objects).

#include <QWidget>

class CCampaignSession;
class CFilterBar;
class CRecordDialogs;
class CRecordGrid;
class CUserPrompts;
class QPushButton;
class QSplitter;

class CTemplatePage : public QWidget {
    Q_OBJECT
public:
    CTemplatePage(CCampaignSession& session, CRecordDialogs& dialogs, CUserPrompts& prompts, QWidget* parent = nullptr);

    // Between the templates and their objects: a later run brings it back.
    QSplitter* Splitter() const { return m_splitter; }
    // Ctrl+F: the filter of the grid last used (the templates' at first) takes the focus.
    void FocusFilter();

private:
    void TemplateAddClick();
    void TemplateEditClick();
    void TemplateDeleteClick();
    void ObjectAddClick();
    void ObjectEditClick();
    void ObjectDeleteClick();
    int CurrentTemplate() const;

    CCampaignSession& m_session;
    CRecordDialogs& m_dialogs;
    CUserPrompts& m_prompts;
    CRecordGrid* m_templates = nullptr;
    CRecordGrid* m_objects = nullptr;
    CFilterBar* m_templatesFilter = nullptr;
    CFilterBar* m_objectsFilter = nullptr;
    QSplitter* m_splitter = nullptr;
};
