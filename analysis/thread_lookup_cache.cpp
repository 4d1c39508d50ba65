#include "analysis/thread_lookup_cache.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>

namespace dez::trelix::core::thread_lookup_cache {

namespace {

using Answers = std::unordered_map<std::string, std::vector<std::string>>;

struct Step {
    uint64_t id = 0;
    uint64_t last_used = 0;
    Answers current;
    Answers previous;
};

struct Steps {
    std::vector<Step> steps;
    uint64_t clock = 0;

    Step* find(uint64_t id) {
        for (Step& step : steps)
            if (step.id == id) {
                step.last_used = ++clock;
                return &step;
            }
        return nullptr;
    }

    Step& get(uint64_t id) {
        if (Step* step = find(id))
            return *step;
        if (steps.size() >= thread_cache_steps) {
            // Steps of languages no longer loaded are never asked again.
            auto oldest =
                std::min_element(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
                    return a.last_used < b.last_used;
                });
            steps.erase(oldest);
        }
        steps.emplace_back();
        steps.back().id = id;
        steps.back().last_used = ++clock;
        return steps.back();
    }
};

Steps& thread_steps() {
    thread_local Steps steps;
    return steps;
}

// Makes room in the newer generation.
void make_room(Step& step) {
    if (step.current.size() < thread_cache_generation)
        return;
    step.previous = std::move(step.current);
    step.current = Answers();
}

} // namespace

uint64_t new_step_id() {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

const std::vector<std::string>* find(uint64_t id, const std::string& word) {
    if (id == 0 || word.size() > thread_cache_word_bytes)
        return nullptr;
    Step* step = thread_steps().find(id);
    if (!step)
        return nullptr;
    if (auto hit = step->current.find(word); hit != step->current.end())
        return &hit->second;
    auto old = step->previous.find(word);
    if (old == step->previous.end())
        return nullptr;
    // Still in use: into the newer generation, so it outlives the older.
    std::vector<std::string> answers = std::move(old->second);
    step->previous.erase(old);
    make_room(*step);
    return &step->current.emplace(word, std::move(answers)).first->second;
}

void add(uint64_t id, const std::string& word, const std::vector<std::string>& answers) {
    if (id == 0 || word.size() > thread_cache_word_bytes)
        return;
    Step& step = thread_steps().get(id);
    make_room(step);
    step.current.emplace(word, answers);
}

void clear() {
    thread_steps().steps.clear();
}

} // namespace dez::trelix::core::thread_lookup_cache
