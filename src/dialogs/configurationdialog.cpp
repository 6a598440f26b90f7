#include "dialogs/configurationdialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/rangeringsgroup.h"
#include "dialogs/userprompts.h"
#include "mapview/tarnconfig.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

QColor ColorFromRgbValue(int32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

int32_t RgbValueFromColor(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

// --- Swatch ------------------------------------------------------------------------------------

CColorSwatch::CColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFixedSize(22, 22);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Click to choose the colour"));
}

void CColorSwatch::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void CColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit Released();
}

// --- Dialog ------------------------------------------------------------------------------------

namespace {

QSpinBox* SizeBox(QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(1, 20);
    box->setSingleStep(1);
    return box;
}

void ShowStyle(const SymbolStyle& style, QComboBox* shape, QSpinBox* size, CColorSwatch* color)
{
    shape->setCurrentIndex(style.Shape < shape->count() ? style.Shape : -1);
    size->setValue(std::clamp(style.Size, 1, 20));
    color->SetColor(ColorFromRgbValue(style.Color));
}

void StoreStyle(SymbolStyle& style, const QComboBox* shape, QSpinBox* size, const CColorSwatch* color)
{
    style.Shape = static_cast<uint8_t>(shape->currentIndex()); // no item: 255, which draws nothing
    size->interpretText(); // a value typed but not yet confirmed counts, within 1..20
    style.Size = size->value();
    style.Color = RgbValueFromColor(color->Color());
}

} // namespace

TfrmConfigurationDialog::TfrmConfigurationDialog(CUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts)
{
    setWindowTitle(QStringLiteral("Configuration"));
    auto* gbSymbology = new QGroupBox(QStringLiteral(" Symbology "), this);
    m_cbKeysitesShape = Named(new QComboBox(gbSymbology), "cbKeysitesShape");
    m_cbAirbasesShape = Named(new QComboBox(gbSymbology), "cbAirbasesShape");
    m_cbSAMsShape = Named(new QComboBox(gbSymbology), "cbSAMsShape");
    m_seKeysitesSize = Named(SizeBox(gbSymbology), "seKeysitesSize");
    m_seAirbasesSize = Named(SizeBox(gbSymbology), "seAirbasesSize");
    m_seSAMsSize = Named(SizeBox(gbSymbology), "seSAMsSize");
    m_shKeysitesColor = Named(new CColorSwatch(gbSymbology), "shKeysitesColor");
    m_shAirbasesColor = Named(new CColorSwatch(gbSymbology), "shAirbasesColor");
    m_shSAMsColor = Named(new CColorSwatch(gbSymbology), "shSAMsColor");

    // FormCreate: the four shapes, item i being shape code i, in all three boxes.
    m_cbKeysitesShape->clear();
    m_cbKeysitesShape->addItems(
        {QStringLiteral("Square"), QStringLiteral("Circle"), QStringLiteral("Cross"), QStringLiteral("Triangle")});
    for (QComboBox* box : {m_cbAirbasesShape, m_cbSAMsShape}) {
        box->clear();
        for (int i = 0; i < m_cbKeysitesShape->count(); ++i)
            box->addItem(m_cbKeysitesShape->itemText(i));
    }

    auto* grid = new QGridLayout(gbSymbology);
    grid->addWidget(new QLabel(QStringLiteral("Shape"), gbSymbology), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Size"), gbSymbology), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Color"), gbSymbology), 0, 3);
    const QString rows[] = {QStringLiteral("Keysites"), QStringLiteral("Airbases"), QStringLiteral("SAMs")};
    QComboBox* shapes[] = {m_cbKeysitesShape, m_cbAirbasesShape, m_cbSAMsShape};
    QSpinBox* sizes[] = {m_seKeysitesSize, m_seAirbasesSize, m_seSAMsSize};
    CColorSwatch* colors[] = {m_shKeysitesColor, m_shAirbasesColor, m_shSAMsColor};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(rows[row], gbSymbology), row + 1, 0);
        grid->addWidget(shapes[row], row + 1, 1);
        grid->addWidget(sizes[row], row + 1, 2);
        grid->addWidget(colors[row], row + 1, 3, Qt::AlignCenter);
        CColorSwatch* swatch = colors[row];
        connect(swatch, &CColorSwatch::Released, this, [this, swatch] { SelectColor(swatch); });
    }
    grid->setColumnStretch(1, 1);

    auto* gbBackups = new QGroupBox(QStringLiteral(" Backups "), this);
    m_seBackupsKept = Named(new QSpinBox(gbBackups), "seBackupsKept");
    m_seBackupsKept->setRange(0, 100);
    m_seBackupsKept->setSpecialValueText(QStringLiteral("none"));
    m_seBackupsKept->setToolTip(QStringLiteral("Each save first keeps the file it replaces; the newest ones are kept"));
    auto* backupsRow = new QHBoxLayout(gbBackups);
    backupsRow->addWidget(new QLabel(QStringLiteral("Kept of each saved file"), gbBackups));
    backupsRow->addWidget(m_seBackupsKept);

    const OkCancelButtons buttons = MakeOkCancel(this, QStringLiteral("Ok"));
    m_btnOk = Named(buttons.Ok, "btnOk");
    m_btnCancel = Named(buttons.Cancel, "btnCancel");
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_gbRangeRings = new CRangeRingsGroup(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbSymbology);
    layout->addWidget(m_gbRangeRings);
    layout->addWidget(gbBackups);
    layout->addStretch(1);
    layout->addLayout(buttons.Row);

    SetTabChain({m_cbKeysitesShape, m_cbAirbasesShape, m_cbSAMsShape, m_seKeysitesSize, m_seAirbasesSize, m_seSAMsSize,
                 m_seBackupsKept, m_btnOk, m_btnCancel});
    FixOuterSize(this, 286, 245);
}

