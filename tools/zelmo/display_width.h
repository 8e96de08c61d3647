// The number of terminal columns that a UTF-8 text takes, for aligning grid columns.
#pragma once

#include <string_view>

// Combining marks and zero-width characters take 0 columns, East Asian wide and full-width
// characters 2, everything else 1. Invalid bytes count 1 each.
size_t DisplayWidth(std::string_view utf8);
