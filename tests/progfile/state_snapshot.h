#pragma once

#include <sstream>
#include <string>

#include "app/shared_state.h"

namespace qov::test {

// Every value the program file reads or writes, one per line, so that two states can be
// compared whole and a difference shows where it is.
inline std::string ProgramFileSnapshot(const SharedState& s) {
    std::ostringstream out;
    for (int row = 0; row <= 6; ++row) {
        out << "header" << row << "=[" << s.HeaderLines[row] << "]\n";
        out << "advert" << row << "=[" << s.AdvertLines[row] << "]\n";
    }
    for (int row = 0; row <= 10; ++row) {
        out << "dep" << row << "=[" << s.DepartmentTable[row].description << "]\n";
    }
    for (int row = 0; row <= 32; ++row) {
        out << "op" << row << "=[" << s.OperatorTable[row].code << "|" << s.OperatorTable[row].name
            << "]\n";
    }
    for (int row = 0; row <= 9; ++row) {
        out << "vat" << row << "=[" << s.VatTable[row].rate << "]\n";
    }
    const SystemParamsT& p = s.SystemParams;
    out << "sys=[" << p.CASH << "|" << p.PRINT << "|" << p.GRAFICA1 << "|" << p.GRAFICA1_IMG << "|"
        << p.GRAFICA2 << "|" << p.GRAFICA2_IMG << "|" << p.OBLIGATE << "|" << p.TEST_MENY << "|"
        << p.SINGLE << "|" << p.SPEED << "]\n";
    for (int row = 0; row <= 4; ++row) {
        out << "cur" << row << "=[" << s.CurrencyTable[row].name << "|" << s.CurrencyTable[row].rate
            << "]\n";
    }
    for (int row = 0; row <= 5; ++row) {
        out << "unit" << row << "=[" << s.UnitTable[row].name << "|"
            << s.UnitTable[row].abbreviation << "]\n";
    }
    for (int row = 0; row <= 8; ++row) {
        out << "type" << row << "=[" << s.ArticleTypeTable[row].name << "]\n";
    }
    out << "port=" << s.PortNumber << " speed=" << s.BaudRate << " lng=" << s.CyrillicLanguage
        << " width=" << s.LineWidth << "\n";
    out << "phone=[" << s.PhoneNumber << "|" << s.DialCommand << "|" << s.LinePassword << "]\n";
    return out.str();
}

// A state whose every program-file value is distinct from the defaults and from the others.
inline void FillDistinct(SharedState& s) {
    for (int row = 0; row <= 5; ++row) {
        s.HeaderLines[row] = "Header line " + std::to_string(row) + std::string(19, '.') + "10";
        s.AdvertLines[row] = "Reklama " + std::to_string(row) + std::string(24, '-') + "01";
    }
    for (int row = 1; row <= 10; ++row) {
        s.DepartmentTable[row].description = "Od" + std::to_string(row * 7);
        s.DepartmentTable[row].description.resize(12, ' ');
    }
    for (int row = 1; row <= 31; ++row) {
        s.OperatorTable[row].code = std::to_string(1000 + row);
        s.OperatorTable[row].name = "Kasir@" + std::to_string(row);
    }
    for (int row = 1; row <= 9; ++row) {
        s.VatTable[row].rate = std::to_string(1000 + row * 100);
    }
    // Distinct letters, so that two swapped keys show.
    s.SystemParams = SystemParamsT{"07", "a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (int row = 1; row <= 4; ++row) {
        s.CurrencyTable[row].name = "Valuta [" + std::to_string(row);
        s.CurrencyTable[row].rate = "1" + std::to_string(row) + "7.500000";
    }
    for (int row = 1; row <= 5; ++row) {
        s.UnitTable[row].name = "j" + std::to_string(row);
    }
    for (int row = 1; row <= 8; ++row) {
        s.ArticleTypeTable[row].name = "Tip ~" + std::to_string(row);
    }
    s.PortNumber = 4;
    s.BaudRate = 38400;
    s.CyrillicLanguage = false;
    s.LineWidth = 32;
    s.PhoneNumber = "011 555 123";
    s.DialCommand = "ATDT";
    s.LinePassword = "tajna";
}

}  // namespace qov::test
