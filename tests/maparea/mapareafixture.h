#pragma once
// A map area on a campaign session over the demonstration installation, found through its
// widgets' object names as a user meets them. The installation is generated once per test
// program; the tests only read it.

#include "../dialogs/scriptedprompts.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "maparea/debounce.h"
#include "maparea/maparea.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "mapview/mapwindow.h"
#include "mapview/tarnconfig.h"
#include "session/campaignsession.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>

class CMapAreaFixture {
public:
    static QString Root()
    {
        static QTemporaryDir folder;
        static const bool written = [] {
            QString error;
            const bool ok = WriteDemoInstallation(folder.path(), nullptr, &error);
            if (!ok)
                qWarning("demonstration installation: %s", qPrintable(error));
            return ok;
        }();
        return written ? folder.path() : QString();
    }
    static QString MapFolder(const char* name)
    {
        return Root() + QStringLiteral("/common/maps/") + QLatin1String(name);
    }
    static QString DemoFile(const char* name)
    {
        return MapFolder(kDemoFirstMap) + QLatin1Char('/') + QLatin1String(name);
    }

    // Builds the session and the area, shown at `size`.
    bool Start(QSize size = QSize(900, 500))
    {
        if (Root().isEmpty() || !Catalogue.LoadFromFile(Root() + QStringLiteral("/stormcr/3ddata/bininfo.bin")))
            return false;
        Session = std::make_unique<CCampaignSession>(Catalogue, Types, TextFormat());
        Area = std::make_unique<CMapArea>(*Session, Symbology, Prompts);
        Area->resize(size);
        Area->show();
        if (!QTest::qWaitForWindowExposed(Area.get()))
            return false;
        Image = Area->findChild<CMapImage*>(QStringLiteral("im"));
        Column = Area->findChild<CMapControlColumn*>(QStringLiteral("pnlMapControls"));
        return Image && Column;
    }
    // The campaign, its map with every symbol shown, and the window's first resize answered.
    bool OpenDemo()
    {
        if (!Session->LoadMapBin(DemoFile(kDemoCampaignFile)) || !Area->OpenMapFolder(MapFolder(kDemoFirstMap)))
            return false;
        MapAreaState state;
        state.Keysites = state.Airbases = state.Sams = true;
        Area->SetState(state);
        Timer("TimerMapResize")->Fire();
        Turn();
        return true;
    }
    bool LoadFactions() { return Session->LoadFactions(DemoFile(kDemoFactionFile)); }

    // Lets the event loop turn once: the area repaints what changed.
    static void Turn() { QCoreApplication::processEvents(); }
    CDebounce* Timer(const char* name) const { return Area->findChild<CDebounce*>(QLatin1String(name)); }
    QImage Picture() const { return Image->pixmap().toImage(); }
    const CMapWindow& View() const { return *Area->View(); }
    static QList<int32_t> Bounds(const CMapWindow& v) { return {v.ViewLeft, v.ViewRight, v.ViewBottom, v.ViewTop}; }
    // The picture pixel over the record position (x, z).
    QPoint PixelOf(float x, float z) const
    {
        int32_t column = 0;
        int32_t row = 0;
        View().Viewport().MapToPixel(x, z, column, row);
        return {column, row};
    }
    void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel) const
    {
        QTest::mouseClick(Image, button, modifiers, pixel);
    }
    void Wheel(int angle, QPoint pixel) const
    {
        QWheelEvent event(QPointF(pixel), QPointF(Image->mapToGlobal(pixel)), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Image, &event);
    }

    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CTarnConfig Symbology;
    CScriptedPrompts Prompts;
    std::unique_ptr<CCampaignSession> Session;
    std::unique_ptr<CMapArea> Area;
    CMapImage* Image = nullptr;
    CMapControlColumn* Column = nullptr;

    // A control of the column, by the object name the system gives it.
    template <typename Widget>
    Widget* Control(const char* name) const
    {
        auto* control = Column->findChild<Widget*>(QLatin1String(name));
        if (!control)
            qFatal("the column has no %s", name);
        return control;
    }
};
