#pragma once

#include <map>
#include <string>

#include "app/user_store.h"

namespace qov::test {

// A per-user store held in memory.
class MemoryUserStore : public UserStore {
public:
    std::string get(const std::string& application, const std::string& section,
                    const std::string& key, const std::string& defaultValue) const override {
        auto it = values.find(application + "/" + section + "/" + key);
        return it == values.end() ? defaultValue : it->second;
    }
    void set(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override {
        values[application + "/" + section + "/" + key] = value;
    }
    std::map<std::string, std::string> values;
};

}  // namespace qov::test
