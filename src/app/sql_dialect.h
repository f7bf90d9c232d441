#pragma once

#include <string>

namespace qov {

// Rewrites one of the program's SQL texts so that SQLite and PostgreSQL accept it:
//  - "delete * from X" becomes "delete from X";
//  - in an UPDATE's SET list a qualified target "T.col =" becomes "col =";
//  - trailing blanks and semicolons are dropped.
// Text inside single-quoted literals is never changed.
std::string AdaptSqlForEngines(const std::string& sql);

}  // namespace qov
