#include "tables/transfer_lists.h"

#include "articles/article_receive.h"
#include "articles/article_transmit.h"
#include "settings/print_lines.h"
#include "settings/system_params.h"
#include "tables/currencies.h"
#include "tables/departments.h"
#include "tables/display_message.h"
#include "tables/operators.h"
#include "tables/units_types.h"
#include "tables/vat_rates.h"

namespace qov::tables {

// To add a table: write its invia_/ricevi_ procedure beside the table's code, as a
// TransmitTable / ReceiveTable (frame builder, reply reader, texts) handed to TransmitRecords /
// ReceiveRecords, and put it into its entry here. Procedures of other folders (articles,
// settings) link qov_transfer for the loops; qov_tables then links their library.

const std::vector<TransferEntry>& TransmitList() {
    static const std::vector<TransferEntry> list = {
        {"departments", "Odeljenja", "Odeljenje:", invia_rep},
        {"articles", "Artikli", "Artikal:", articles::invia_plu},
        {"stock", "Lager artikala", "Artikal:", articles::invia_plu_inv},
        {"operators", "Kasiri", "Kasir:", invia_op},
        {"currencies", "Valute", "Valute:", invia_val},
        {"system", "Opsti podaci", "Sistem:", settings::invia_sist},
        {"header", "Zaglavlje", "Red:", settings::invia_int},
        {"advert", "Reklama", "Red:", settings::invia_adv},
        {"units", "Jedinice mere", "Jedinica:", invia_units},
        {"types", "Tipovi artikala", "Tip:", invia_tip},
        {"message", "Poruka", "Poruka:", Posalji_Msg},
    };
    return list;
}

const std::vector<TransferEntry>& ReceiveList() {
    static const std::vector<TransferEntry> list = {
        {"departments", "Odeljenja", "Odeljenje:", ricevi_rep},
        {"articles", "Artikli", "Artikal:", articles::ricevi_plu},
        {"sold", "Prodati artikli", "Artikal:", articles::ricevi_plu_sold},
        {"operators", "Kasiri", "Kasir:", ricevi_op},
        {"currencies", "Valute", "Valuta:", ricevi_val},
        {"system", "Opsti podaci", "Sistem:", settings::ricevi_sist},
        {"vat", "Poreske stope", "Stopa:", ricevi_Iva},
        {"units", "Jedinice mere", "Jedinica:", ricevi_units},
        {"types", "Tipovi artikala", "Tip:", ricevi_tip},
    };
    return list;
}

const std::vector<TransferEntry>& TransferList(TransferDirection direction) {
    return direction == TransferDirection::Transmit ? TransmitList() : ReceiveList();
}

int FindTransferEntry(TransferDirection direction, const std::string& name) {
    const auto& list = TransferList(direction);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<std::string> WorkingTransferNames(TransferDirection direction) {
    std::vector<std::string> names;
    for (const TransferEntry& entry : TransferList(direction)) {
        if (entry.procedure) {
            names.push_back(entry.name);
        }
    }
    return names;
}

}  // namespace qov::tables
