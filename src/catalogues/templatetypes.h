#pragma once
// The fixed table of keysite template type codes and the texts they are shown under.

#include <cstdint>
#include <string>
#include <vector>

class CPopTemplatesTypesList {
public:
    struct Row {
        int32_t Code;
        std::string Text; // 8-bit: "[14]", the no-break space 0xA0, "OIL"
    };

    CPopTemplatesTypesList();

    // The text of the first row with this code, or "[-1] Unknown keysite template type".
    std::string TypeNameOf(int32_t code) const;
    // The row whose code this is, or -1; the template editor's combo box preselects it (else row 0).
    int RowOf(int32_t code) const;
    const std::vector<Row>& Rows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};
