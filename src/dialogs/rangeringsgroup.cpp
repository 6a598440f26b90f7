#include "dialogs/rangeringsgroup.h"

#include "dialogs/dialogparts.h"
#include "dialogs/userprompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CRangeRingsGroup::CRangeRingsGroup(QWidget* parent) : QGroupBox(QStringLiteral(" Range rings "), parent)
{
    setObjectName(QStringLiteral("gbRangeRings"));
    const char* const names[3] = {"edKeysiteRings", "edAirbaseRings", "edSAMRings"};
    const QString labels[3] = {QStringLiteral("Keysites"), QStringLiteral("Airbases"), QStringLiteral("SAMs")};
    auto* grid = new QGridLayout(this);
    for (int kind = 0; kind < 3; ++kind) {
        m_edRadii[kind] = Named(new QLineEdit(this), names[kind]);
        m_edRadii[kind]->setPlaceholderText(QStringLiteral("none"));
        m_edRadii[kind]->setToolTip(QStringLiteral("Radii in world units, separated by commas: 30000, 60000"));
        grid->addWidget(new QLabel(labels[kind], this), kind, 0);
        grid->addWidget(m_edRadii[kind], kind, 1);
    }
    m_cbOnlySelected =
        Named(new QCheckBox(QStringLiteral("Only around selected records"), this), "cbRingsOnlySelected");
    grid->addWidget(m_cbOnlySelected, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void CRangeRingsGroup::Fill(const RangeRings& rings)
{
    for (int kind = 0; kind < 3; ++kind)
        m_edRadii[kind]->setText(rangerings::RadiiText(rings.Radii[size_t(kind)]));
    m_cbOnlySelected->setChecked(rings.OnlySelected);
}

std::optional<RangeRings> CRangeRingsGroup::Read(CUserPrompts& prompts) const
{
    RangeRings rings;
    for (int kind = 0; kind < 3; ++kind) {
        QString problem;
        const auto radii = rangerings::ParseRadii(m_edRadii[kind]->text(), &problem);
        if (!radii) {
            prompts.Message(window(), QStringLiteral("Range rings: %1").arg(problem));
            m_edRadii[kind]->setFocus();
            return std::nullopt;
        }
        rings.Radii[size_t(kind)] = *radii;
    }
    rings.OnlySelected = m_cbOnlySelected->isChecked();
    return rings;
}
