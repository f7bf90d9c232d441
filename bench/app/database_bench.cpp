// 10,000 articles inserted into the embedded database the way the article editor stores
// them: one autocommitted INSERT statement per article on one open connection.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/database.h"
#include "bench_support.h"

namespace {

constexpr int kArticles = 10000;

std::string InsertPlu(int code) {
    std::string barcode = std::to_string(code);
    barcode.insert(0, 12 - barcode.size(), '0');
    return "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE,MES_TYPE,ART_TYPE, ONE_ITEM, "
           "DEPARTMENT, INVENTARY, BAR_CODE ) values (" +
           qov::SqlText("ARTIKAL " + std::to_string(code)) + ", " +
           qov::SqlNumber(code % 1000 + 0.5) + ", " + std::to_string(code % 9) + ", " +
           std::to_string(code % 11) + ", " + std::to_string(code % 8) + ", " +
           std::to_string(code % 2) + ", " + std::to_string(code % 10) + ", " +
           qov::SqlNumber(code * 0.125) + ", " + qov::SqlText(barcode) + ")";
}

void BM_InsertTenThousandArticles(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string connection = qov::bench::MakeBenchDatabase(folder);
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto db = qov::CreateSqlDatabase();
            db->open(connection);
            db->execute("delete from QOV_PLU");
            db->close();
        }
        state.ResumeTiming();
        auto db = qov::CreateSqlDatabase();
        db->open(connection);
        for (int code = 1; code <= kArticles; ++code) {
            db->execute(InsertPlu(code));
        }
        db->close();
    }
    auto db = qov::CreateSqlDatabase();
    db->open(connection);
    auto count = db->query("select count(*) as n from QOV_PLU");
    if (!count->next() || count->value("n") != std::to_string(kArticles)) {
        state.SkipWithError("the table does not hold every article");
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(kArticles) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InsertTenThousandArticles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

QOV_BENCHMARK_MAIN();