void TfrmConfigurationDialog::Fill(const CTarnConfig& settings)
{
    ShowStyle(settings.Style(KeysiteKind), m_cbKeysitesShape, m_seKeysitesSize, m_shKeysitesColor);
    ShowStyle(settings.Style(AirbaseKind), m_cbAirbasesShape, m_seAirbasesSize, m_shAirbasesColor);
    ShowStyle(settings.Style(SamKind), m_cbSAMsShape, m_seSAMsSize, m_shSAMsColor);
}

void TfrmConfigurationDialog::Store(CTarnConfig& settings) const
{
    StoreStyle(settings.Style(KeysiteKind), m_cbKeysitesShape, m_seKeysitesSize, m_shKeysitesColor);
    StoreStyle(settings.Style(AirbaseKind), m_cbAirbasesShape, m_seAirbasesSize, m_shAirbasesColor);
    StoreStyle(settings.Style(SamKind), m_cbSAMsShape, m_seSAMsSize, m_shSAMsColor);
}

void TfrmConfigurationDialog::FillRings(const RangeRings& rings) { m_gbRangeRings->Fill(rings); }

RangeRings TfrmConfigurationDialog::Rings() const { return m_gbRangeRings->Read(m_prompts).value_or(RangeRings()); }

void TfrmConfigurationDialog::accept()
{
    if (m_gbRangeRings->Read(m_prompts))
        QDialog::accept();
}

void TfrmConfigurationDialog::SetBackupsKept(int kept) { m_seBackupsKept->setValue(kept); }

int TfrmConfigurationDialog::BackupsKept() const
{
    m_seBackupsKept->interpretText(); // a number typed but not yet confirmed counts
    return m_seBackupsKept->value();
}

void TfrmConfigurationDialog::SelectColor(CColorSwatch* swatch)
{
    QColor chosen;
    if (m_prompts.ChooseColor(this, swatch->Color(), chosen))
        swatch->SetColor(chosen);
}

bool EditSymbology(CUserPrompts& prompts, QWidget* parent, CTarnConfig& settings, const QString& settingsFile,
                   RangeRings* rings, int* backupsKept)
{
    TfrmConfigurationDialog dialog(prompts, parent);
    dialog.Fill(settings);
    if (rings)
        dialog.FillRings(*rings);
    if (backupsKept)
        dialog.SetBackupsKept(*backupsKept);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return false;
    dialog.Store(settings);
    if (rings)
        *rings = dialog.Rings();
    if (backupsKept)
        *backupsKept = dialog.BackupsKept();
    QString message;
    QString reason;
    if (!settings.Save(settingsFile, &message, &reason)) {
        prompts.Error(parent, message, reason);
        return false;
    }
    return true;
}
