// The document's menu commands: new, load, save, settings, about and exit.
#include "app/mainwindow.h"

#include "app/edithistory.h"
#include "app/fileplaces.h"
#include "maparea/mapcontrolcolumn.h"
#include "dialogs/waitcursor.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/configurationdialog.h"
#include "document/binfile.h"
#include "mapview/mapcanvas.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <algorithm>

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

void TfrmMain::SaveAs1Click() { SaveBinDocumentAs(); }

bool TfrmMain::SaveBinDocument()
{
    // A document with a file of its own goes back there; only a new one needs a name.
    return BinDocumentPath.isEmpty() ? SaveBinDocumentAs() : WriteBinDocument(BinDocumentPath);
}

bool TfrmMain::SaveBinDocumentAs()
{
    // A new document proposes no name: the last file loaded belongs to other work, and proposing
    // it invites writing over it.
    QString path;
    return m_prompts.SaveFile(this, Proposing(SaveDialogBIN, BinDocumentPath), path) && WriteBinDocument(path);
}

bool TfrmMain::WriteBinDocument(const QString& path)
{
    QString reason;
    if (!SaveBinFile(path, &reason)) {
        m_prompts.Message(this, QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
        return false;
    }
    BinDocumentPath = path;
    History->MarkSaved(CEditHistory::MapBin); // and the title follows
    return true;
}

FileDialogRequest TfrmMain::Proposing(FileDialogRequest request, const QString& path)
{
    if (path.isEmpty())
        return request;
    // Paths of the game's own style may use backslashes or a drive colon even here.
    qsizetype split = -1;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        split = std::max(split, path.lastIndexOf(separator));
    request.Folder = path.left(split + 1);
    request.FileName = path.mid(split + 1);
    return request;
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
