#include "dialogs/aboutdialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"
#include "sablemapversion.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A small relief map: height bands, a river and three site markers.
QPixmap AboutPicture()
{
    QPixmap picture(96, 96);
    picture.fill(QColor(46, 92, 140));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor bands[] = {QColor(84, 140, 72), QColor(140, 170, 90), QColor(196, 182, 120), QColor(230, 224, 210)};
    for (int i = 0; i < 4; ++i) {
        const int inset = 8 + i * 11;
        QPainterPath hill;
        hill.addEllipse(QRectF(inset - 4, inset + 2, 96 - 2 * inset + 10, 96 - 2 * inset - 4));
        painter.fillPath(hill, bands[i]);
    }
    painter.setPen(QPen(QColor(60, 120, 200), 3));
    painter.drawLine(QPoint(0, 70), QPoint(96, 84));
    painter.setPen(QPen(QColor(0, 128, 0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(28, 30, 8, 8));
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.drawEllipse(QRect(58, 40, 10, 10));
    painter.drawLine(QPoint(44, 58), QPoint(54, 68));
    painter.drawLine(QPoint(54, 58), QPoint(44, 68));
    return picture;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    m_imPicture = Named(new QLabel(this), "imPicture");
    m_imPicture->setPixmap(AboutPicture());
    m_imPicture->setFrameShape(QFrame::StyledPanel);
    m_lblCredits = Named(new QLabel(this), "lblCredits");
    m_lblCredits->setText(QStringLiteral("<b>Sablemap</b><br>Campaign map editor for Skyreach<br><br>"
                                         "Keysite templates, keysites, airbases and SAM sites,<br>"
                                         "faction assignment and symbology."));
    m_lblCredits->setTextFormat(Qt::RichText);
    auto* versionCaption = new QLabel(QStringLiteral("Version"), this);
    m_lblVersion = Named(new QLabel(this), "lblVersion");
    m_btnOK = Named(new QPushButton(QStringLiteral("OK"), this), "btnOK");
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QGridLayout;
    text->addWidget(m_lblCredits, 0, 0, 1, 2);
    text->addWidget(versionCaption, 1, 0);
    text->addWidget(m_lblVersion, 1, 1);
    text->setColumnStretch(1, 1);
    text->setRowStretch(2, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_imPicture, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_btnOK);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TfrmAbout::FormShow() { m_lblVersion->setText(QStringLiteral(SABLEMAP_VERSION)); }

void ShowAbout(CUserPrompts& prompts, QWidget* parent)
{
    TfrmAbout about(parent);
    about.FormShow();
    prompts.Run(about);
}
