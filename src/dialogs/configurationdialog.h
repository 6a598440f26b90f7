#pragma once
// The "Configuration" dialog: shape, size and colour of the keysite, airbase and SAM symbols, and
// the range rings around them, and how many backups each saved file keeps.

#include <QDialog>
#include <QFrame>

class CRangeRingsGroup;
class CTarnConfig;
struct RangeRings;
class CUserPrompts;
class QComboBox;
class QPushButton;
class QSpinBox;

// A 22 x 22 rectangle filled with one colour; releasing a mouse button over it asks for another.
class CColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);

signals:
    void Released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_color = Qt::black;
};

class TfrmConfigurationDialog : public QDialog {
    Q_OBJECT
public:
    TfrmConfigurationDialog(CUserPrompts& prompts, QWidget* parent);
    // Shows the three styles; a shape code outside 0..3 selects no item, sizes are kept in 1..20.
    void Fill(const CTarnConfig& settings);
    // Writes the dialog's values into the three styles; an unselected shape is stored as 255.
    void Store(CTarnConfig& settings) const;
    // The range rings shown, and those confirmed with OK (which refuses rings that do not read).
    void FillRings(const RangeRings& rings);
    RangeRings Rings() const;
    void accept() override;
    // Backups kept of each saved file, 0..100; 0 keeps none.
    void SetBackupsKept(int kept);
    int BackupsKept() const;

private:
    // Lets the user choose the colour of one swatch.
    void SelectColor(CColorSwatch* swatch);

    QComboBox* m_cbKeysitesShape;
    QComboBox* m_cbAirbasesShape;
    QComboBox* m_cbSAMsShape;
    QSpinBox* m_seKeysitesSize;
    QSpinBox* m_seAirbasesSize;
    QSpinBox* m_seSAMsSize;
    CColorSwatch* m_shKeysitesColor;
    CColorSwatch* m_shAirbasesColor;
    CColorSwatch* m_shSAMsColor;
    CRangeRingsGroup* m_gbRangeRings;
    QSpinBox* m_seBackupsKept;
    QPushButton* m_btnOk;
    QPushButton* m_btnCancel;
    CUserPrompts& m_prompts;
};

// Windows RGB values (red in the lowest byte) and colours.
QColor ColorFromRgbValue(int32_t value);
int32_t RgbValueFromColor(const QColor& color);

// Runs the dialog over `settings` (and `rings` and `backupsKept`, when given). On OK the new styles
// take effect and are written to `settingsFile`, `rings` takes the rings confirmed and `backupsKept`
// the number chosen; a file that cannot be written is reported and the result is false (the map is
// then not redrawn, though the new styles stay in effect).
bool EditSymbology(CUserPrompts& prompts, QWidget* parent, CTarnConfig& settings, const QString& settingsFile,
                   RangeRings* rings = nullptr, int* backupsKept = nullptr);
