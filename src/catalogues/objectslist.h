#pragma once
// The simulator's 3D object names (bininfo.bin), kept sorted under the user's locale without regard
// to letter case, so that each lookup is a binary search. Records hold positions in this list.

#include "catalogues/nametable.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int32_t MissingObjectIndex = -1; // a stored name the catalogue does not hold
constexpr int32_t NoObjectIndex = -2;      // the reference holds no object

class C3DObjectsList {
public:
    // Compares under QLocale::system(); tests pass the locale they need.
    C3DObjectsList();
    explicit C3DObjectsList(const QLocale& locale);

    // Replaces the list with the names of a bininfo.bin file. A file that is damaged, ends early,
    // is longer than any such list (filelimits.h) or needs more memory than there is leaves the
    // list empty and returns false with a reason; 0 bytes or a count of 0 or 1 is a valid empty list.
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    bool LoadFromBytes(const QByteArray& bytes, QString* error = nullptr);

    // Adds a name unless one comparing equal is present (the first form read stays).
    void Add(const std::string& name);

    // A name spelt exactly as the catalogue spells it is found by hashing; any other spelling
    // costs a comparison under the locale.
    int32_t IndexOf(std::string_view name) const;
    // Only a name spelt exactly as the catalogue spells it; -1 for any other.
    int32_t ExactIndexOf(std::string_view name) const
    {
        if (m_exactStale)
            RebuildExact();
        return m_exact.Find(m_names, name);
    }
    // The name, "INVALID_OBJECT" (-1, or past the end) or the empty name (-2); never a copy.
    const std::string& NameOf(int32_t index) const;
    const std::vector<std::string>& Names() const { return m_names; }
    int32_t Count() const { return static_cast<int32_t>(m_names.size()); }

private:
    QCollatorSortKey KeyOf(std::string_view name) const;
    template <typename MakeReader>
    bool Load(QString* error, MakeReader makeReader);
    bool Parse(class CByteReader& reader, QString* error);
    void ReplaceAll(std::vector<std::string> names);
    void RebuildExact() const;

    QCollator m_collator;
    std::vector<std::string> m_names;
    // Collation keys of m_names, same order: comparing keys is the locale's comparison, and much
    // cheaper per probe than comparing the strings again.
    std::vector<QCollatorSortKey> m_keys;
    // Byte-exact names: a stored name equal to a catalogue name needs no collation at all, and
    // most names in a Map BIN file are stored exactly as the catalogue spells them.
    mutable CNameTable m_exact;
    mutable bool m_exactStale = false;
};
