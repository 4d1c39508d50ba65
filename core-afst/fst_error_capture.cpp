#include "core-afst/fst_error_capture.h"

#include "core-afst/afst_exception.h"

#include <fst/cache.h>
#include <fst/fst.h>
#include <fst/symbol-table.h>
#include <fst/util.h>

#include <iostream>
#include <streambuf>

namespace dez::afst::detail {
namespace {

// Where OpenFst's log text goes on this thread; none: straight to stderr.
thread_local std::string* capture_target = nullptr;

// Sits under std::cerr for the life of the process. Without a capture on the
// calling thread it passes everything through unbuffered, so other writers of
// std::cerr see no difference and threads do not share any buffer state.
class ThreadRoutingBuffer : public std::streambuf {
public:
    explicit ThreadRoutingBuffer(std::streambuf* target) : target_(target) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (capture_target) {
            capture_target->push_back(traits_type::to_char_type(c));
            return c;
        }
        return target_ ? target_->sputc(traits_type::to_char_type(c)) : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (capture_target) {
            capture_target->append(s, static_cast<std::size_t>(n));
            return n;
        }
        return target_ ? target_->sputn(s, n) : n;
    }
    int sync() override {
        if (capture_target || !target_)
            return 0;
        return target_->pubsync();
    }

private:
    std::streambuf* target_;
};

// The OpenFst settings of this library, made once when it is loaded (before
// any thread of the host can use a builder).
struct OpenFstSettings {
    OpenFstSettings() {
        FLAGS_fst_error_fatal = false;
        FLAGS_fst_compat_symbols = false;
        FLAGS_fst_align = false;
        FLAGS_fst_default_cache_gc = true;
        // Never deleted: std::cerr may be written until the very end.
        std::cerr.rdbuf(new ThreadRoutingBuffer(std::cerr.rdbuf()));
    }
};
const OpenFstSettings settings;

// The message of the first "ERROR: " line of `text`, if any.
std::string first_error(const std::string& text) {
    static const std::string level = "ERROR: ";
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        if (text.compare(begin, level.size(), level) == 0)
            return text.substr(begin + level.size(), end - begin - level.size());
        begin = end + 1;
    }
    return std::string();
}

} // namespace

FstErrorCapture::FstErrorCapture() : previous_(capture_target) {
    capture_target = &text_;
}

FstErrorCapture::~FstErrorCapture() {
    capture_target = previous_;
    // Lines that did not become an exception reach stderr (or the enclosing
    // capture) as OpenFst wrote them.
    if (!text_.empty())
        std::cerr << text_ << std::flush;
}

void FstErrorCapture::check(bool failed, const char* operation) {
    if (!failed)
        return;
    std::string message = first_error(text_);
    if (message.empty())
        message = std::string(operation) + ": the network is in error";
    text_.clear();
    throw AFSTException("FATAL: " + message + "\n");
}

bool in_error(const fst::Fst<fst::StdArc>& network) {
    return network.Properties(fst::kError, false) != 0;
}

} // namespace dez::afst::detail
