#pragma once
// The parts every record page is made of: a grid with its column of buttons beside it.

#include <QString>
#include <initializer_list>
#include <utility>

class CRecordGrid;
class QPushButton;
class QWidget;

namespace pageparts {

// A 61-pixel column of 45 x 20 buttons, 24 pixels apart; each button is given its caption and
// object name.
QWidget* ButtonColumn(const QString& name, std::initializer_list<std::pair<QPushButton**, const char*>> buttons,
                      std::initializer_list<QString> captions);
// The grid, growing, with the buttons at its right and `above` (its filter) over the grid alone.
QWidget* GridWithButtons(CRecordGrid* grid, QWidget* buttons, QWidget* above = nullptr);

} // namespace pageparts
