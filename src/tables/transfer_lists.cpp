#include "tables/transfer_lists.h"

#include "articles/article_receive.h"
#include "articles/article_transmit.h"
#include "tables/departments.h"
#include "tables/display_message.h"

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
        {"operators", "Kasiri", "Kasir:", {}},
        {"currencies", "Valute", "Valute:", {}},
        {"system", "Opsti podaci", "Sistem:", {}},
        {"header", "Zaglavlje", "Red:", {}},
        {"advert", "Reklama", "Red:", {}},
        {"units", "Jedinice mere", "Jedinica:", {}},
        {"types", "Tipovi artikala", "Tip:", {}},
        {"message", "Poruka", "Poruka:", Posalji_Msg},
    };
    return list;
}

const std::vector<TransferEntry>& ReceiveList() {
    static const std::vector<TransferEntry> list = {
        {"departments", "Odeljenja", "Odeljenje:", ricevi_rep},
        {"articles", "Artikli", "Artikal:", articles::ricevi_plu},
        {"sold", "Prodati artikli", "Artikal:", articles::ricevi_plu_sold},
        {"operators", "Kasiri", "Kasir:", {}},
        {"currencies", "Valute", "Valuta:", {}},
        {"system", "Opsti podaci", "Sistem:", {}},
        {"vat", "Poreske stope", "Stopa:", {}},
        {"units", "Jedinice mere", "Jedinica:", {}},
        {"types", "Tipovi artikala", "Tip:", {}},
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
