#pragma once
// Pieces that every record dialog shares: the read-only object name field, the number fields
// with their "Bad parameter" check, and the OK/Cancel pair.

#include "dialogs/userprompts.h"

#include <QChar>
#include <QDialog>
#include <initializer_list>
#include <optional>

class QLineEdit;
class QPushButton;
class QHBoxLayout;
class QLayout;

// Gives a control the name it is found by (the tests drive the dialogs through these names).
template <typename Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// A read-only, disabled name box drawn in the button face colour.
QLineEdit* MakeNameField(QWidget* parent);

// Shows a float as the dialogs do: general form, 15 significant digits, the given separator.
void ShowNumber(QLineEdit* field, float value, QChar decimalSeparator);

// Reads each field in order; at the first that is not a number, shows "Bad parameter", puts the
// keyboard focus on that field and returns false. Only when every field is a number are the values
// stored. The texts are left as the user typed them.
bool ReadNumbers(CUserPrompts& prompts, QWidget* dialog, QChar decimalSeparator,
                 std::initializer_list<std::pair<QLineEdit*, float*>> fields);

// OK (the default button, Enter) and Cancel (Esc, like closing the window), right-aligned.
struct OkCancelButtons {
    QPushButton* Ok;
    QPushButton* Cancel;
    QHBoxLayout* Row;
};
OkCancelButtons MakeOkCancel(QDialog* dialog, const QString& okCaption = QStringLiteral("OK"));

// The usual record dialog: the form on top, room below it, the OK/Cancel row at the bottom.
void LayOutFormDialog(QDialog* dialog, QLayout* form, const OkCancelButtons& buttons);

// The keyboard's Tab runs through the widgets in this order.
void SetTabChain(std::initializer_list<QWidget*> widgets);

// Sizes a dialog to the given outer size (window frame included), never below what its layout
// needs, and keeps it at that size.
void FixOuterSize(QDialog* dialog, int outerWidth, int outerHeight);

// Fills a fresh record dialog with `value`, runs it through the prompts and gives back the record
// it confirmed, or nothing on Cancel.
template <typename Dialog, typename Record>
std::optional<Record> RunRecordDialog(CUserPrompts& prompts, Dialog& dialog, const Record& value)
{
    dialog.Fill(value);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Values();
}
