// Nothing lost: the Edit menu's undo history, the modified state in the title, the question
// before unsaved work is discarded, and the copies that survive a run that did not end normally.
#include "app/mainwindow.h"

#include "app/editcommands.h"
#include "app/edithistory.h"
#include "maparea/mapcontrolcolumn.h"
#include "app/recoverystore.h"
#include "app/stringgrid.h"
#include "dialogs/waitcursor.h"
#include "document/binfile.h"
#include "document/recordtablemodel.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "platform/messagetext.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kRecoveryInterval = 30 * 1000;

// Paths come from the copies' origin files: shown whole up to the longest path the system takes.
constexpr qsizetype kLongestPathShown = 4096;

// "<file> (<time>; what the person should know before opening it)".
QString RecoveryOfferLine(const CRecoveryStore::Copy& copy)
{
    const bool bin = copy.Type == CRecoveryStore::MapBin;
    const QString name = copy.Original.isEmpty()
        ? (bin ? QStringLiteral("Untitled.BIN") : QStringLiteral("Untitled.SID"))
        : copy.Original;
    QStringList notes{QLocale().toString(copy.Time, QLocale::ShortFormat)};
    if (!copy.OtherKind.isEmpty())
        notes << QStringLiteral("kept for %1, which is not a %2 file: it opens as a new one")
                     .arg(MessageText::Shortened(copy.OtherKind, kLongestPathShown),
                          bin ? QStringLiteral("Map BIN") : QStringLiteral("faction"));
    if (copy.OriginalChanged)
        notes << QStringLiteral("the file has changed since this copy was taken");
    if (copy.OriginalGone)
        notes << QStringLiteral("the file is no longer there");
    if (copy.MaybeRunning)
        notes << QStringLiteral("it may belong to another Sablemap running now");
    return QStringLiteral("%1 (%2)").arg(MessageText::Shortened(name, kLongestPathShown),
                                         notes.join(QStringLiteral("; ")));
}

QString FileNameOf(const QString& path)
{
    // Paths of the game's own style use backslashes even here.
    const qsizetype split = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(split + 1);
}

} // namespace

void TfrmMain::CreateEditMenu()
{
    Edit1 = new QMenu(QStringLiteral("&Edit"), this);
    menuBar()->insertMenu(Options1->menuAction(), Edit1);
    Undo1 = Edit1->addAction(QStringLiteral("&Undo"));
    Undo1->setShortcut(QKeySequence::Undo);
    Redo1 = Edit1->addAction(QStringLiteral("&Redo"));
    Redo1->setShortcut(QKeySequence::Redo);
}

void TfrmMain::ConnectHistory()
{
    History = std::make_unique<CEditHistory>();
    History->Attach(Undo1, Redo1);
    Recovery = std::make_unique<CRecoveryStore>();
    TimerRecovery = new QTimer(this);
    TimerRecovery->setSingleShot(true);
    TimerRecovery->setInterval(kRecoveryInterval);
    connect(TimerRecovery, &QTimer::timeout, this, &TfrmMain::WriteRecoveryCopies);
    connect(History.get(), &CEditHistory::Changed, this, [this] {
        UpdateWindowTitle();
        const bool modified = History->IsModified(CEditHistory::MapBin) || History->IsModified(CEditHistory::Factions);
        if (modified && !TimerRecovery->isActive())
            TimerRecovery->start();
        // A document back at its saved state needs no copy; one still modified keeps its last.
        if (!History->IsModified(CEditHistory::MapBin))
            Recovery->Remove(CRecoveryStore::MapBin);
        if (!History->IsModified(CEditHistory::Factions))
            Recovery->Remove(CRecoveryStore::Factions);
    });
    UpdateWindowTitle();
}

QUndoStack& TfrmMain::BinHistory() { return History->Stack(CEditHistory::MapBin); }
QUndoStack& TfrmMain::FactionHistory() { return History->Stack(CEditHistory::Factions); }

// --- Recording edits ---------------------------------------------------------------------------

