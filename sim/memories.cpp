// The memory dumps: the fiscal memory (block 0 its header, then one block per daily record) and
// the program memory (the register's tables at fixed offsets), 16 bytes a block, read by "F" and
// "Y" requests as 32 hex digits and a 4-digit check. See docs/simulator.md for the layouts.
#include "memories.h"

#include <chrono>

#include "byte_fields.h"
#include "register_model.h"

namespace qov::sim {

namespace {

void putBytes(std::string& image, std::size_t offset, std::string_view bytes) {
    if (offset >= image.size())
        return;
    image.replace(offset, std::min(bytes.size(), image.size() - offset),
                  bytes.substr(0, image.size() - offset));
}

std::string bigEndian(long long v, int bytes) {
    std::string out(static_cast<std::size_t>(bytes), '\0');
    for (int i = bytes - 1; i >= 0; --i) {
        out[static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
    return out;
}

std::chrono::sys_days dayOf(const Date& d) {
    return std::chrono::sys_days(std::chrono::year_month_day(
        std::chrono::year(d.year), std::chrono::month(static_cast<unsigned>(d.month)),
        std::chrono::day(static_cast<unsigned>(d.day))));
}

Date dateOf(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd(day);
    return Date{static_cast<int>(static_cast<unsigned>(ymd.day())),
                static_cast<int>(static_cast<unsigned>(ymd.month())), static_cast<int>(ymd.year())};
}

// New Year, Orthodox Christmas, Statehood Day, Labour Day, Armistice Day.
bool publicHoliday(const Date& d) {
    static constexpr int kHolidays[][2] = {{1, 1},  {2, 1}, {7, 1}, {15, 2},
                                           {16, 2}, {1, 5}, {2, 5}, {11, 11}};
    for (const auto& h : kHolidays)
        if (d.day == h[0] && d.month == h[1])
            return true;
    return false;
}

}  // namespace

Date addDays(const Date& date, int days) {
    return dateOf(dayOf(date) + std::chrono::days(days));
}

int writeDailyHistory(Memory& memory, const Date& first, const Date& end, unsigned seed) {
    const auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 16) & 0x7FFF) % range;
    };
    int written = 0;
    for (auto day = dayOf(first); day < dayOf(end); day += std::chrono::days(1)) {
        // Block 0 is the header: records fit in blocks 1 to kFiscalBlocks - 1.
        if (static_cast<int>(memory.dailyRecords.size()) + 1 >= kFiscalBlocks)
            break;
        const std::chrono::weekday weekday(day);
        const Date date = dateOf(day);
        if (weekday == std::chrono::Sunday || publicHoliday(date))
            continue;
        const bool saturday = weekday == std::chrono::Saturday;
        DailyRecord r;
        r.number = static_cast<int>(memory.dailyRecords.size()) + 1;
        r.date = date;
        r.receipts = static_cast<int>(saturday ? 150 + next(110) : 90 + next(90));
        // An average receipt of 700 to 1300 dinars, to the para.
        r.total = static_cast<long long>(r.receipts) * (70000 + next(60000)) + next(100);
        memory.dailyRecords.push_back(r);
        ++written;
    }
    return written;
}

std::string RegisterModel::fiscalBlock(int index) const {
    std::string block(kBlockSize, '\xFF');
    if (index == 0) {
        block = padded(memory_.identity.serial, 6) + padded(memory_.identity.moduleNumber, 8) +
                bigEndian(static_cast<long long>(memory_.dailyRecords.size()), 2);
    } else if (index > 0 && index <= static_cast<int>(memory_.dailyRecords.size())) {
        const DailyRecord& r = memory_.dailyRecords[static_cast<std::size_t>(index - 1)];
        block = bigEndian(r.number, 2);
        block += static_cast<char>(r.date.day);
        block += static_cast<char>(r.date.month);
        block += static_cast<char>(r.date.year - 2000);
        block += bigEndian(r.total, 6);
        block += bigEndian(r.receipts, 2);
        block += std::string(3, '\0');
    }
    return block;
}

void RegisterModel::rebuildProgramImage() {
    std::string img(static_cast<std::size_t>(kProgramBlocks) * kBlockSize, '\xFF');
    const auto record = [&](std::size_t offset, std::size_t size, std::string_view bytes) {
        std::string r(bytes.substr(0, size));
        r.resize(size, '\0');
        putBytes(img, offset, r);
    };
    record(0x0000, 16, memory_.system);
    record(0x0010, 48, identity().text);
    for (std::size_t i = 0; i < kDepartments; ++i) {
        const Department& d = memory_.departments[i];
        record(0x0040 + 32 * i, 32, d.name + zeroFilled(d.maxPrice, 8));
    }
    for (std::size_t i = 0; i < kCashiers; ++i) {
        const Cashier& c = memory_.cashiers[i];
        record(0x0180 + 32 * i, 32, c.name + c.code);
    }
    for (std::size_t i = 0; i < kCurrencies; ++i)
        record(0x0560 + 32 * i, 32, memory_.currencies[i].name + memory_.currencies[i].rate);
    for (std::size_t i = 0; i < kVatRates; ++i)
        record(0x05E0 + 16 * i, 16, memory_.vatRates[i].rate);
    for (std::size_t i = 0; i < kUnits; ++i)
        record(0x0670 + 16 * i, 16, memory_.units[i]);
    for (std::size_t i = 0; i < kArticleTypes; ++i)
        record(0x06C0 + 16 * i, 16, memory_.types[i]);
    for (std::size_t i = 0; i < kPrintLines; ++i) {
        record(0x0740 + 64 * i, 64, memory_.header[i]);
        record(0x08C0 + 64 * i, 64, memory_.advert[i]);
    }
    for (std::size_t i = 0; i < 3; ++i)
        record(0x0A40 + 32 * i, 32, memory_.message[i]);
    std::size_t offset = 0x1000;
    for (const auto& [code, a] : memory_.articles) {
        if (offset + 64 > img.size())
            break;  // the rest of the articles live outside the program image
        std::string r = a.code + static_cast<char>(a.department) + a.name + bigEndian(a.price, 4);
        r += static_cast<char>(a.single);
        r += static_cast<char>(a.vat);
        r += static_cast<char>(a.unit);
        r += static_cast<char>(a.type);
        r += bigEndian(a.stock, 4);
        record(offset, 64, r);
        offset += 64;
    }
    programImage_ = std::move(img);
    programDirty_ = false;
}

std::string RegisterModel::programBlock(int index) {
    if (index < 0 || index >= kProgramBlocks)
        return std::string(kBlockSize, '\xFF');
    if (programDirty_)
        rebuildProgramImage();
    return programImage_.substr(static_cast<std::size_t>(index) * kBlockSize, kBlockSize);
}

Reply RegisterModel::memoryBlock(std::string_view f, bool fiscal) {
    if (f.size() != 7 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    const long long address = number(f.substr(1));
    const long long blocks = fiscal ? kFiscalBlocks : kProgramBlocks;
    if (address % kBlockSize != 0 || address / kBlockSize >= blocks)
        return missing(kErrWrongValue);
    const int index = static_cast<int>(address / kBlockSize);
    const std::string block = fiscal ? fiscalBlock(index) : programBlock(index);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    unsigned sum = 0;
    for (char c : block) {
        const auto b = static_cast<unsigned char>(c);
        text += kHex[b >> 4];
        text += kHex[b & 0xF];
        sum += b;
    }
    for (int shift = 12; shift >= 0; shift -= 4)
        text += kHex[(sum >> shift) & 0xF];
    return done(std::move(text));
}

}  // namespace qov::sim
