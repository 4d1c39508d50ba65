#pragma once

#include <fst/fst-decl.h>

#include <string>

namespace dez::afst::detail {

// OpenFst 1.7.9 ends the process on a fatal log message (exit in its
// LogMessage), so a fatal message cannot be caught. The library therefore runs
// OpenFst with fst_error_fatal false: an error becomes an "ERROR:" line on
// std::cerr plus the error property on the network. Around every OpenFst call
// one of these collects what OpenFst logs on this thread, and `check` turns a
// failure into an AFSTException that carries OpenFst's message as a fatal line.
// Only .cpp files of core-afst use it.
class FstErrorCapture {
public:
    FstErrorCapture();
    ~FstErrorCapture();
    FstErrorCapture(const FstErrorCapture&) = delete;
    FstErrorCapture& operator=(const FstErrorCapture&) = delete;

    // When `failed`: throws AFSTException "FATAL: " + the first error OpenFst
    // logged since construction (or `operation` and a generic text when it
    // logged none) + "\n". Otherwise nothing.
    void check(bool failed, const char* operation);

private:
    std::string text_;
    std::string* previous_;
};

// Whether OpenFst marked `network` as failed.
bool in_error(const fst::Fst<fst::StdArc>& network);

} // namespace dez::afst::detail
