// A believable shop for a first look at the station: departments, cashiers, currencies, VAT
// rates, units, types, a few hundred articles with stock, some receipts already sold, header
// and advertisement lines, an identity.
#pragma once

#include "register_model.h"

namespace qov::sim {

// Programs the shop through the register's own frames (so it obeys every rule a station
// would meet) and sells a dozen receipts. Returns how many of those frames were refused.
int fillDemoShop(RegisterModel& model);

}  // namespace qov::sim
