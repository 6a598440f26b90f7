#include "app/rememberingprompts.h"

#include "app/fileplaces.h"

#include <QFileInfo>

FileDialogRequest CRememberingPrompts::Placed(const FileDialogRequest& request) const
{
    FileDialogRequest placed = request;
    if (!placed.FileName.isEmpty())
        return placed;
    const QString last = m_places.LastFolder(request.DefaultSuffix);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        placed.Folder = last;
    else if (placed.Folder.isEmpty())
        placed.Folder = FallbackFolder;
    return placed;
}

bool CRememberingPrompts::Remember(bool chosen, const FileDialogRequest& request, const QString& path)
{
    if (chosen)
        m_places.RememberFolder(request.DefaultSuffix, path);
    return chosen;
}

bool CRememberingPrompts::OpenFile(QWidget* parent, const FileDialogRequest& request, QString& path)
{
    return Remember(m_inner.OpenFile(parent, Placed(request), path), request, path);
}

bool CRememberingPrompts::SaveFile(QWidget* parent, const FileDialogRequest& request, QString& path)
{
    return Remember(m_inner.SaveFile(parent, Placed(request), path), request, path);
}
