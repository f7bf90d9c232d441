#include "state_file.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace qov::sim {

namespace {

QJsonValue text(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Money and quantities can pass 2^53 only in absurd memories; doubles carry them exactly below.
QJsonValue num(long long v) {
    return static_cast<double>(v);
}

std::string getText(const QJsonObject& o, const char* key, const std::string& fallback) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString())
        return fallback;
    const QByteArray b = v.toString().toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

long long getNum(const QJsonObject& o, const char* key, long long fallback) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return fallback;
    const double d = v.toDouble();
    if (!(d >= 0 && d < 9.0e15))
        return fallback;
    return static_cast<long long>(d);
}

int getSmall(const QJsonObject& o, const char* key, int fallback, int max) {
    const long long v = getNum(o, key, fallback);
    return v <= max ? static_cast<int>(v) : fallback;
}

// Fixed-width texts stay fixed-width whatever the file says.
std::string fixed(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

template <std::size_t N>
QJsonArray textArray(const std::array<std::string, N>& a) {
    QJsonArray out;
    for (const auto& s : a)
        out.append(text(s));
    return out;
}

template <std::size_t N>
void readTextArray(const QJsonObject& root, const char* key, std::array<std::string, N>& a,
                   std::size_t width, std::size_t maxWidth) {
    const QJsonArray arr = root.value(QLatin1String(key)).toArray();
    for (std::size_t i = 0; i < N && i < static_cast<std::size_t>(arr.size()); ++i) {
        if (!arr[static_cast<qsizetype>(i)].isString())
            continue;
        const QByteArray b = arr[static_cast<qsizetype>(i)].toString().toLatin1();
        std::string s(b.constData(), static_cast<std::size_t>(b.size()));
        if (s.size() < width)
            s.resize(width, ' ');
        if (s.size() > maxWidth)
            s.resize(maxWidth);
        a[i] = std::move(s);
    }
}

bool failWith(std::string* error, std::string why) {
    if (error)
        *error = std::move(why);
    return false;
}

// The wording of the station's own file checks.
std::string tooLarge(long long bytes) {
    return "larger than " + std::to_string(kMaxStateFileBytes / (1024 * 1024)) + " MB (" +
           std::to_string(bytes) + " bytes)";
}

}  // namespace

std::string memoryToJson(const Memory& m) {
    QJsonObject root;
    QJsonArray deps;
    for (const auto& d : m.departments)
        deps.append(QJsonObject{{"name", text(d.name)},
                                {"maxPrice", num(d.maxPrice)},
                                {"sales", num(d.sales)},
                                {"quantity", num(d.quantity)}});
    root["departments"] = deps;
    QJsonArray cash;
    for (const auto& c : m.cashiers)
        cash.append(QJsonObject{{"name", text(c.name)},
                                {"code", text(c.code)},
                                {"sales", num(c.sales)},
                                {"receipts", num(c.receipts)}});
    root["cashiers"] = cash;
    QJsonArray cur;
    for (const auto& c : m.currencies)
        cur.append(QJsonObject{{"name", text(c.name)}, {"rate", text(c.rate)}});
    root["currencies"] = cur;
    QJsonArray vat;
    for (const auto& v : m.vatRates)
        vat.append(QJsonObject{{"rate", text(v.rate)}, {"sales", num(v.sales)}});
    root["vatRates"] = vat;
    root["units"] = textArray(m.units);
    root["types"] = textArray(m.types);
    root["system"] = text(m.system);
    root["header"] = textArray(m.header);
    root["advert"] = textArray(m.advert);
    root["message"] = textArray(m.message);
    QJsonArray arts;
    for (const auto& [code, a] : m.articles)
        arts.append(QJsonObject{{"code", text(a.code)},
                                {"department", a.department},
                                {"name", text(a.name)},
                                {"price", num(a.price)},
                                {"single", a.single},
                                {"vat", a.vat},
                                {"unit", a.unit},
                                {"type", a.type},
                                {"sales", num(a.sales)},
                                {"quantity", num(a.quantity)},
                                {"stock", num(a.stock)}});
    root["articles"] = arts;
    QJsonArray logos;
    for (const auto& l : m.logos)
        logos.append(
            QString::fromLatin1(QByteArray(l.data(), static_cast<qsizetype>(l.size())).toBase64()));
    root["logos"] = logos;
    QJsonArray daily;
    for (const auto& r : m.dailyRecords)
        daily.append(QJsonObject{{"number", r.number},
                                 {"day", r.date.day},
                                 {"month", r.date.month},
                                 {"year", r.date.year},
                                 {"total", num(r.total)},
                                 {"receipts", r.receipts}});
    root["dailyRecords"] = daily;
    root["identity"] = QJsonObject{{"serial", text(m.identity.serial)},
                                   {"taxNumber", text(m.identity.taxNumber)},
                                   {"moduleNumber", text(m.identity.moduleNumber)}};
    root["receiptsSinceDaily"] = m.receiptsSinceDaily;
    root["salesSinceDaily"] = num(m.salesSinceDaily);
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Indented);
    return std::string(json.constData(), static_cast<std::size_t>(json.size()));
}

