// The article screens with a shop of 50,000 articles in the embedded database: loading the
// editor's list, the search, CSV import and export, and "Prebaci u PLU".
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>
#include <sstream>
#include <string>

#include "app/console_dialogs.h"
#include "app/ini_file.h"
#include "app/user_store.h"
#include "articles/article_csv.h"
#include "articles/article_editor.h"
#include "articles/article_sales_view.h"
#include "bench_support.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"

namespace {

constexpr int kArticles = 50000;

// A station on a fresh database, with boxes going nowhere and a line never opened.
struct BenchStation {
    BenchStation() {
        state.ConnectionString = qov::bench::MakeBenchDatabase(folder);
        state.MaxPrice = 99999999;
        state.LineWidth = 32;
        state.CyrillicMode = false;
    }
    QTemporaryDir folder;
    qov::SharedState state;
    std::ostringstream boxes;
    qov::ConsoleDialogs dialogs{boxes, 0, true};
    std::unique_ptr<qov::QovDllLink> link =
        qov::makeQovDllLink(qov::IniFile(folder.path().toStdString() + "/none.ini"), "");
    qov::LinkCalls calls{state, *link};
    std::unique_ptr<qov::Database> database = qov::CreateSqlDatabase();
    qov::QtUserStore userStore;
    qov::Station station{state, dialogs, calls, *database, userStore};
};

// The CSV text of `count` articles, as a spreadsheet would save it.
std::string ShopCsv(int count) {
    std::string text = std::string(qov::articles::kCsvHeader) + "\r\n";
    for (int code = 1; code <= count; ++code) {
        text += std::to_string(code) + ";ARTIKAL " + std::to_string(code) + ";" +
                std::to_string(code % 5000 + 1) + ",50;" + std::to_string(code % 9) + ";" +
                std::to_string(1 + code % 4) + ";" + std::to_string(code % 8) + ";" +
                std::to_string(code % 2) + ";" + std::to_string(code % 10) + ";" +
                std::to_string(code % 90) + ".125\r\n";
    }
    return text;
}

// Fills QOV_PLU through the import (one transaction).
void FillShop(BenchStation& s, const std::string& csv) {
    const auto plan = qov::articles::PlanArticleImport(csv, qov::articles::ImportRulesOf(s.state));
    qov::articles::CsvImportCounts counts;
    qov::articles::StoreArticleImport(s.station, plan, counts, "bench");
}

void BM_ImportCsv50k(benchmark::State& state) {
    BenchStation s;
    const std::string csv = ShopCsv(kArticles);
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.database->open(s.state.ConnectionString);
        s.database->execute("delete from QOV_PLU");
        s.database->close();
        state.ResumeTiming();
        const auto plan =
            qov::articles::PlanArticleImport(csv, qov::articles::ImportRulesOf(s.state));
        qov::articles::CsvImportCounts counts;
        qov::articles::StoreArticleImport(s.station, plan, counts, "bench");
        rows = static_cast<std::size_t>(counts.inserted);
    }
    if (rows != kArticles) {
        state.SkipWithError("not every row was imported");
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(kArticles) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportCsv50k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ExportCsv50k(benchmark::State& state) {
    BenchStation s;
    FillShop(s, ShopCsv(kArticles));
    std::size_t size = 0;
    for (auto _ : state) {
        s.database->open(s.state.ConnectionString);
        size = qov::articles::ArticlesCsvText(*s.database, "QOV_PLU", false).size();
        s.database->close();
    }
    if (size < kArticles * 20) {
        state.SkipWithError("the export is too short");
    }
}
BENCHMARK(BM_ExportCsv50k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Opening the editor: carica_PLU reads every row and builds the three list columns (the
// table model only refers to them).
void BM_OpenEditor50k(benchmark::State& state) {
    BenchStation s;
    FillShop(s, ShopCsv(kArticles));
    std::size_t rows = 0;
    for (auto _ : state) {
        qov::articles::ArticleEditor editor(s.station);
        editor.open();
        rows = editor.columns().size();
    }
    if (rows != kArticles) {
        state.SkipWithError("the list does not hold every article");
    }
}
BENCHMARK(BM_OpenEditor50k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_SearchCode50k(benchmark::State& state) {
    BenchStation s;
    FillShop(s, ShopCsv(kArticles));
    qov::articles::ArticleEditor editor(s.station);
    editor.open();
    int code = 0;
    int found = 0;
    for (auto _ : state) {
        code = code % kArticles + 7919 % kArticles;  // spread over the list
        found += qov::articles::SearchCode(editor.columns().main, code).found ? 1 : 0;
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_SearchCode50k)->Unit(benchmark::kMicrosecond);

void BM_SearchAbsentCode50k(benchmark::State& state) {
    BenchStation s;
    FillShop(s, ShopCsv(kArticles));
    qov::articles::ArticleEditor editor(s.station);
    editor.open();
    for (auto _ : state) {
        benchmark::DoNotOptimize(qov::articles::SearchCode(editor.columns().main, 70000.5));
    }
}
BENCHMARK(BM_SearchAbsentCode50k)->Unit(benchmark::kMicrosecond);

// "Prebaci u PLU": QOV_PLU replaced by 50,000 received articles.
void BM_CopyReceived50k(benchmark::State& state) {
    BenchStation s;
    FillShop(s, ShopCsv(kArticles));
    s.database->open(s.state.ConnectionString);
    s.database->execute(
        "insert into QOV_PLU_RCV (BAR_CODE, DESCRIPTION, PRICE, VAT_CODE, MES_TYPE, ART_TYPE, "
        "ONE_ITEM, DEPARTMENT, INVENTARY, MAX_VALUE, TOTAL, QTY) select BAR_CODE, DESCRIPTION, "
        "PRICE, VAT_CODE, MES_TYPE, ART_TYPE, ONE_ITEM, DEPARTMENT, INVENTARY, 0, 0, 0 from "
        "QOV_PLU");
    s.database->close();
    qov::articles::ArticleSalesView view(s.station,
                                         qov::articles::ArticleSalesView::Kind::Received);
    for (auto _ : state) {
        view.copyIntoArticles();
    }
    s.database->open(s.state.ConnectionString);
    auto count = s.database->query("select count(*) as n from QOV_PLU");
    if (!count->next() || count->value("n") != std::to_string(kArticles)) {
        state.SkipWithError("QOV_PLU does not hold every received article");
    }
    s.database->close();
}
BENCHMARK(BM_CopyReceived50k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

QOV_BENCHMARK_MAIN();
