#pragma once

#include <string>

namespace qov {

// The per-user application-settings store (window placement, first-start flag).
// `application` is the program's title or product name, `section` a group in it.
class UserStore {
public:
    virtual ~UserStore() = default;
    virtual std::string get(const std::string& application, const std::string& section,
                            const std::string& key, const std::string& defaultValue) const = 0;
    virtual void set(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
};

// The QSettings implementation (per-user, organisation "QovCom").
class QtUserStore : public UserStore {
public:
    std::string get(const std::string& application, const std::string& section,
                    const std::string& key, const std::string& defaultValue) const override;
    void set(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;
};

}  // namespace qov