void TfrmMain::RecordEdit(const QString& text, std::vector<std::unique_ptr<CRecordChange>> changes)
{
    if (!Document || changes.empty())
        return;
    auto* edit = new CDocumentEdit(*Document, text, [this](const ShownRows& rows) {
        ShowEditedRows(rows);
        RefreshMap();
    });
    for (auto& change : changes)
        edit->Add(std::move(change));
    History->Push(CEditHistory::MapBin, edit);
}

void TfrmMain::RecordEdit(const QString& text, std::unique_ptr<CRecordChange> change)
{
    std::vector<std::unique_ptr<CRecordChange>> changes;
    changes.push_back(std::move(change));
    RecordEdit(text, std::move(changes));
}

void TfrmMain::ShowEditedRows(const ShownRows& rows)
{
    CStringGrid* grid = grSAMs;
    QWidget* page = tsSAMs;
    switch (rows.List.List) {
    case RecordList::Templates:
        grid = grPopTemplates;
        page = tsPopTemplates;
        break;
    case RecordList::TemplateObjects:
        grid = grTemplateObjects;
        page = tsPopTemplates;
        // The objects grid shows the objects of the current template.
        grPopTemplates->SetRow(rows.List.Template + 1);
        break;
    case RecordList::Keysites:
        grid = grKeysites;
        page = tsKeysites;
        break;
    case RecordList::Airbases:
        grid = grAirbases;
        page = tsAirbases;
        break;
    case RecordList::Sams: break;
    }
    pcBINFile->setCurrentWidget(page);
    const int count = Document->Count(rows.List);
    if (count == 0)
        return;
    const int first = std::clamp(rows.First, 0, count - 1);
    const int last = std::clamp(rows.Last, first, count - 1);
    grid->SetRow(first + 1);
    if (last > first) {
        const QAbstractItemModel* model = grid->model();
        const QItemSelection range(model->index(first + 1 - grid->FixedRows(), 0),
                                   model->index(last + 1 - grid->FixedRows(), model->columnCount() - 1));
        grid->selectionModel()->select(range, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// --- Modified state and title ------------------------------------------------------------------

QString TfrmMain::BinDocumentName() const
{
    return BinDocumentPath.isEmpty() ? QStringLiteral("Untitled.BIN") : FileNameOf(BinDocumentPath);
}

QString TfrmMain::FactionDocumentName() const
{
    return FactionFilePath.isEmpty() ? QStringLiteral("Untitled.SID") : FileNameOf(FactionFilePath);
}

void TfrmMain::UpdateWindowTitle()
{
    const bool binModified = History->IsModified(CEditHistory::MapBin);
    const bool factionsModified = Factions && History->IsModified(CEditHistory::Factions);
    const auto entry = [](const QString& name, bool modified) {
        // A "[*]" of a file's own name is doubled, so that the title shows it as it is.
        QString shown = name;
        shown.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        return modified ? shown + QLatin1Char('*') : shown;
    };
    // The Map BIN document once it has a file or unsaved work, then the faction layer.
    QStringList parts;
    if (!BinDocumentPath.isEmpty() || binModified)
        parts << entry(BinDocumentName(), binModified);
    if (Factions)
        parts << entry(FactionDocumentName(), factionsModified);
    parts << ApplicationCaption();
    // Each document carries its own mark, so the title holds no placeholder for Qt's one mark;
    // the attribute alone keeps isWindowModified() telling whether anything is unsaved.
    setAttribute(Qt::WA_WindowModified, binModified || factionsModified);
    setWindowTitle(parts.join(QStringLiteral(" — ")));
    setWindowFilePath(BinDocumentPath.isEmpty() ? FactionFilePath : BinDocumentPath);
}

// --- The question ------------------------------------------------------------------------------

bool TfrmMain::MayDiscard(bool modified, const QString& name, bool (TfrmMain::*save)())
{
    if (!modified)
        return true;
    switch (m_prompts.Ask(this, QStringLiteral("Save changes to %1?").arg(name),
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save: return (this->*save)();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

bool TfrmMain::MayDiscardBinDocument()
{
    return MayDiscard(Document && History->IsModified(CEditHistory::MapBin), BinDocumentName(),
                      &TfrmMain::SaveBinDocument);
}

bool TfrmMain::MayDiscardFactions()
{
    return MayDiscard(Factions && History->IsModified(CEditHistory::Factions), FactionDocumentName(),
                      &TfrmMain::SaveFactionLayer);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!MayDiscardBinDocument() || !MayDiscardFactions()) {
        event->ignore();
        return;
    }
    // A normal end: nothing is left to recover.
    TimerRecovery->stop();
    Recovery->Finish();
    event->accept();
}

// --- Recovery ----------------------------------------------------------------------------------

void TfrmMain::WriteRecoveryCopies()
{
    TimerRecovery->stop();
    // A copy that cannot be written is tried again at the next edit; the work itself is unharmed.
    if (Document && History->IsModified(CEditHistory::MapBin))
        Recovery->Write(CRecoveryStore::MapBin, BinDocumentPath,
                        [this](const QString& copy, QString* reason) { return Document->Save(copy, true, reason); });
    if (Factions && History->IsModified(CEditHistory::Factions))
        Recovery->Write(CRecoveryStore::Factions, FactionFilePath,
                        [this](const QString& copy, QString* reason) { return Factions->SaveToFile(copy, reason); });
}

void TfrmMain::OfferRecovery()
{
    if (!Document)
        return;
    const std::vector<CRecoveryStore::Copy> copies = Recovery->Abandoned();
    if (copies.empty())
        return;
    QString list;
    for (const CRecoveryStore::Copy& copy : copies)
        list += QLatin1Char('\n') + RecoveryOfferLine(copy);
    const QMessageBox::StandardButton answer = m_prompts.Ask(
        this, QStringLiteral("Sablemap did not end normally last time. Unsaved work was kept:%1\n\nOpen it?").arg(list),
        QMessageBox::Open | QMessageBox::Discard | QMessageBox::Ignore,
        QStringLiteral("Open restores the newest copy of each kind; Discard throws the copies away; Ignore "
                       "keeps them for the next start."));
    if (answer == QMessageBox::Discard) {
        for (const CRecoveryStore::Copy& copy : copies)
            CRecoveryStore::Discard(copy);
        return;
    }
    if (answer != QMessageBox::Open)
        return;
    bool openedBin = false;
    bool openedFactions = false;
    std::vector<CRecoveryStore::Copy> opened;
    for (const CRecoveryStore::Copy& copy : copies) { // newest first
        QString reason;
        CWaitCursor wait;
        if (copy.Type == CRecoveryStore::MapBin && !openedBin) {
            if (!Document->LoadReplacing(copy.Path, &reason)) {
                m_prompts.Message(this, QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(copy.Path, reason));
                continue;
            }
            openedBin = true;
            BinDocumentPath = copy.Original;
            if (!copy.Original.isEmpty())
                BinFilePath = copy.Original;
            History->Reset(CEditHistory::MapBin);
            History->MarkUnsaved(CEditHistory::MapBin);
            opened.push_back(copy);
        } else if (copy.Type == CRecoveryStore::Factions && !openedFactions) {
            auto layer = std::make_unique<CFactionsInfo>();
            if (!layer->LoadFromFile(copy.Path, &reason)) {
                m_prompts.Message(this, QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(copy.Path, reason));
                continue;
            }
            openedFactions = true;
            History->Reset(CEditHistory::Factions);
            Factions = std::move(layer);
            if (MapCanvas)
                MapCanvas->Factions = Factions.get();
            FactionFilePath = copy.Original;
            History->MarkUnsaved(CEditHistory::Factions);
            pnlMapControls->rbMapModeFactions->setChecked(true);
            opened.push_back(copy);
        }
    }
    // The work opened is this run's to keep safe from now on; only then do the old copies go.
    WriteRecoveryCopies();
    for (const CRecoveryStore::Copy& copy : opened)
        CRecoveryStore::Discard(copy);
    UpdateWindowTitle();
    RedrawTerrain();
    RefreshMap();
}
