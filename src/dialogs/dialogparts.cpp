#include "dialogs/dialogparts.h"

#include "dialogs/userprompts.h"
#include "document/numbertext.h"
#include "document/recordlists.h"

#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

QLineEdit* MakeNameField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setEnabled(false);
    QPalette palette = field->palette();
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, face);
    // Disabled text is usually too faint to read a name in; keep it legible.
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    field->setPalette(palette);
    return field;
}

void ShowNumber(QLineEdit* field, float value, QChar decimalSeparator)
{
    field->setText(FloatText(value, decimalSeparator));
}

void ShowSharedNumber(QLineEdit* field, std::optional<float> value, QChar decimalSeparator)
{
    ShowSharedText(field, value ? std::optional(FloatText(*value, decimalSeparator)) : std::nullopt);
}

void ShowSharedText(QLineEdit* field, std::optional<QString> text)
{
    field->setText(text.value_or(QString()));
    field->setPlaceholderText(text ? QString() : MixedText());
}

TypedNumber ReadTypedNumber(QLineEdit* field, std::optional<float> shown, QChar decimalSeparator)
{
    const QString text = field->text();
    // Only what the user typed is read: a shown value the reader would not take back stays as it is.
    if (shown ? text == FloatText(*shown, decimalSeparator) : text.trimmed().isEmpty())
        return {};
    const std::optional<float> value = TextToFloat32(text, decimalSeparator);
    return value ? TypedNumber{true, true, *value} : TypedNumber{false, false, 0};
}

void CaptionForSeveral(QDialog* dialog, RecordList list, int count)
{
    dialog->setWindowTitle(dialog->windowTitle() + QStringLiteral(" (") + CountedRecords(list, count)
                           + QLatin1Char(')'));
}

namespace {

std::optional<float> ReadNumber(CUserPrompts& prompts, QWidget* dialog, QLineEdit* field, QChar decimalSeparator)
{
    const std::optional<float> value = TextToFloat32(field->text(), decimalSeparator);
    if (!value) {
        prompts.Message(dialog, QStringLiteral("Bad parameter"));
        field->setFocus();
    }
    return value;
}

} // namespace

bool ReadNumbers(CUserPrompts& prompts, QWidget* dialog, QChar decimalSeparator,
                 std::initializer_list<std::pair<QLineEdit*, float*>> fields)
{
    std::vector<float> values;
    for (const auto& [field, value] : fields) {
        const std::optional<float> read = ReadNumber(prompts, dialog, field, decimalSeparator);
        if (!read)
            return false;
        values.push_back(*read);
    }
    auto next = values.begin();
    for (const auto& [field, value] : fields)
        *value = *next++;
    return true;
}

OkCancelButtons MakeOkCancel(QDialog* dialog, const QString& okCaption)
{
    OkCancelButtons buttons;
    buttons.Ok = new QPushButton(okCaption, dialog);
    buttons.Ok->setDefault(true);
    buttons.Ok->setAutoDefault(true);
    buttons.Cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    buttons.Cancel->setAutoDefault(false);
    QObject::connect(buttons.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    buttons.Row = new QHBoxLayout;
    buttons.Row->addStretch(1);
    buttons.Row->addWidget(buttons.Ok);
    buttons.Row->addWidget(buttons.Cancel);
    return buttons;
}

void FixOuterSize(QDialog* dialog, int outerWidth, int outerHeight)
{
    // A typical decorated frame: 4 pixels on each side and a title bar of about 26.
    constexpr int kFrameWidth = 8;
    constexpr int kFrameHeight = 34;
    QSize size(outerWidth - kFrameWidth, outerHeight - kFrameHeight);
    if (dialog->layout())
        size = size.expandedTo(dialog->layout()->sizeHint());
    dialog->setFixedSize(size);
}

void LayOutFormDialog(QDialog* dialog, QLayout* form, const OkCancelButtons& buttons)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons.Row);
}

void SetTabChain(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
