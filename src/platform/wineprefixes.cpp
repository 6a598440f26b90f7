#include "platform/wineprefixes.h"

#include "platform/fileread.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr FileLimit kLibraryFoldersLimit{kMaxLibraryFoldersBytes, "Steam library list"};

// The tokens of Valve's key-value text: quoted or bare words, braces; "//" starts a comment.
struct VdfToken {
    enum Kind { Word, Open, Close } Type;
    QString Text;
};

bool IsDelimiter(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '{' || c == '}' || c == '"'; }

QList<VdfToken> VdfTokens(const QByteArray& text)
{
    QList<VdfToken> tokens;
    qsizetype at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (IsDelimiter(c) && c != '{' && c != '}' && c != '"') {
            ++at;
        } else if (c == '/' && at + 1 < text.size() && text[at + 1] == '/') {
            while (at < text.size() && text[at] != '\n')
                ++at;
        } else if (c == '{' || c == '}') {
            tokens.append({c == '{' ? VdfToken::Open : VdfToken::Close, QString()});
            ++at;
        } else if (c == '"') {
            QByteArray word;
            for (++at; at < text.size() && text[at] != '"'; ++at) {
                if (text[at] == '\\' && at + 1 < text.size()) {
                    const char escaped = text[++at];
                    word += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
                } else {
                    word += text[at];
                }
            }
            ++at; // the closing quote (or the end of a cut text)
            tokens.append({VdfToken::Word, QString::fromUtf8(word)});
        } else {
            const qsizetype start = at;
            while (at < text.size() && !IsDelimiter(text[at]))
                ++at;
            tokens.append({VdfToken::Word, QString::fromUtf8(text.mid(start, at - start))});
        }
    }
    return tokens;
}

bool IsNumber(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

void AddFolder(QStringList& folders, QStringList& seen, const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir() || seen.contains(canonical))
        return;
    seen << canonical;
    folders << folder;
}

QStringList SteamLibraries()
{
    const QString home = QDir::homePath();
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = home + QStringLiteral("/.local/share");
    const QStringList roots = {home + QStringLiteral("/.steam/steam"), home + QStringLiteral("/.steam/root"),
                               data + QStringLiteral("/Steam"), home + QStringLiteral("/.steam/debian-installation"),
                               home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam")};
    QStringList libraries;
    QStringList seen;
    for (const QString& root : roots) {
        if (!QFileInfo(root).isDir())
            continue;
        AddFolder(libraries, seen, root);
        QByteArray list;
        if (ReadRegularFile(root + QStringLiteral("/steamapps/libraryfolders.vdf"), kLibraryFoldersLimit, list)) {
            for (const QString& library : LibraryFoldersFromVdf(list))
                AddFolder(libraries, seen, library);
        }
    }
    return libraries;
}

} // namespace

QStringList LibraryFoldersFromVdf(const QByteArray& text)
{
    const QList<VdfToken> tokens = VdfTokens(text);
    QStringList folders;
    int depth = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const VdfToken& token = tokens[i];
        if (token.Type != VdfToken::Word) {
            depth = std::max(0, depth + (token.Type == VdfToken::Open ? 1 : -1));
            continue;
        }
        if (i + 1 >= tokens.size() || tokens[i + 1].Type != VdfToken::Word)
            continue; // the name of an object (or a word left over at the end)
        const QString& value = tokens[++i].Text;
        const bool current = token.Text.compare(QLatin1String("path"), Qt::CaseInsensitive) == 0;
        const bool older = depth == 1 && IsNumber(token.Text);
        if ((current || older) && !value.isEmpty())
            folders << value;
    }
    return folders;
}

QStringList WinePrefixes()
{
    QStringList prefixes;
    QStringList seen;
    const QString named = qEnvironmentVariable("WINEPREFIX");
    if (!named.isEmpty())
        AddFolder(prefixes, seen, named);
    AddFolder(prefixes, seen, QDir::homePath() + QStringLiteral("/.wine"));
    for (const QString& library : SteamLibraries()) {
        const QDir compatdata(library + QStringLiteral("/steamapps/compatdata"));
        QStringList games = compatdata.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        // By game id; a folder whose name is not a number goes after them.
        std::sort(games.begin(), games.end(), [](const QString& a, const QString& b) {
            bool aNumber = false;
            bool bNumber = false;
            const qulonglong x = a.toULongLong(&aNumber);
            const qulonglong y = b.toULongLong(&bNumber);
            if (aNumber != bNumber)
                return aNumber;
            return aNumber ? x < y : a < b;
        });
        for (const QString& game : games)
            AddFolder(prefixes, seen, compatdata.filePath(game) + QStringLiteral("/pfx"));
    }
    return prefixes;
}
