#include "core-afst/word_cleaning.h"

#include <cstddef>

namespace dez::afst {

namespace {

bool is_ascii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// The end of the run of `word[i]`: one past i for a byte that is not ASCII.
int run_end(const char* word, int length, int i) {
    int j = i + 1;
    if (is_ascii(word[i]))
        while (j < length && word[j] == word[i])
            ++j;
    return j;
}

} // namespace

std::vector<int> clean_word_tree_consecutive_char(char* word, int& length) {
    std::vector<int> positions;
    int out = 0;
    for (int i = 0; i < length;) {
        const int end = run_end(word, length, i);
        if (end - i > 2) {
            positions.push_back(out);
            word[out++] = word[i];
            word[out++] = word[i];
        } else {
            for (int k = i; k < end; ++k)
                word[out++] = word[k];
        }
        i = end;
    }
    word[out] = '\0';
    length = out;
    return positions;
}

std::vector<int> clean_word_two_consecutive_char(char* word, int& length) {
    std::vector<int> positions;
    for (int i = 0; i + 1 < length; ++i)
        if (is_ascii(word[i]) && word[i] == word[i + 1])
            positions.push_back(i);
    return positions;
}

bool copy_cleanword(char* word, int& length) {
    int out = 0;
    for (int i = 0; i < length;) {
        const int end = run_end(word, length, i);
        word[out++] = word[i];
        i = end;
    }
    word[out] = '\0';
    const bool changed = out != length;
    length = out;
    return changed;
}

void generate_permutations(std::set<std::string>& out, char* word, int length,
                           const std::vector<int>& positions, int start, int depth) {
    if (!out.insert(std::string(word, static_cast<std::size_t>(length))).second)
        return;
    for (int i = static_cast<int>(positions.size()) - 1; i >= start && i >= 0; --i) {
        const int at = positions[i];
        if (at < 0 || at >= length)
            continue;
        std::string shorter(word, static_cast<std::size_t>(length));
        shorter.erase(static_cast<std::size_t>(at), 1);
        // The pairs after the removed byte sit one byte further left.
        std::vector<int> rest;
        for (std::size_t j = 0; j < positions.size(); ++j)
            if (static_cast<int>(j) != i)
                rest.push_back(static_cast<int>(j) > i ? positions[j] - 1 : positions[j]);
        generate_permutations(out, shorter.data(), length - 1, rest, i, depth + 1);
    }
}

void addProperty(std::vector<std::string>& results) {
    for (auto& result : results)
        result += "+cleanup";
}

} // namespace dez::afst
