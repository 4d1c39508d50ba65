#include "core-afst/serialization_fsm_check.h"

#include <fst/properties.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace dez::afst::serialization {

namespace {

// What OpenFst writes first in a transducer and in a symbol table.
constexpr int32_t fst_magic = 2125659606;
constexpr int32_t symbol_table_magic = 2125658996;
// The oldest VectorFst layout OpenFst reads (and the one it writes).
constexpr int32_t min_vector_version = 2;
constexpr uint32_t known_flags = 0x1 | 0x2 | 0x4; // input table, output table, aligned
constexpr uint32_t has_input_symbols = 0x1;
constexpr uint32_t has_output_symbols = 0x2;

// Bytes of the smallest state (final weight, arc count), of one arc (two
// labels, weight, target) and of the smallest symbol entry (length, key).
constexpr std::size_t min_state_size = sizeof(float) + sizeof(int64_t);
constexpr std::size_t arc_size = 3 * sizeof(int32_t) + sizeof(float);
constexpr std::size_t min_symbol_size = sizeof(int32_t) + sizeof(int64_t);

// A label or symbol key beyond what an arc of the standard type can hold.
constexpr int64_t max_key = std::numeric_limits<int32_t>::max();

// Reads the fields of OpenFst's format from the payload, never past its end.
class Bytes {
public:
    Bytes(const char* data, std::size_t size) : at_(data), end_(data + size) {}

    std::size_t left() const { return static_cast<std::size_t>(end_ - at_); }

    template <typename T> bool read(T& value) {
        if (left() < sizeof(T))
            return false;
        std::memcpy(&value, at_, sizeof(T));
        at_ += sizeof(T);
        return true;
    }

    // OpenFst's strings: a 32-bit length, then the bytes.
    bool read(std::string& text) {
        int32_t length = 0;
        if (!read(length) || length < 0 || static_cast<std::size_t>(length) > left())
            return false;
        text.assign(at_, static_cast<std::size_t>(length));
        at_ += length;
        return true;
    }

private:
    const char* at_;
    const char* end_;
};

bool valid_weight(float weight) {
    return !std::isnan(weight) && weight != -std::numeric_limits<float>::infinity();
}

// A property word that OpenFst could have written: no error bit, no bit
// outside the defined ones, no property claimed together with its negation.
bool valid_properties(uint64_t properties) {
    if ((properties & fst::kError) != 0 || (properties & ~fst::kFstProperties) != 0)
        return false;
    const uint64_t claimed = properties & fst::kPosTrinaryProperties;
    const uint64_t denied = (properties & fst::kNegTrinaryProperties) >> 1;
    return (claimed & denied) == 0;
}

std::string check_symbol_table(Bytes& bytes) {
    int32_t magic = 0;
    std::string name;
    int64_t available_key = 0, count = 0;
    if (!bytes.read(magic) || magic != symbol_table_magic)
        return "symbol table without its magic number";
    if (!bytes.read(name) || !bytes.read(available_key) || !bytes.read(count))
        return "truncated symbol table header";
    if (available_key < 0 || available_key > max_key + 1)
        return "symbol table with an impossible next key";
    if (count < 0 || static_cast<uint64_t>(count) > bytes.left() / min_symbol_size)
        return "symbol table larger than the data";
    std::string symbol;
    for (int64_t i = 0; i < count; ++i) {
        int64_t key = 0;
        if (!bytes.read(symbol) || !bytes.read(key))
            return "truncated symbol table";
        if (key < 0 || key > max_key)
            return "symbol key out of range";
    }
    return std::string();
}

} // namespace

std::string check_fsm_payload(const char* data, std::size_t size) {
    Bytes bytes(data, size);
    int32_t magic = 0, version = 0;
    uint32_t flags = 0;
    uint64_t properties = 0;
    int64_t start = 0, state_count = 0, arc_count = 0;
    std::string type, arc_type;
    if (!bytes.read(magic) || magic != fst_magic)
        return "no transducer header";
    if (!bytes.read(type) || !bytes.read(arc_type) || !bytes.read(version) || !bytes.read(flags) ||
        !bytes.read(properties) || !bytes.read(start) || !bytes.read(state_count) ||
        !bytes.read(arc_count))
        return "truncated transducer header";
    if (type != "vector" || arc_type != "standard")
        return "not a vector transducer over the standard arc";
    if (version < min_vector_version)
        return "transducer format too old";
    if ((flags & ~known_flags) != 0)
        return "unknown header flags";
    if (!valid_properties(properties))
        return "impossible transducer properties";
    // -1: the writer did not know the count; the states then run to the end.
    const bool counted = state_count != -1;
    if (state_count < -1 ||
        (counted && static_cast<uint64_t>(state_count) > bytes.left() / min_state_size))
        return "more states than the data holds";
    for (const uint32_t table : {has_input_symbols, has_output_symbols}) {
        if ((flags & table) == 0)
            continue;
        std::string problem = check_symbol_table(bytes);
        if (!problem.empty())
            return problem;
    }

    int64_t states = 0, last_target = -1;
    for (; counted ? states < state_count : bytes.left() >= sizeof(float); ++states) {
        float final_weight = 0;
        int64_t arcs = 0;
        if (!bytes.read(final_weight) || !bytes.read(arcs))
            return "truncated state";
        if (!valid_weight(final_weight))
            return "invalid final weight";
        if (arcs < 0 || static_cast<uint64_t>(arcs) > bytes.left() / arc_size)
            return "more arcs than the data holds";
        for (int64_t i = 0; i < arcs; ++i) {
            int32_t input = 0, output = 0, target = 0;
            float weight = 0;
            bytes.read(input);
            bytes.read(output);
            bytes.read(weight);
            bytes.read(target);
            if (input < 0 || output < 0)
                return "negative label";
            if (!valid_weight(weight))
                return "invalid arc weight";
            if (target < 0)
                return "arc to a negative state";
            if (target > last_target)
                last_target = target;
        }
    }
    if (bytes.left() != 0)
        return "bytes after the last state";
    if (last_target >= states)
        return "arc to a missing state";
    // Only a network without states may lack a start (as OpenFst's own
    // verification has it).
    if (start < -1 || start >= states || (start == -1 && states > 0))
        return "start state out of range";
    return std::string();
}

} // namespace dez::afst::serialization
