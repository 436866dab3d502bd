#pragma once
#include <QString>

namespace kvl {

// The value of a hexadecimal digit string, most significant digit first. Callers pass
// only "0"-"9" and "A"-"F"; no overflow check (wraps as a 32-bit integer).
qint32 Hex(const QString &text);

} // namespace kvl
