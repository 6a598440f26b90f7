#pragma once
// The about box: a picture, the credits and the program's version.

#include <QDialog>

class CUserPrompts;
class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent);
    // Sets the version label; done each time the box opens.
    void FormShow();

private:
    QLabel* m_imPicture;
    QLabel* m_lblCredits;
    QLabel* m_lblVersion;
    QPushButton* m_btnOK;
};

void ShowAbout(CUserPrompts& prompts, QWidget* parent);
