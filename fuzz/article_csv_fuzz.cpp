// Fuzz target: the CSV article import, from the file's bytes through the editor's rules to the
// statements that store the accepted rows. The first byte picks the name field's length (18 or
// 28) and the highest price (1000 or 99999999).
#include <cstdint>
#include <string_view>

#include "articles/article_csv.h"
#include "fuzz_station.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    qov::articles::ImportRules rules;
    rules.nameLimit = data[0] & 1 ? 18 : 28;
    rules.maxPrice = data[0] & 2 ? 1000 : 99999999;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const qov::articles::CsvImportPlan plan = qov::articles::PlanArticleImport(bytes, rules);
    qov::fuzz::FuzzStation s;
    qov::articles::CsvImportCounts counts;
    qov::articles::StoreArticleImport(s.station, plan, counts, "fuzz");
    return 0;
}
