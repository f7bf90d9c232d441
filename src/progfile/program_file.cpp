#include "progfile/program_file.h"

#include <exception>
#include <string>
#include <string_view>

#include "app/ini_file.h"
#include "app/run_error.h"
#include "app/vb_convert.h"

namespace qov {

namespace {

constexpr std::size_t kDepartmentWidth = 12;

std::string Key(const char* name, int row) {
    return name + std::to_string(row);
}

// Blanks off both ends (only the blank character, as the classic trim does).
std::string Trim(std::string text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Cut to `width` characters or pad with blanks on the right up to it.
std::string Fit(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Reads values the way the profile call does: an empty default, a 255-character buffer,
// the text before the first NUL.
class Reader {
public:
    explicit Reader(const IniFile& file) : file_(file) {}

    // Header, advertisement and department texts: as written (between quotes when our own
    // writer kept their blanks), never trimmed.
    std::string raw(const char* section, const std::string& key) const {
        return file_.getRawString(section, key, "");
    }

    std::string trimmed(const char* section, const std::string& key) const {
        // getString already cuts at a NUL and to the profile buffer.
        return Trim(file_.getString(section, key, ""));
    }

private:
    const IniFile& file_;
};

// A value as it can stand on one line of the file: the profile call writes a C string, and a
// line end inside it would split the line.
std::string LineValue(const std::string& value) {
    return value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
}

// A text whose blanks at either end must survive: between double quotes when it has such
// blanks or starts with a quote (the reader strips blanks and one pair of quotes).
std::string Kept(const std::string& value) {
    const std::string line = LineValue(value);
    if (!line.empty() && (line.front() == ' ' || line.back() == ' ' || line.front() == '"' ||
                          line.front() == '\'')) {
        return '"' + line + '"';
    }
    return line;
}

void LoadSections(SharedState& state, const Reader& in, std::string& converting) {
    for (int row = 0; row <= 5; ++row) {
        state.HeaderLines[row] = in.raw("HEADER", Key("ROW_", row));
    }
    for (int row = 0; row <= 5; ++row) {
        state.AdvertLines[row] = in.raw("ADVERTIZE", Key("ROW_", row));
    }
    for (int row = 1; row <= 10; ++row) {
        std::string name = in.raw("DEPARTMENTS", Key("DESCRIPTION_", row));
        if (name.size() < kDepartmentWidth) {
            name.resize(kDepartmentWidth, ' ');
        }
        state.DepartmentTable[row].description = std::move(name);
    }
    for (int row = 1; row <= 31; ++row) {
        state.OperatorTable[row].code = in.trimmed("OPERATORS", Key("CODE_", row));
        state.OperatorTable[row].name = in.trimmed("OPERATORS", Key("NAME_", row));
    }
    for (int row = 1; row <= 9; ++row) {
        state.VatTable[row].rate = in.trimmed("VAT", Key("TAX_", row));
    }

    SystemParamsT& sys = state.SystemParams;
    sys.CASH = Fit(in.trimmed("SISTEM", "CASH"), 2);
    sys.PRINT = Fit(in.trimmed("SISTEM", "PRINT"), 1);
    sys.GRAFICA1 = Fit(in.trimmed("SISTEM", "GRAFICA1"), 1);
    sys.GRAFICA1_IMG = Fit(in.trimmed("SISTEM", "GRAFICA1_IMG"), 1);
    sys.GRAFICA2 = Fit(in.trimmed("SISTEM", "GRAFICA2"), 1);
    sys.GRAFICA2_IMG = Fit(in.trimmed("SISTEM", "GRAFICA2_IMG"), 1);
    sys.OBLIGATE = Fit(in.trimmed("SISTEM", "OBLIGATE"), 1);
    sys.TEST_MENY = Fit(in.trimmed("SISTEM", "TEST_MENY"), 1);
    sys.SINGLE = Fit(in.trimmed("SISTEM", "SINGLE"), 1);
    sys.SPEED = Fit(in.trimmed("SISTEM", "SPEED"), 1);

    for (int row = 1; row <= 4; ++row) {
        state.CurrencyTable[row].name = in.trimmed("VALUTE", Key("DESCRIPTION_", row));
        state.CurrencyTable[row].rate = in.trimmed("VALUTE", Key("CONVERSION_", row));
    }
    for (int row = 1; row <= 5; ++row) {
        state.UnitTable[row].name = in.trimmed("UNITS", Key("DESCR_", row));
        state.UnitTable[row].abbreviation = in.trimmed("UNITS", Key("SHORT_", row));
    }
    for (int row = 1; row <= 8; ++row) {
        state.ArticleTypeTable[row].name = in.trimmed("PLUTYPE", Key("DESCR_", row));
    }

    // Each conversion that fails stops the load here, with what came before it kept;
    // `converting` names the key for the reason.
    converting = "PORT in [SETPORT]";
    state.PortNumber = ToInteger16(in.trimmed("SETPORT", "PORT"));
    converting = "SPEED in [SETPORT]";
    state.BaudRate = ToInteger32(in.trimmed("SETPORT", "SPEED"));
    converting = "LNG in [SETLNG]";
    state.CyrillicLanguage = ToBoolean(in.trimmed("SETLNG", "LNG"));
    converting = "WDTH in [SETWDTH]";
    state.LineWidth = ToInteger16(in.trimmed("SETWDTH", "WDTH"));
    converting.clear();

    state.PhoneNumber = in.trimmed("SETPHONE", "PHONENM");
    state.DialCommand = in.trimmed("SETPHONE", "PHONEPT");
    state.LinePassword = in.trimmed("SETPHONE", "PHONEPSS");
}

template <typename Put>
void WriteSystem(const SystemParamsT& sys, Put put) {
    put("SISTEM", "CASH", sys.CASH);
    put("SISTEM", "PRINT", sys.PRINT);
    put("SISTEM", "GRAFICA1", sys.GRAFICA1);
    put("SISTEM", "GRAFICA1_IMG", sys.GRAFICA1_IMG);
    put("SISTEM", "GRAFICA2", sys.GRAFICA2);
    put("SISTEM", "GRAFICA2_IMG", sys.GRAFICA2_IMG);
    put("SISTEM", "OBLIGATE", sys.OBLIGATE);
    put("SISTEM", "TEST_MENY", sys.TEST_MENY);
    put("SISTEM", "SINGLE", sys.SINGLE);
    put("SISTEM", "SPEED", sys.SPEED);
}

void WriteSections(const SharedState& state, IniFile& out, unsigned sections) {
    auto put = [&out](const char* section, const std::string& key, const std::string& value) {
        out.setString(section, key, LineValue(value));
    };
    auto keep = [&out](const char* section, const std::string& key, const std::string& value) {
        out.setString(section, key, Kept(value));
    };
    auto wanted = [sections](ProgramSection section) { return (sections & section) != 0; };

    if (sections == kAllSections || !out.hasKey("QOVCOM", "VERSION")) {
        put("QOVCOM", "VERSION", kProgramFileVersion);
    }
    for (int row = 0; row <= 5 && wanted(kHeaderSection); ++row) {
        keep("HEADER", Key("ROW_", row), state.HeaderLines[row]);
    }
    for (int row = 0; row <= 5 && wanted(kAdvertSection); ++row) {
        keep("ADVERTIZE", Key("ROW_", row), state.AdvertLines[row]);
    }
    for (int row = 1; row <= 10 && wanted(kDepartmentSection); ++row) {
        keep("DEPARTMENTS", Key("DESCRIPTION_", row), state.DepartmentTable[row].description);
    }
    for (int row = 1; row <= 31 && wanted(kOperatorSection); ++row) {
        put("OPERATORS", Key("CODE_", row), state.OperatorTable[row].code);
        put("OPERATORS", Key("NAME_", row), state.OperatorTable[row].name);
    }
    for (int row = 1; row <= 9 && wanted(kVatSection); ++row) {
        put("VAT", Key("TAX_", row), state.VatTable[row].rate);
    }
    if (wanted(kSystemSection)) {
        WriteSystem(state.SystemParams, put);
    }
    for (int row = 1; row <= 4 && wanted(kCurrencySection); ++row) {
        put("VALUTE", Key("DESCRIPTION_", row), state.CurrencyTable[row].name);
        put("VALUTE", Key("CONVERSION_", row), state.CurrencyTable[row].rate);
    }
    for (int row = 1; row <= 5 && wanted(kUnitSection); ++row) {
        put("UNITS", Key("DESCR_", row), state.UnitTable[row].name);
    }
    for (int row = 1; row <= 8 && wanted(kTypeSection); ++row) {
        put("PLUTYPE", Key("DESCR_", row), state.ArticleTypeTable[row].name);
    }
    if (wanted(kLineSection)) {
        put("SETPORT", "PORT", std::to_string(state.PortNumber));
        put("SETPORT", "SPEED", std::to_string(state.BaudRate));
        put("SETLNG", "LNG", BooleanText(state.CyrillicLanguage));
        put("SETWDTH", "WDTH", std::to_string(state.LineWidth));
        put("SETPHONE", "PHONENM", state.PhoneNumber);
        put("SETPHONE", "PHONEPT", state.DialCommand);
        put("SETPHONE", "PHONEPSS", state.LinePassword);
    }
}

void ShowFailure(Dialogs& dialogs, const std::string& description) {
    dialogs.message(description, kProgramTitle, Icon::None, Buttons::Ok);
}

}  // namespace

bool LoadProgramFile(SharedState& state, Dialogs& dialogs, std::string* reason) {
    auto why = [reason](const std::string& text) {
        if (reason != nullptr) {
            *reason = text;
        }
    };
    std::string converting;
    try {
        const IniFile file(state.ProgramFilePath);
        if (!file.readProblem().empty()) {
            // A folder, a device or an oversized file is no program file.
            why(file.readProblem());
            dialogs.message("Fajl nije validan", kTitle, Icon::Critical, Buttons::Ok);
            return false;
        }
        const Reader in(file);
        if (in.trimmed("QOVCOM", "VERSION") != kProgramFileVersion) {
            why(file.exists() ? std::string("no VERSION=") + kProgramFileVersion + " in [QOVCOM]"
                              : "file not found");
            dialogs.message("Fajl nije validan", kTitle, Icon::Critical, Buttons::Ok);
            return false;
        }
        LoadSections(state, in, converting);
        return true;
    } catch (const std::exception& error) {
        why(converting.empty() ? std::string(error.what())
                               : "the value of " + converting + " is not valid");
        const auto* runError = dynamic_cast<const RunError*>(&error);
        ShowFailure(dialogs, runError != nullptr ? runError->description() : error.what());
    }
    return false;
}

bool SaveProgramFile(const SharedState& state, Dialogs& dialogs, unsigned sections) {
    try {
        IniFile file(state.ProgramFilePath);
        WriteSections(state, file, sections);
        file.save();
        return true;
    } catch (const RunError& error) {
        ShowFailure(dialogs, error.description());
    } catch (const std::exception& error) {
        ShowFailure(dialogs, error.what());
    }
    return false;
}

}  // namespace qov
