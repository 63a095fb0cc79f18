// ValueCodec: how the host's values are stored in SQL columns and read back.
//
// The field type of a column is decided by its declared type in the schema, never by the values
// it happens to hold:
//
//   INTEGER, INT, SMALLINT      -> Integer          BIGINT                -> LargeInt
//   VARCHAR(n), CHAR(n)         -> String, size n   TEXT                  -> Memo
//   NUMERIC(p,s), DECIMAL(p,s)  -> Currency, scale s (size p)
//   REAL, FLOAT, DOUBLE         -> Float            BLOB                  -> Blob
//   DATE -> Date ('YYYY-MM-DD')  TIME -> Time ('HH:MM:SS')  TIMESTAMP -> DateTime ('YYYY-MM-DD
//   HH:MM:SS') BOOLEAN                     -> Boolean (stored 1 / 0)
//
// Yes/no columns are CHAR(1) holding "+" or "-" and stay text. Decimals are stored as numbers and
// become Currency at this boundary (rounded to four decimals, halves to even). A value is bound
// in the storage form of the type it is written to, whatever Variant kind the client sent.
#pragma once

#include <string>
#include <string_view>

#include "host/base/DateTime.h"
#include "host/base/Variant.h"
#include "host/data/Packet.h"
#include "server/db/Database.h"

namespace quil::server {

//! The field definition that a declared column type gives; false when the type is not one of the
//! list above.
bool FieldDefFromDeclType(std::string_view declType, FieldDef& def);

//! The value of a column of the current row, as the given field type reads it.
Variant ReadValue(const Statement& stmt, int column, FieldType type);

//! Binds a value in the storage form of the field type (null binds NULL).
void BindValue(Statement& stmt, int index, const Variant& value, FieldType type);

std::string DateToSql(TDateTime date);
std::string TimeToSql(TDateTime time);
std::string DateTimeToSql(TDateTime moment);
//! Reads 'YYYY-MM-DD', 'HH:MM:SS' or 'YYYY-MM-DD HH:MM:SS' (a 'T' may separate date and time,
//! seconds may carry milliseconds); false when the text is none of these.
bool SqlToDateTime(std::string_view text, TDateTime& out);
//! Reads a decimal with a '.' separator ("-12.345") exactly, rounding beyond four decimals half
//! to even; false when the text is no such number.
bool SqlToCurrency(std::string_view text, Currency& out);

}  // namespace quil::server
