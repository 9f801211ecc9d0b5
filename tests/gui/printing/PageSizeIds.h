#pragma once

#include <QPageSize>
#include <string>
#include <vector>

#include "platform/PrinterBackend.h"

namespace tovrimo::test {

// The sheets a printer offers, by Qt's id.
using Ids = std::vector<QPageSize::PageSizeId>;
inline Ids SizesOf(PrinterBackend& backend, const std::string& printer)
{
    Ids ids;
    for (const QPageSize& size : backend.pageSizes(printer)) ids.push_back(size.id());
    return ids;
}

// The sheet of an id; Custom stands for the printer's own (an invalid size).
inline QPageSize Sheet(QPageSize::PageSizeId id)
{
    return id == QPageSize::Custom ? QPageSize() : QPageSize(id);
}

}  // namespace tovrimo::test
