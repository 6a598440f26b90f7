#pragma once
// 3D object names that a read met and the catalogue does not hold. A record that holds one keeps
// MissingObjectIndex: it shows INVALID_OBJECT and is written back with that name, so the stored
// name is lost at the next save. The readers collect them so that the user is told before that.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CMissingNames {
public:
    // A record holding `name`: a template's own reference (object -1), one of its objects, or an
    // airbase (template -1, object its number). Numbers are the records' numbers in the document.
    void Add(int32_t templateNumber, int32_t objectNumber, std::string_view name);
    void Append(const CMissingNames& other);
    void Clear();

    bool IsEmpty() const { return m_entries.empty(); }
    // Records holding at least one such name; a template counts once for its three references.
    int RecordCount() const;
    // The distinct names, in the order they were met.
    const std::vector<std::string>& Names() const { return m_names; }
    // What belongs to templates first..last (their references and objects): what exporting them writes.
    CMissingNames OfTemplates(int32_t first, int32_t last) const;

private:
    // A file without a catalogue misses a name in every record: each record costs an entry of
    // three numbers, each distinct name is kept once.
    struct Entry {
        int32_t Template;
        int32_t Object;
        int32_t Name; // position in m_names
    };
    std::vector<Entry> m_entries;
    std::vector<std::string> m_names;
    std::unordered_map<std::string, int32_t> m_nameNumbers;
};

// "3D object names not in the catalogue are written as INVALID_OBJECT: 5 records, 2 names
// ("TANK", "HANGAR")". With `mostNames` >= 0, only that many names are listed, then how many more.
// Each name is shown shortened (MessageText::Shortened): a file may hold a name of megabytes.
QString MissingNamesText(const CMissingNames& missing, int mostNames = -1);
