// The document's menu commands: new, load, save, settings, about and exit.
#include "app/mainwindow.h"

#include "app/fileplaces.h"
#include "app/mapcontrolcolumn.h"
#include "app/waitcursor.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/configurationdialog.h"
#include "document/binfile.h"
#include "mapview/mapcanvas.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

void TfrmMain::New1Click()
{
    if (!Document)
        return;
    Document->Clear();
    FillTemplateGrid();
    FillKeysiteGrid();
    FillAirbaseGrid();
    FillSamGrid();
    RefreshMap();
}

void TfrmMain::Load1Click()
{
    QString path;
    if (m_prompts.OpenFile(this, OpenDialogBIN, path))
        OpenBinFile(path);
    else
        RefreshMap();
}

void TfrmMain::OpenBinFile(const QString& path)
{
    if (LoadBinFile(path))
        FilePlaces->AddRecentFile(path, CFilePlaces::Kind::MapBin);
    else
        m_prompts.Message(this, QStringLiteral("Open failed"));
    RefreshMap();
}

bool TfrmMain::LoadBinFile(const QString& path)
{
    if (!Document || !QFileInfo(path).isFile())
        return false;
    CWaitCursor wait;
    // The document is emptied only once the whole file has been read: a damaged file leaves the
    // records on screen as they were.
    if (!Document->LoadReplacing(path))
        return false;
    BinFilePath = path;
    FillTemplateGrid();
    FillKeysiteGrid();
    FillAirbaseGrid();
    FillSamGrid();
    return true;
}

void TfrmMain::Save1Click()
{
    // Propose the last loaded file, in its own folder.
    qsizetype split = -1;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        split = std::max(split, BinFilePath.lastIndexOf(separator));
    SaveDialogBIN.Folder = BinFilePath.left(split + 1);
    SaveDialogBIN.FileName = BinFilePath.mid(split + 1);
    QString path;
    if (m_prompts.SaveFile(this, SaveDialogBIN, path) && !SaveBinFile(path))
        m_prompts.Message(this, QStringLiteral("Save failed"));
}

bool TfrmMain::SaveBinFile(const QString& path)
{
    if (!Document)
        return false;
    CWaitCursor wait;
    return Document->Save(path, true);
}

void TfrmMain::Exit1Click()
{
    close();
}

void TfrmMain::Settings1Click()
{
    if (Settings && EditSymbology(m_prompts, this, *Settings, m_environment.SettingsFile))
        RefreshMap();
}

void TfrmMain::About1Click()
{
    ShowAbout(m_prompts, this);
}
