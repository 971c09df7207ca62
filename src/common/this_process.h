#pragma once

#include <string>

// What this process knows of itself, read in one place.
namespace quorvex {

// The environment variable `name`; empty where it is not set.
std::string environmentValue(const char* name);

// The folder this program was started from, with its final '/'; empty where it cannot be told.
const std::string& programFolder();

} // namespace quorvex
