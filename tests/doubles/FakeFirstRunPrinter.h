#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <optional>
#include <string>

#include "core/PrinterDefaults.h"

namespace tovrimo::test {

// The printer a first run lays its page out for, as a plain value; none when `printer` is
// empty. Counts how often it is asked.
class FakeFirstRunPrinter : public FirstRunPrinterSource {
public:
    explicit FakeFirstRunPrinter(std::optional<PrinterDefaults> p = std::nullopt)
        : printer(std::move(p))
    {
    }

    std::optional<PrinterDefaults> firstRunPrinter() override
    {
        ++queries;
        return printer;
    }

    // An upright A4 printer of the given name.
    static PrinterDefaults a4(const std::string& name)
    {
        return PrinterDefaults{name, QPageSize(QPageSize::A4), QPageLayout::Portrait};
    }

    std::optional<PrinterDefaults> printer;
    int queries = 0;
};

}  // namespace tovrimo::test
