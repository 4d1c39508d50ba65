#include "analysis/domain_lexicon_lookup.h"

#include <type_traits>
#include <unordered_set>

#include "analysis/lexicon_facade.h"
#include "analysis/lexicon_logger.h"
#include "analysis/lookup_streams.h"
#include "document/blackboard.h"
#include "document/i_add_concept.h"
#include "document/profiler_interface.h"
#include "document/token.h"
#include "domain/domain_facade.h"
#include "foundation/case_mapping.h"
#include "foundation/inline_logger.h"
#include "matcher/delayed_functions.h"

namespace dez::trelix {

namespace {

using dez::log::inline_logger::CodeNotThere;

// A token start in one stream: looks up every lexicon entry beginning there
// and inserts the matches that end on a token end. Returns the current
// annotation, re-derived after each insertion.
template <typename Logger>
Annotation* lookup_start(Blackboard& blackboard, Sentence& sentence, Annotation* current,
                         const annotation_stream_info& buffer, uint64_t start,
                         const core::LexiconFacade& lexicon, dez::text_stream_type stream,
                         const std::string& label) {
    const char* text = buffer.buffer.data();
    const std::size_t size = buffer.buffer.size();
    if (start > size)
        return current;
    if constexpr (std::is_same_v<Logger, LexiconLogger>) {
        LexiconLogger record;
        record("action", std::string("lookup"))("word", std::string(text + start, text + size))(
            "input", dez::get_stream_name(stream));
    }
    for (const auto& [length, output] : lexicon.up(text + start, text + size)) {
        const uint64_t end_position = start + static_cast<uint64_t>(length);
        if constexpr (std::is_same_v<Logger, LexiconLogger>) {
            LexiconLogger record;
            record("action", std::string("result"))("end_match_offset", static_cast<int>(length))(
                "uri", output)("total", static_cast<unsigned long>(end_position));
        }
        auto end_entry = buffer.end_map.find(end_position);
        if (end_entry == buffer.end_map.end())
            continue; // ends inside a unit
        const int32_t end_offset = static_cast<int32_t>(end_entry->second);
        Annotation* last = current;
        while (last &&
               !(last->type == annotation_token && static_cast<int32_t>(last->end) >= end_offset))
            last = last->next;
        if (!last || static_cast<int32_t>(last->end) != end_offset || !last->next)
            continue;
        const std::size_t at = output.find('@');
        const std::string uri = at == std::string::npos ? output : output.substr(0, at);
        const std::string attributes = at == std::string::npos ? std::string() : output.substr(at);
        (*blackboard.collector)(current, last->next, uri, attributes, nullptr, label);
        Annotation* before = current->prev;
        apply_delayed_functions(blackboard);
        // An annotation that opens its list has nothing before it: the list
        // head is where the walk stands then.
        current = before ? before->next : sentence.annotations.head;
        if (!current)
            break;
    }
    return current;
}

} // namespace

template <typename Logger> bool all_lexicon_lookup_logger(Blackboard& blackboard) {
    if constexpr (std::is_same_v<Logger, LexiconLogger>) {
        LexiconLogger record;
        record("msg", std::string("[Stream Lookup]"))("endl", true);
    }
    bool any_lexicon = false;
    bool any_pending = false;
    for (const auto& [name, domain] : blackboard.domains) {
        if (domain && !domain->lexicons.empty())
            any_lexicon = true;
        if (domain && !blackboard.lexicons_run.count(name))
            any_pending = true;
    }
    if (!any_lexicon)
        return false;
    // Every domain already ran its lexicons on this document: nothing to
    // look up, so no buffer is built again.
    if (!any_pending)
        return true;

    stream_collection_type& streams = get_lookup_streams(blackboard);
    for (annotation_stream_info& buffer : streams) {
        buffer.buffer.clear();
        buffer.begin_map.clear();
        buffer.end_map.clear();
    }
    for (const auto& [name, domain] : blackboard.domains) {
        if (!domain || blackboard.lexicons_run.count(name))
            continue;
        blackboard.set_current_domain(domain);
        create_lookup_stream(blackboard, domain);
    }

    // Tokens that some domain looked up during this pass; "nf-lex" is decided
    // over all of them, not by the last domain.
    std::unordered_set<const Token*> looked_up;
    bool any_ran = false;
    for (const auto& [name, domain] : blackboard.domains) {
        if (!domain)
            continue;
        blackboard.set_current_domain(domain);
        const std::string label = "lexicon:" + domain->get_sqlite_filename();
        if (!blackboard.can_run_lexicon(name))
            continue;
        any_ran = true;
        if (domain->lexicons.empty())
            continue;
        profiler::ProfilerInterface* profiler = blackboard.profiling();
        if (profiler)
            profiler->start(label);
        for (Annotation* s = blackboard.annotations->head; s; s = s->next) {
            if (s->type != annotation_sentence)
                continue;
            Sentence& sentence = *static_cast<Sentence*>(s);
            for (Annotation* current = sentence.annotations.head; current;
                 current = current->next) {
                if (current->type != annotation_token)
                    continue;
                const Token* token = static_cast<const Token*>(current);
                const int32_t begin = static_cast<int32_t>(token->begin);
                for (const auto& [key, lexicon] : domain->lexicons) {
                    (void)key;
                    // The buffer built for the stream the lexicon reads.
                    if (lexicon->input >= streams.size())
                        continue;
                    const annotation_stream_info& buffer = streams[lexicon->input];
                    const auto starts = buffer.begin_map.equal_range(begin);
                    for (auto start = starts.first; start != starts.second; ++start) {
                        looked_up.insert(token);
                        current =
                            lookup_start<Logger>(blackboard, sentence, current, buffer,
                                                 start->second, *lexicon, lexicon->input, label);
                        if (!current)
                            break;
                    }
                    if (!current)
                        break;
                }
                if (!current)
                    break;
            }
        }
        if (profiler)
            profiler->stop(label);
    }
    if (!any_ran)
        return true;
    for (Annotation* s = blackboard.annotations->head; s; s = s->next) {
        if (s->type != annotation_sentence)
            continue;
        for (Annotation* a = static_cast<Sentence*>(s)->annotations.head; a; a = a->next) {
            if (a->type != annotation_token)
                continue;
            Token* token = static_cast<Token*>(a);
            if (looked_up.count(token))
                token->properties.erase("nf-lex");
            else if (token->properties.count("nf"))
                token->properties.insert("nf-lex");
        }
    }
    return true;
}

template bool all_lexicon_lookup_logger<LexiconLogger>(Blackboard&);
template bool all_lexicon_lookup_logger<CodeNotThere>(Blackboard&);

bool all_domains_lexicon_lookup(Blackboard& blackboard) {
    if (blackboard.dbg_options["stream_lookup"])
        return all_lexicon_lookup_logger<LexiconLogger>(blackboard);
    return all_lexicon_lookup_logger<CodeNotThere>(blackboard);
}

std::vector<std::string> lexicon_lookup(Blackboard& blackboard, Token* token) {
    if (!token)
        return {};
    for (const auto& entry : blackboard.domains) {
        if (!entry.second)
            continue;
        for (const auto& [type, lexicon] : entry.second->lexicons) {
            (void)type;
            std::vector<std::string> found = lexicon->up(token->literal);
            if (!found.empty())
                return found;
            found = lexicon->up(dez::string::normalize_word(token->literal));
            if (!found.empty())
                return found;
            for (const MorphData& reading : token->readings) {
                found = lexicon->up(reading.stem);
                if (!found.empty())
                    return found;
            }
        }
    }
    return {};
}

} // namespace dez::trelix
