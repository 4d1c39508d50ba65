#pragma once

#include <utf8.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace dez::afst {

// The inputs a walk steps through. Each gives its start position, the end
// test, the character at a position, whether the input spells a literal
// there, and a result's end offset.

// Forward over the code points of a UTF-8 byte range. A position is the
// number of bytes from the beginning. Malformed text raises utfcpp's
// exceptions when the walk reads it.
class Utf8Input {
public:
    using Position = uint32_t;

    Utf8Input(const char* begin, const char* end) : begin_(begin), end_(end) {
        if (end < begin)
            throw std::out_of_range("Invalid utf-8 iterator position");
        if (static_cast<std::size_t>(end - begin) >= std::numeric_limits<uint32_t>::max())
            throw std::length_error("Text too long for a lexicon walk");
        size_ = static_cast<uint32_t>(end - begin);
    }

    const char* begin() const { return begin_; }
    const char* end() const { return end_; }
    uint32_t size() const { return size_; }
    Position start() const { return 0; }
    bool at_end(Position position) const { return position == size_; }
    uint32_t read(Position position, Position& after) const {
        const char* at = begin_ + position;
        const uint32_t code_point = utf8::next(at, end_);
        after = static_cast<Position>(at - begin_);
        return code_point;
    }
    // `text` is valid UTF-8, so equal bytes are equal code points.
    bool spells(Position position, const std::string& text, const uint32_t*,
                Position& after) const {
        if (size_ - position < text.size() ||
            std::memcmp(begin_ + position, text.data(), text.size()) != 0)
            return false;
        after = position + static_cast<uint32_t>(text.size());
        return true;
    }
    // Bytes from the beginning.
    int offset(Position position) const { return static_cast<int>(position); }

private:
    const char* begin_;
    const char* end_;
    uint32_t size_;
};

// The code points of a word, read from the last one backwards. A position
// is the number of code points consumed.
class ReverseCodePointInput {
public:
    using Position = uint32_t;

    ReverseCodePointInput(const uint32_t* code_points, uint32_t count)
        : code_points_(code_points), count_(count) {}

    Position start() const { return 0; }
    bool at_end(Position position) const { return position == count_; }
    uint32_t read(Position position, Position& after) const {
        after = position + 1;
        return code_points_[count_ - 1 - position];
    }
    // `literal` holds the count and then the code points, in reading order.
    bool spells(Position position, const std::string&, const uint32_t* literal,
                Position& after) const {
        const uint32_t length = literal[0];
        if (count_ - position < length)
            return false;
        for (uint32_t k = 0; k < length; ++k)
            if (literal[1 + k] != code_points_[count_ - 1 - position - k])
                return false;
        after = position + length;
        return true;
    }
    // Minus the code points consumed from the end.
    int offset(Position position) const { return -static_cast<int>(position); }

private:
    const uint32_t* code_points_;
    uint32_t count_;
};

} // namespace dez::afst
