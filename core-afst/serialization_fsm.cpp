#include "core-afst/serialization.h"

#include "core-afst/builder.h"
#include "core-afst/serialization_fsm_check.h"
#include "foundation/attribute_text.h"

#include <fst/log.h>
#include <fst/properties.h>
#include <fst/vector-fst.h>

#include <sstream>
#include <streambuf>

// Transducer rows of the FILES container: OpenFst's own serialized form,
// nothing added before or after.

namespace dez::afst::serialization {

namespace {

// Reads the fetched payload in place instead of copying it into a string
// stream. Seeking is supported because OpenFst asks for stream positions.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(char* begin, char* end) { setg(begin, begin, end); }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override {
        if ((which & std::ios_base::in) == 0)
            return pos_type(off_type(-1));
        char* base = direction == std::ios_base::beg   ? eback()
                     : direction == std::ios_base::cur ? gptr()
                                                       : egptr();
        const off_type target = (base - eback()) + offset;
        if (target < 0 || target > egptr() - eback())
            return pos_type(off_type(-1));
        setg(eback(), eback() + target, egptr());
        return pos_type(target);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }
};

} // namespace

std::shared_ptr<fst::VectorFst<fst::StdArc>>
read_fsm(const char* data, std::size_t size, const std::string& caller, const std::string& source) {
    if (size == 0)
        return nullptr;
    // OpenFst believes every count and length it reads; corrupt bytes are
    // refused here before they can make OpenFst loop or allocate beyond them.
    const std::string problem = check_fsm_payload(data, size);
    if (!problem.empty()) {
        LOG(ERROR) << caller << ": corrupt transducer (" << problem << "): " << source;
        return nullptr;
    }
    // The stream only reads; the buffer type wants mutable pointers.
    char* begin = const_cast<char*>(data);
    MemoryBuffer buffer(begin, begin + size);
    std::istream stream(&buffer);
    std::shared_ptr<fst::VectorFst<fst::StdArc>> network;
    try {
        network.reset(fst::VectorFst<fst::StdArc>::Read(stream, fst::FstReadOptions(source)));
    } catch (const std::exception&) {
        // OpenFst has logged the problem; bytes that do not parse read as no
        // transducer.
        return nullptr;
    }
    // The stored property bits are not checked (that would cost more than
    // the read), and algorithms trust them: forget them, OpenFst works out
    // whatever it needs again.
    if (network)
        network->SetProperties(fst::kExpanded | fst::kMutable, fst::kFstProperties);
    return network;
}

void store_fsm(const std::shared_ptr<dez::afst::Builder>& builder,
               const std::shared_ptr<sqlite3>& db, const std::string& key,
               const std::string& attributes) {
    // The builder's own write: built (determinised, minimised, epsilons
    // removed), then serialised with its "lower" and "upper" tables.
    std::ostringstream stream;
    builder->write(stream);
    const std::string bytes = stream.str();
    store_binary_data(db.get(), key, attributes, bytes.data(), bytes.size());
}

void store_fsm(const std::shared_ptr<dez::afst::Builder>& builder,
               const std::shared_ptr<sqlite3>& db, const std::string& key,
               const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::ostringstream text;
    text << attributes;
    store_fsm(builder, db, key, text.str());
}

void store_fsm(const fst::VectorFst<fst::StdArc>& network, const std::shared_ptr<sqlite3>& db,
               const std::string& key, const std::string& attributes) {
    std::ostringstream stream;
    if (!network.Write(stream, fst::FstWriteOptions()))
        throw std::runtime_error("Could not save to stream.");
    const std::string bytes = stream.str();
    store_binary_data(db.get(), key, attributes, bytes.data(), bytes.size());
}

std::shared_ptr<fst::VectorFst<fst::StdArc>> get_fsm(const std::shared_ptr<sqlite3>& db,
                                                     const std::string& key) {
    const auto row = get_binary_data(db.get(), key);
    return read_fsm(row.second.data(), row.second.size(), "get_fsm", "string input");
}

std::pair<std::string, std::shared_ptr<fst::VectorFst<fst::StdArc>>>
get_fsm_attr(const std::shared_ptr<sqlite3>& db, const std::string& key) {
    auto row = get_binary_data(db.get(), key);
    auto network = read_fsm(row.second.data(), row.second.size(), "get_fsm", "string input");
    return {std::move(row.first), std::move(network)};
}

} // namespace dez::afst::serialization
