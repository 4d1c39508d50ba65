#include "tools/english/transducer_writer.h"

#include "core-afst/builder.h"
#include "core-afst/pattern_line.h"

#include <fst/vector-fst.h>

#include <memory>
#include <stdexcept>

namespace trelix_tools {

namespace {

// Entries per bucket: small unions stay cheap, and the final union meets a
// few hundred deterministic networks instead of every entry.
constexpr std::size_t bucket_size = 2000;

} // namespace

void write_pattern_lines(const std::vector<std::string>& lines, const std::filesystem::path& file) {
    dez::afst::Builder lexicon;
    for (std::size_t begin = 0; begin < lines.size(); begin += bucket_size) {
        dez::afst::Builder bucket;
        for (std::size_t i = begin; i < lines.size() && i < begin + bucket_size; ++i) {
            bucket.open_rule();
            if (dez::afst::push_arcs_line(bucket, lines[i]) < 0)
                throw std::runtime_error("pattern line refused: " + lines[i]);
            bucket.close_rule();
        }
        bucket.applyUnion(0);
        lexicon.push_network(std::make_shared<fst::StdVectorFst>(*bucket.build(false)));
    }
    lexicon.applyUnion(0);
    lexicon.build(true);
    lexicon.save(file.string());
}

void write_lexicon(const LexiconEntries& entries, const std::filesystem::path& file) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const auto& entry : entries.entries())
        lines.push_back(pattern_line(entry));
    write_pattern_lines(lines, file);
}

} // namespace trelix_tools
