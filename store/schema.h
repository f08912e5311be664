#pragma once
// The schema of a model's database and the rows of a fresh one.
#include <utility>
#include <vector>

namespace store_schema {

// The 17 schema statements, in the order they run: t_configdata, then each further
// table followed by its index.
const std::vector<const char*>& Statements();

// The fourteen t_configdata rows of a fresh database (key, value), in order.
const std::vector<std::pair<const wchar_t*, const wchar_t*>>& DefaultConfig();

}  // namespace store_schema
