#pragma once

#include <array>
#include <string>

#include "app/shared_state.h"
#include "text/transcode.h"

namespace qov::tables {

// The "Cirilica" box of a table editor: the table's TableCyrillic flag goes on and the text
// field `text` of records first..last turns into register text.
template <class Record, std::size_t N>
void SwitchToCyrillic(SharedState& state, CyrTable table, std::array<Record, N>& records,
                      std::string Record::*text, int first, int last) {
    state.tableCyrillic(table) = true;
    for (int pos = first; pos <= last; ++pos) {
        std::string& value = records[static_cast<std::size_t>(pos)].*text;
        value = FontToRegister(value);
    }
}

}  // namespace qov::tables
