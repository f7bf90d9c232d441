#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/register_tables.h"

namespace qov {

// The program-wide state that screens, transfers and the program file share.
// One instance, owned by the application (or a test, or qovctl) and passed by reference.
struct SharedState {
    // Link call buffers.
    std::string FrameBuffer;
    std::int32_t LinkResult = 0;
    std::array<unsigned char, 113> ReplyBytes{};  // positions 0-112; 1..n hold a reply
    std::string ReplyText;

    // Line set-up.
    bool ModemMode = false;
    std::int16_t PortNumber = 1;
    std::int32_t BaudRate = 9600;
    std::string DialCommand;
    std::string PhoneNumber;
    std::string LinePassword;

    // Text coding.
    bool CyrillicMode = true;
    bool CyrillicLanguage = true;
    std::array<bool, kCyrTableCount> TableCyrillic{true, true, true, true,
                                                   true, true, true, true};

    std::int16_t LineWidth = 22;
    // The line speed as the remote keyboard's speed check keeps it: 0 = 4800, 1 = 9600,
    // 2 = 19200, 3 = 38400, 4 = 57600 bit/s.
    int SpeedIndex = 0;
    std::string CurrentForm;
    std::string ProgramFilePath;
    std::string LogoFilePath;

    // Settings file values.
    std::string ConnectionString;
    double MaxPrice = 0;
    double MaxCheque = 0;
    double MaxCard = 0;
    double MaxCash = 0;
    std::string CyrillicFontName;
    std::string LatinFontName;
    std::string ToneDialCommand;
    std::string PulseDialCommand;
    std::string HangupCommand;

    // Register tables.
    DepartmentTableT DepartmentTable;
    OperatorTableT OperatorTable;
    CurrencyTableT CurrencyTable;
    VatTableT VatTable;
    UnitTableT UnitTable;
    ArticleTypeTableT ArticleTypeTable;
    SystemParamsT SystemParams;
    FunctionTableT FunctionTable;
    PrintLinesT HeaderLines;
    PrintLineTableT HeaderTable;
    PrintLinesT AdvertLines;
    PrintLineTableT AdvertTable;

    bool& tableCyrillic(CyrTable table) { return TableCyrillic[static_cast<int>(table)]; }
    bool tableCyrillic(CyrTable table) const { return TableCyrillic[static_cast<int>(table)]; }
};

// Fills the register tables with the defaults the main window sets when it loads.
void FillDefaultTables(SharedState& state);

}  // namespace qov