bool memoryFromJson(const std::string& json, Memory& memory, std::string* error, int pluCapacity) {
    const auto fail = [error](std::string why) { return failWith(error, std::move(why)); };
    QJsonParseError err{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        return fail("not a JSON object");
    const QJsonObject root = doc.object();
    Memory m = memory;  // filled, checked, then taken

    const QJsonArray deps = root.value("departments").toArray();
    for (int i = 0; i < kDepartments && i < deps.size(); ++i) {
        const QJsonObject o = deps[i].toObject();
        Department& d = m.departments[static_cast<std::size_t>(i)];
        d.name = fixed(getText(o, "name", d.name), 12);
        d.maxPrice = getNum(o, "maxPrice", d.maxPrice);
        d.sales = getNum(o, "sales", d.sales);
        d.quantity = getNum(o, "quantity", d.quantity);
    }
    const QJsonArray cash = root.value("cashiers").toArray();
    for (int i = 0; i < kCashiers && i < cash.size(); ++i) {
        const QJsonObject o = cash[i].toObject();
        Cashier& c = m.cashiers[static_cast<std::size_t>(i)];
        c.name = fixed(getText(o, "name", c.name), 12);
        c.code = fixed(getText(o, "code", c.code), 5);
        c.sales = getNum(o, "sales", c.sales);
        c.receipts = getNum(o, "receipts", c.receipts);
    }
    const QJsonArray cur = root.value("currencies").toArray();
    for (int i = 0; i < kCurrencies && i < cur.size(); ++i) {
        const QJsonObject o = cur[i].toObject();
        Currency& c = m.currencies[static_cast<std::size_t>(i)];
        c.name = fixed(getText(o, "name", c.name), 12);
        c.rate = fixed(getText(o, "rate", c.rate), 9);
    }
    const QJsonArray vat = root.value("vatRates").toArray();
    for (int i = 0; i < kVatRates && i < vat.size(); ++i) {
        const QJsonObject o = vat[i].toObject();
        VatRate& v = m.vatRates[static_cast<std::size_t>(i)];
        v.rate = fixed(getText(o, "rate", v.rate), 4);
        v.sales = getNum(o, "sales", v.sales);
    }
    readTextArray(root, "units", m.units, 3, 3);
    readTextArray(root, "types", m.types, 12, 12);
    m.system = fixed(getText(root, "system", m.system), 14);
    readTextArray(root, "header", m.header, 0, 64);
    readTextArray(root, "advert", m.advert, 0, 64);
    readTextArray(root, "message", m.message, 32, 32);

    if (root.contains("articles")) {
        m.articles.clear();
        for (const QJsonValue v : root.value("articles").toArray()) {
            const QJsonObject o = v.toObject();
            Article a;
            a.code = getText(o, "code", "");
            if (a.code.size() != 12)
                continue;
            a.department = getSmall(o, "department", 0, kDepartments - 1);
            a.name = fixed(getText(o, "name", a.name), 28);
            a.price = getNum(o, "price", 0);
            a.single = getSmall(o, "single", 0, 1);
            a.vat = getSmall(o, "vat", 0, kVatRates - 1);
            a.unit = getSmall(o, "unit", 0, 9);
            a.type = getSmall(o, "type", 0, kArticleTypes - 1);
            a.sales = getNum(o, "sales", 0);
            a.quantity = getNum(o, "quantity", 0);
            a.stock = getNum(o, "stock", 0);
            m.articles[a.code] = a;
        }
        if (static_cast<long long>(m.articles.size()) > pluCapacity)
            return fail(std::to_string(m.articles.size()) + " articles, more than the " +
                        std::to_string(pluCapacity) + " of --plu-capacity");
    }
    const QJsonArray logos = root.value("logos").toArray();
    for (int i = 0; i < kLogoSlots && i < logos.size(); ++i) {
        const QByteArray b = QByteArray::fromBase64(logos[i].toString().toLatin1());
        if (static_cast<std::size_t>(b.size()) > kMaxLogoBytes)
            return fail("logo " + std::to_string(i + 1) + " of " + std::to_string(b.size()) +
                        " bytes, more than the " + std::to_string(kMaxLogoBytes) +
                        " of a logo slot");
        m.logos[static_cast<std::size_t>(i)] =
            std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    if (root.contains("dailyRecords")) {
        m.dailyRecords.clear();
        const QJsonArray records = root.value("dailyRecords").toArray();
        // Block 0 of the fiscal memory is its head; each record takes one block after it.
        if (records.size() >= kFiscalBlocks)
            return fail(std::to_string(records.size()) + " daily records, more than the " +
                        std::to_string(kFiscalBlocks - 1) + " of the fiscal memory");
        for (const QJsonValue v : records) {
            const QJsonObject o = v.toObject();
            DailyRecord r;
            r.number = getSmall(o, "number", 0, 65535);
            r.date.day = getSmall(o, "day", 1, 31);
            r.date.month = getSmall(o, "month", 1, 12);
            r.date.year = getSmall(o, "year", 2000, 2255);
            if (r.date.year < 2000)
                r.date.year = 2000;
            r.total = getNum(o, "total", 0);
            r.receipts = getSmall(o, "receipts", 0, 65535);
            m.dailyRecords.push_back(r);
        }
    }
    const QJsonObject id = root.value("identity").toObject();
    m.identity.serial = fixed(getText(id, "serial", m.identity.serial), 6);
    m.identity.taxNumber = fixed(getText(id, "taxNumber", m.identity.taxNumber), 9);
    m.identity.moduleNumber = fixed(getText(id, "moduleNumber", m.identity.moduleNumber), 8);
    m.receiptsSinceDaily = getSmall(root, "receiptsSinceDaily", 0, 1 << 30);
    m.salesSinceDaily = getNum(root, "salesSinceDaily", 0);
    memory = std::move(m);
    return true;
}

bool saveState(const Memory& memory, const std::string& path, std::string* error) {
    // Unbuffered: a write cut short (a full disk) shows in the count it returns, where a
    // buffered one would be cut at the commit without an error and renamed over the old file.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString().toStdString();
        return false;
    }
    const std::string json = memoryToJson(memory);
    // Never a file the next start would refuse (10,000 articles and both logos take 3.7 MB).
    if (static_cast<long long>(json.size()) > kMaxStateFileBytes) {
        file.cancelWriting();
        return failWith(error, tooLarge(static_cast<long long>(json.size())));
    }
    errno = 0;
    if (file.write(json.data(), static_cast<qint64>(json.size())) !=
        static_cast<qint64>(json.size())) {
        const int cause = errno;
        file.cancelWriting();  // the old file stays
        return failWith(error, cause != 0 ? std::strerror(cause) : "write cut short");
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool loadState(Memory& memory, const std::string& path, std::string* error, int pluCapacity) {
    const auto fail = [error](std::string why) { return failWith(error, std::move(why)); };
    // Looked at before opening: a device or a pipe would be read without end (or block).
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        return fail(std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    if (st.st_size > kMaxStateFileBytes)
        return fail(tooLarge(st.st_size));
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString().toStdString());
    const QByteArray bytes = file.read(kMaxStateFileBytes + 1);  // it may have grown since
    if (bytes.size() > kMaxStateFileBytes)
        return fail(tooLarge(bytes.size()));
    return memoryFromJson(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                          memory, error, pluCapacity);
}

}  // namespace qov::sim
