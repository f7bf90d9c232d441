#include "app/user_store.h"

#include <gtest/gtest.h>

namespace qov {
namespace {

// The test main points QSettings at a private folder, so this never touches a real user's store.
TEST(QtUserStore, KeepsValuesPerApplicationAndSection) {
    QtUserStore store;
    EXPECT_EQ(store.get("QovCom", "Settings", "MainLeft", "1000"), "1000");
    store.set("QovCom", "Settings", "MainLeft", "2400");
    store.set("QovComProduct", "system.io", "addfonts", "1");
    EXPECT_EQ(QtUserStore().get("QovCom", "Settings", "MainLeft", "1000"), "2400");
    EXPECT_EQ(store.get("QovCom", "system.io", "addfonts", "0"), "0");
    EXPECT_EQ(store.get("QovComProduct", "system.io", "addfonts", "0"), "1");
}

}  // namespace
}  // namespace qov
