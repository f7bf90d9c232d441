// A station for the fuzz targets: the link answers each request with the next reply it was
// given, the dialogs answer every question with its last button, the database takes statements
// (its tables are empty) and checks that each is well formed.
#pragma once

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>

#include "app/database.h"
#include "app/dialogs.h"
#include "link/link.h"
#include "link/station.h"
#include "support/memory_user_store.h"

namespace qov::fuzz {

class RepliesLink : public Link {
public:
    std::deque<std::string> replies;

    // The next reply as the link library gives it: its length (0: "A" without text), -3 past
    // 112 bytes, -1 once the replies have run out.
    int answer(ReplyBuffer& reply) {
        if (replies.empty())
            return -1;
        const std::string text = std::move(replies.front());
        replies.pop_front();
        if (text.size() > 112)
            return -3;
        std::copy(text.begin(), text.end(), reply.begin() + 1);
        return static_cast<int>(text.size());
    }
    int get_frame(const std::string&, int, ReplyBuffer& r) override { return answer(r); }
    int get_frameM(const std::string&, int, ReplyBuffer& r) override { return answer(r); }
    int get_frame120s(const std::string&, int, ReplyBuffer& r) override { return answer(r); }
    int get_frameT(const std::string&, int, ReplyBuffer& r, int) override { return answer(r); }
    int Init_RS232bd(int, int) override { return 0; }
    int Init_RS232(int) override { return 0; }
    void Close_RS232() override {}
    int send_frame(const std::string&, int) override { return 0; }
    int send_frameM(const std::string&, int) override { return 0; }
    int send_frameMD(const std::string&, int) override { return 0; }
    int send_data(const std::string&, int length) override { return length; }
    void read_data(int& count, std::string&) override { count = 0; }
    int Testconnessione() override { return 0; }
    int TestconnessioneM() override { return 0; }
    int Invialogo(const std::string&) override { return 0; }
    void setIdleHook(std::function<void()>) override {}
};

// Cancel, No or OK: nothing is retried, no file is chosen.
class LastButtonDialogs : public Dialogs {
public:
    Answer show(const MessageBox& box) override {
        switch (box.buttons) {
            case Buttons::RetryCancel:
                return Answer::Cancel;
            case Buttons::YesNo:
                return Answer::No;
            case Buttons::Ok:
                break;
        }
        return Answer::Ok;
    }
    std::string openFile(const FileDialog&) override { return {}; }
    std::string saveFile(const FileDialog&) override { return {}; }
    void setBusy(bool) override {}
    void yield() override {}
};

// Takes every statement; one whose quotes do not pair up, that goes on after a ";" outside
// quotes or holds a NUL (the engine would stop reading there) stops the run: a value from the
// line or a file broke out of its place.
class CheckingDatabase : public Database {
public:
    void open(const std::string&) override { open_ = true; }
    void execute(const std::string& sql) override {
        bool quoted = false;
        for (std::size_t i = 0; i < sql.size(); ++i) {
            if (sql[i] == '\'')
                quoted = !quoted;
            if (sql[i] == '\0' || (sql[i] == ';' && !quoted && i + 1 < sql.size()))
                std::abort();
        }
        if (quoted)
            std::abort();
    }
    // An empty table.
    std::unique_ptr<RowSet> query(const std::string& sql) override {
        execute(sql);
        struct NoRows : RowSet {
            bool next() override { return false; }
            std::string value(const std::string&) const override { return {}; }
            bool hasColumn(const std::string&) const override { return false; }
        };
        return std::make_unique<NoRows>();
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void begin() override {}
    void commit() override {}
    void rollback() override {}

private:
    bool open_ = false;
};

struct FuzzStation {
    SharedState state;
    LastButtonDialogs dialogs;
    RepliesLink link;
    LinkCalls calls{state, link};
    CheckingDatabase database;
    test::MemoryUserStore userStore;
    Station station{state, dialogs, calls, database, userStore};
};

}  // namespace qov::fuzz
