#pragma once
// Where a map tool is tried without a window: a session of SAM sites on the small test terrain,
// seen whole in a picture of 200 x 160 pixels.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/mapwindow.h"
#include "session/campaignsession.h"
#include "testterrain.h"

#include <QPoint>
#include <memory>
#include <vector>

struct CToolGround {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    const CMap Map = TestTerrain(16, 2);
    std::unique_ptr<CCampaignSession> Session;
    std::unique_ptr<CMapWindow> View;

    // A fresh session holding `sams`, and the whole terrain in view.
    bool Reset(const std::vector<CSAMPlacement>& sams)
    {
        Session = std::make_unique<CCampaignSession>(Catalogue, Types, TextFormat());
        if (!Session->MutableRecords().InsertRows(0, sams))
            return false;
        View = std::make_unique<CMapWindow>(&Map);
        View->SetSize(200, 160);
        View->ResetView();
        return true;
    }
    // The picture pixel over the record position (x, z).
    QPoint PixelOf(float x, float z) const
    {
        int32_t column = 0;
        int32_t row = 0;
        View->Viewport().MapToPixel(x, z, column, row);
        return {column, row};
    }
};
