#pragma once
// Pieces that every record dialog shares: the read-only object name field, the number fields
// with their "Bad parameter" check, and the OK/Cancel pair; for a dialog over several records,
// the fields shown as mixed and the reading of what the user changed.

#include "dialogs/recordfields.h"
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

// What a field shows in place of the values of records that differ in it.
inline QString MixedText() { return QStringLiteral("(mixed)"); }

// A field of a dialog over several records: the records' shared value, or (nothing) empty with
// the "(mixed)" placeholder.
void ShowSharedNumber(QLineEdit* field, std::optional<float> value, QChar decimalSeparator);
void ShowSharedText(QLineEdit* field, std::optional<QString> text);

// What the user did to a number field shown by ShowSharedNumber. A field left as shown, or a mixed
// field left empty, is unchanged and not read; any other text must be a number.
struct TypedNumber {
    bool Valid = true;
    bool Typed = false;
    float Value = 0;
};
TypedNumber ReadTypedNumber(QLineEdit* field, std::optional<float> shown, QChar decimalSeparator);

// A number field of a dialog over several records and the record field it shows.
template <typename Record>
struct SharedNumber {
    QLineEdit* Edit;
    RecordField Name;
    float Record::*Member;
};

// ReadNumbers for a dialog over several records: reads, in order, the fields the user typed in;
// at the first that is not a number shows "Bad parameter", puts the focus there and returns false.
// Only when all of them read are they noted in `changes` (a value every record holds already is no
// change).
template <typename Record>
bool ReadChangedNumbers(CUserPrompts& prompts, QWidget* dialog, QChar decimalSeparator,
                        const PartialRecord<Record>& shown, PartialRecord<Record>& changes,
                        std::initializer_list<SharedNumber<Record>> fields)
{
    PartialRecord<Record> read = changes;
    for (const SharedNumber<Record>& field : fields) {
        const std::optional<float> before =
            shown.Fields.testFlag(field.Name) ? std::optional<float>(shown.Value.*field.Member) : std::nullopt;
        const TypedNumber typed = ReadTypedNumber(field.Edit, before, decimalSeparator);
        if (!typed.Valid) {
            prompts.Message(dialog, QStringLiteral("Bad parameter"));
            field.Edit->setFocus();
            return false;
        }
        if (typed.Typed)
            NoteChoice(shown, read, field.Name, field.Member, typed.Value);
        else
            read.Fields &= ~RecordFields(field.Name);
    }
    changes = read;
    return true;
}

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

// Fills a fresh record dialog over `count` records with what they share, runs it through the
// prompts and gives back the fields the user changed, or nothing on Cancel.
template <typename Dialog, typename Record>
std::optional<PartialRecord<Record>> RunSharedDialog(CUserPrompts& prompts, Dialog& dialog,
                                                     const PartialRecord<Record>& shared, int count)
{
    dialog.FillShared(shared, count);
    if (prompts.Run(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Changes();
}

// The caption of a dialog over several records: its own, and how many records of the list.
void CaptionForSeveral(QDialog* dialog, RecordList list, int count);
