#pragma once

#include "settings/GlobalData.h"

#include <QByteArray>
#include <QByteArrayView>

// The byte image of GlobalData in config.ini: the 14 fields in order, little-endian, no padding,
// no header. Booleans and integers take 2 bytes; a string is a 16-bit byte count and its bytes in
// the local 8-bit file-name encoding; a variant is a 16-bit type code and its value (type 3: 4
// bytes, type 2: 2 bytes, types 0 and 1: none). A record with empty strings is 36 bytes.
namespace RecordCodec {

QByteArray encode(const GlobalData &data);

// Reads the fields from the start of bytes into data, in order, and stops at the first field
// the bytes do not hold whole (a truncated file, a string running past the end, an unknown type
// code); that field and all after it keep what data held. Bytes after the record are ignored.
// Returns the number of fields read.
int decode(QByteArrayView bytes, GlobalData &data);

constexpr int FieldCount = 14;

} // namespace RecordCodec
