// import-articles, export-articles, list-articles: the article tables as CSV and as list lines.
#include <iostream>

#include "articles/article_csv.h"
#include "articles/article_store.h"
#include "command.h"
#include "link/station.h"

namespace qovctl {

namespace {

// The article table an article command works on.
std::string ArticleTable(const Options& options) {
    return options.sold       ? qov::articles::kReceivedSoldTable
           : options.received ? qov::articles::kReceivedTable
                              : qov::articles::kArticleTable;
}

void CheckOneFile(const Options& options) {
    if (options.arguments.size() != 1) {
        throw UsageError{options.command + " needs one file"};
    }
}

int ImportArticles(Session& s) {
    if (s.options.received || s.options.sold) {
        throw UsageError{"import-articles fills the article table only"};
    }
    const auto policy = s.options.skipInvalid ? qov::articles::RefusedRows::ImportValid
                                              : qov::articles::RefusedRows::ImportNone;
    return qov::articles::ImportArticlesFile(s.station, s.options.arguments.front(), policy,
                                             "qovctl.import_articles()")
               ? kExitOk
               : kExitFailed;
}

int ExportArticles(Session& s) {
    return qov::articles::ExportArticlesFile(s.station, ArticleTable(s.options), s.options.cyrillic,
                                             s.options.arguments.front(),
                                             "qovctl.export_articles()")
               ? kExitOk
               : kExitFailed;
}

// The list lines of the article screens, one per article, columns separated by tabs.
int ListArticles(Session& s) {
    std::vector<std::string> lines;
    if (!qov::articles::ArticleListLines(s.station, ArticleTable(s.options), lines)) {
        return kExitFailed;
    }
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
    std::cout.flush();
    return kExitOk;
}

}  // namespace

std::vector<Command> ArticleCommands() {
    return {
        {"import-articles",
         "  import-articles FILE\n"
         "                     fills the article table from a CSV file (UTF-8, \";\" or \",\");\n"
         "                     a refused row refuses the file unless --skip-invalid\n",
         LineUse::None, CheckOneFile, ImportArticles},
        {"export-articles",
         "  export-articles FILE\n"
         "                     writes the article table as CSV; --received / --sold: the\n"
         "                     articles last read from the register; --cyrillic writes\n"
         "                     display-font names in Cyrillic letters\n",
         LineUse::None, CheckOneFile, ExportArticles},
        {"list-articles",
         "  list-articles      prints the list lines of the article table (--received, --sold)\n",
         LineUse::None, nullptr, ListArticles},
    };
}

}  // namespace qovctl
