#pragma once
// The tests reach a dialog's controls by their object names, as a user reaches them by sight; a
// control that is not there ends the test program at once.

#include <QAbstractButton>
#include <QLineEdit>
#include <QObject>
#include <QTest>

template <typename Control>
Control* Find(const QObject& dialog, const char* name)
{
    auto* control = dialog.findChild<Control*>(QLatin1String(name));
    if (!control)
        qFatal("the dialog has no %s named %s", Control::staticMetaObject.className(), name);
    return control;
}

// Replaces a field's text as the user would: empties it and types.
inline void Type(QLineEdit* field, const QString& text)
{
    field->clear();
    QTest::keyClicks(field, text);
}

// A left click on the named button.
inline void Press(const QObject& dialog, const char* name)
{
    QTest::mouseClick(Find<QAbstractButton>(dialog, name), Qt::LeftButton);
}
