#pragma once
// How a shared property check fails: it prints what went wrong and aborts,
// which libFuzzer reports as a crash and a test run as a failed test.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace mensura::testsupport {

[[noreturn]] inline void Fail(const std::string& what, const std::string& detail) {
    std::fprintf(stderr, "property failed: %s\n  %s\n", what.c_str(),
                 detail.substr(0, 400).c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace mensura::testsupport
