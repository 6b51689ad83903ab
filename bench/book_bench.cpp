// The calculation book of a list of 1,000 valves: made from the list's
// rows, and laid out on its pages as the desktop printers lay it out, with
// the widths of a Song face of half an em for ASCII and a whole em for the
// rest (a printer measures each text instead).
#include "bench/valve_lists.h"
#include "ui/book.h"
#include "ui/sheet_layout.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BookOfAThousandValves(benchmark::State &state)
{
    const std::vector<quorvel::ValveRow> valves = quorvel::bench::IndexValves(1000);
    std::size_t pages = 0;
    for (auto _ : state) {
        const std::vector<quorvel::Sheet> book
            = quorvel::MakeBook(valves, "2026年12月10日", "0.1.0");
        pages = quorvel::LayOutSheets(book, quorvel::NominalSheetWidth).size();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = double(pages);
}

BENCHMARK(BookOfAThousandValves)->Unit(benchmark::kMillisecond);

} // namespace
