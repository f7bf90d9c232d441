// Fuzz target: every reader of the register's replies, each on the station's own road from the
// link to the tables, the screens' fields or the database. The first byte picks the reader;
// the rest are the replies to its requests, one after another, until they run out.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <functional>
#include <iterator>

#include "articles/article_receive.h"
#include "dumps/memory_dump.h"
#include "fiscal/fiscal_form.h"
#include "fiscal/register_commands.h"
#include "fuzz_station.h"
#include "settings/system_params.h"
#include "tables/currencies.h"
#include "tables/departments.h"
#include "tables/operators.h"
#include "tables/units_types.h"
#include "tables/vat_rates.h"

namespace {

using qov::tables::TransferContext;
using Reader = std::function<void(qov::fuzz::FuzzStation&, TransferContext&)>;

const Reader kReaders[] = {
    [](auto&, auto& ctx) { qov::tables::ricevi_rep(ctx); },
    [](auto&, auto& ctx) { qov::tables::ricevi_op(ctx); },
    [](auto&, auto& ctx) { qov::tables::ricevi_val(ctx); },
    [](auto&, auto& ctx) { qov::tables::ricevi_Iva(ctx); },
    [](auto&, auto& ctx) { qov::tables::ricevi_units(ctx); },
    [](auto&, auto& ctx) { qov::tables::ricevi_tip(ctx); },
    [](auto&, auto& ctx) { qov::settings::ricevi_sist(ctx); },
    [](auto&, auto& ctx) { qov::articles::ricevi_plu(ctx); },
    [](auto&, auto& ctx) { qov::articles::ricevi_plu_sold(ctx); },
    // Status and identity as the fiscal screen shows them.
    [](auto& s, auto&) { qov::fiscal::FiscalForm(s.station).stateDisplay(); },
    [](auto& s, auto&) { qov::fiscal::FiscalForm(s.station).serial(); },
    // The display as the fiscal screen and the remote keyboard read it.
    [](auto& s, auto&) {
        qov::RequestDisplay(s.calls);
        qov::DisplayLines lines;
        qov::PollDisplay(s.calls, lines);
    },
    // Memory blocks as the dump screens show them, one after another.
    [](auto& s, auto&) {
        qov::dumps::MemoryDump dump(s.station, qov::dumps::MemoryKind::Fiscal, "/nonexistent");
        dump.prvi();
        while (!s.link.replies.empty())
            dump.sledeci();
    },
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto reader = in.ConsumeIntegralInRange<std::size_t>(0, std::size(kReaders) - 1);
    qov::fuzz::FuzzStation s;
    while (in.remaining_bytes() > 0)
        s.link.replies.push_back(in.ConsumeRandomLengthString(120));
    qov::tables::TransferProgress progress;
    TransferContext ctx{s.station, progress};
    kReaders[reader](s, ctx);
    return 0;
}
