#pragma once
// Profile (INI) files with the semantics the settings need: section and key names compared without
// regard to letter case, values trimmed (and unquoted), and everything else in the file - other
// sections, comments, unknown keys, line endings - kept byte for byte when values are written.
// Text is 8-bit, as the files are.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

class CProfileFile {
public:
    // Reads `path`. A missing file is an empty profile and not a failure; an unreadable one, one
    // longer than any settings file (filelimits.h), anything but a regular file (a pipe, a device)
    // or one that needs more memory than there is fails and leaves the profile as it was.
    bool Load(const QString& path, QString* error = nullptr);
    void LoadBytes(const QByteArray& bytes);

    // The trimmed value of the first matching key of the first matching section, or nothing.
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    // Replaces the value of the key, adds the key at the end of its section, or adds the section
    // at the end of the file.
    void SetValue(const std::string& section, const std::string& key, const std::string& value);

    QByteArray Bytes() const;
    bool Save(const QString& path, QString* error = nullptr) const;

private:
    struct Line {
        QByteArray Text; // without its line ending
    };
    // Index of the line "[section]", or -1.
    int FindSection(const std::string& section) const;
    // One past the last line that belongs to the section starting at `header`.
    int SectionEnd(int header) const;

    std::vector<Line> m_lines;
    QByteArray m_newline = QByteArrayLiteral("\n");
    bool m_finalNewline = true;
};
