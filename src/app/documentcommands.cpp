// The document's menu commands: new, load, save, settings, about and exit.
#include "app/mainwindow.h"

#include "app/edithistory.h"
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
    if (!Document || !MayDiscardBinDocument())
        return;
    Document->Clear();
    BinDocumentPath.clear();
    History->Reset(CEditHistory::MapBin);
    RefreshMap();
}

void TfrmMain::Load1Click()
{
    QString path;
    if (!MayDiscardBinDocument())
        return;
    if (m_prompts.OpenFile(this, OpenDialogBIN, path))
        LoadChosenBinFile(path);
    else
        RefreshMap();
}

void TfrmMain::OpenBinFile(const QString& path)
{
    if (MayDiscardBinDocument())
        LoadChosenBinFile(path);
}

void TfrmMain::LoadChosenBinFile(const QString& path)
{
    QString reason;
    if (LoadBinFile(path, &reason)) {
        FilePlaces->AddRecentFile(path, CFilePlaces::Kind::MapBin);
        ShowMissingNames(Document->LastReadMissingNames());
        AfterFileOpened(path);
    } else {
        m_prompts.Message(this, QStringLiteral("Open failed"), reason);
    }
    RefreshMap();
}

bool TfrmMain::LoadBinFile(const QString& path, QString* reason)
{
    if (!Document)
        return false;
    if (!QFileInfo(path).isFile()) {
        if (reason)
            *reason = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    CWaitCursor wait;
    // The document is emptied only once the whole file has been read: a damaged file leaves the
    // records on screen as they were.
    QString why;
    if (!Document->LoadReplacing(path, &why)) {
        if (reason)
            *reason = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    BinFilePath = path;
    BinDocumentPath = path;
    History->Reset(CEditHistory::MapBin);
    return true;
}

void TfrmMain::ShowMissingNames(const CMissingNames& missing)
{
    // Said once, after the read: every later save writes these names as INVALID_OBJECT.
    if (!missing.IsEmpty())
        m_prompts.Message(this, MissingNamesText(missing, kMissingNamesShown));
}

void TfrmMain::Save1Click() { SaveBinDocument(); }

bool TfrmMain::SaveBinDocument()
{
    // Propose the last loaded file, in its own folder.
    qsizetype split = -1;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        split = std::max(split, BinFilePath.lastIndexOf(separator));
    SaveDialogBIN.Folder = BinFilePath.left(split + 1);
    SaveDialogBIN.FileName = BinFilePath.mid(split + 1);
    QString path;
    QString reason;
    if (!m_prompts.SaveFile(this, SaveDialogBIN, path))
        return false;
    if (!SaveBinFile(path, &reason)) {
        m_prompts.Message(this, QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
        return false;
    }
    BinDocumentPath = path;
    History->MarkSaved(CEditHistory::MapBin);
    return true;
}

bool TfrmMain::SaveBinFile(const QString& path, QString* reason)
{
    if (!Document)
        return false;
    CWaitCursor wait;
    return Document->Save(path, true, reason);
}

void TfrmMain::Exit1Click() { close(); }

void TfrmMain::Settings1Click()
{
    if (Settings && EditSymbology(m_prompts, this, *Settings, m_environment.SettingsFile))
        RefreshMap();
}

void TfrmMain::About1Click() { ShowAbout(m_prompts, this); }
