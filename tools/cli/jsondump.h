#pragma once
// dump's JSON, written as it goes: one object with the record grids' rows, keyed by the grids'
// column headers, every value the cell's text as a string.

class CBINFile;

namespace cli {

// Prints the document's JSON on standard output, in pieces of a few dozen kilobytes.
void DumpDocument(const CBINFile& document);

} // namespace cli
