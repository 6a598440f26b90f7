#pragma once
// Run-length packing of layered image channel data, one row at a time. A packed channel starts with
// the compression code 1, then one big-endian 16-bit byte count per row, then the packed rows.

#include <QByteArray>
#include <cstdint>

// Packs one row: literal packets (header n - 1, then n bytes, n <= 128) and repeat packets
// (header 257 - n as a byte, then the value, 2 <= n <= 128). Never more than twice the input.
QByteArray PackRow(const unsigned char* row, int32_t length);

// Packs `rowCount` rows of `rowLength` bytes that lie one after another in `pixels`. The output
// grows with the data, so any channel packs whole; it is empty only when a packed row would not fit
// its 16-bit byte count (rows longer than the format allows) or the sizes are negative.
QByteArray PackChannel(const unsigned char* pixels, int32_t rowCount, int32_t rowLength);

// Unpacks one row of `packed` (at most `packedLength` bytes) into `out`, which holds `width` bytes.
// The row stops when its bytes are used up or the width is filled: a packet cut short by the end
// gives only the bytes inside it, bytes past the width are dropped, and what is never written keeps
// its previous value. Header 128 repeats the next byte 129 times.
void UnpackRow(const unsigned char* packed, int64_t packedLength, unsigned char* out, int32_t width);
