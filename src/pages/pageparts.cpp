#include "pages/pageparts.h"

#include "pages/recordgrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pageparts {

QWidget* ButtonColumn(const QString& name, std::initializer_list<std::pair<QPushButton**, const char*>> buttons,
                      std::initializer_list<QString> captions)
{
    auto* column = new QWidget;
    column->setObjectName(name);
    column->setFixedWidth(61);
    int top = 8;
    auto caption = captions.begin();
    for (const auto& [button, objectName] : buttons) {
        *button = new QPushButton(*caption++, column);
        (*button)->setObjectName(QLatin1String(objectName));
        (*button)->setGeometry(8, top, 45, 20);
        top += 24;
    }
    column->setMinimumHeight(top);
    return column;
}

QWidget* GridWithButtons(CRecordGrid* grid, QWidget* buttons, QWidget* above)
{
    auto* panel = new QWidget;
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (above) {
        auto* column = new QVBoxLayout;
        column->setSpacing(0);
        column->addWidget(above);
        column->addWidget(grid, 1);
        layout->addLayout(column, 1);
    } else {
        layout->addWidget(grid, 1);
    }
    layout->addWidget(buttons);
    return panel;
}

} // namespace pageparts
